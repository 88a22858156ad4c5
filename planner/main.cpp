#include "core/frmAgenda.h"
#include "core/frmLogon.h"
#include "core/modMsgBox.h"
#include "core/programa.h"
#include "dados/comandos_dados.h"
#include "platform/toolkit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // --help and --version answer before any window system is needed.
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    if (const QString texto = programa::TextoDaOpcao(argumentos); !texto.isEmpty()) {
        std::fputs(texto.toLocal8Bit().constData(), stdout);
        return 0;
    }

    // The data commands run without a window.
    if (ComandoDeDados(argumentos)) {
        QCoreApplication app(argc, argv);
        return ExecutarComandoDeDados(argumentos, stdin, stdout, stderr);
    }

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velora"));
    app.setDesktopFileName(QStringLiteral("example.velora.Velora"));
    app.setQuitOnLastWindowClosed(false);
    programa::DefinirArgumentos(app.arguments().mid(1));
    tk::DefinirTratadorErro([](const QString &erro) {
        Mensagem(QStringLiteral("Não foi possível concluir a operação: ") + erro, 1, 3);
    });

    // The main window is made first: the sign-on and the tray reach it as the window they serve.
    frmAgenda();
    if (!IniciarPrograma())
        return 0;
    return app.exec();
}
