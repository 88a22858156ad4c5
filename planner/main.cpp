#include "core/frmLogon.h"
#include "core/modMsgBox.h"
#include "core/programa.h"
#include "platform/toolkit.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velora"));
    app.setQuitOnLastWindowClosed(false);
    programa::DefinirArgumentos(app.arguments().mid(1));
    tk::DefinirTratadorErro([](const QString &erro) {
        Mensagem(QStringLiteral("Não foi possível concluir a operação: ") + erro, 1, 3);
    });

    if (!IniciarPrograma())
        return 0;
    return app.exec();
}
