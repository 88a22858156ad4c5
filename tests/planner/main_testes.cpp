// Runs the planner's tests inside one QApplication (offscreen unless told otherwise).

#include "core/frmAgenda.h"
#include "platform/modal.h"
#include "platform/toolkit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A runtime folder of its own, so the single-copy lock of one test never meets another's.
    QTemporaryDir execucao;
    QFile::setPermissions(execucao.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", execucao.path().toUtf8());
    // And a configuration folder: saving the profile writes the session's autostart entry there.
    QTemporaryDir configuracao;
    qputenv("XDG_CONFIG_HOME", configuracao.path().toUtf8());

    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    // Made first, as the program makes it: the sign-on and the tray reach it as the window they serve.
    frmAgenda();

    modal::DefinirSemRoteiro([](QWidget &janela) {
        ADD_FAILURE() << "janela modal sem resposta preparada: " << janela.windowTitle().toStdString();
    });
    tk::DefinirTratadorErro([](const QString &erro) {
        ADD_FAILURE() << "operação interrompida por erro: " << erro.toStdString();
    });
    return RUN_ALL_TESTS();
}
