#include "core/modSenha.h"

#include "platform/motor_sql.h"

using motor_sql::CaractereAnsi;
using motor_sql::CodigoAnsi;

QString CodificarSenha(const QString &senha)
{
    QString guardada;
    for (const QChar c : senha) {
        const int codigo = c.unicode() < 0x80 ? c.unicode() : 0x100;
        if (codigo < 127) {
            guardada += CaractereAnsi(codigo * 2);
        } else {
            // Kept as typed, so letters outside the code page survive too.
            guardada += QChar(u'\x01');
            guardada += c;
        }
    }
    return guardada;
}

QString DecodificarSenha(const QString &guardada)
{
    QString senha;
    for (qsizetype i = 0; i < guardada.size(); ++i) {
        const QChar c = guardada.at(i);
        if (c == u'\x01') {
            if (++i < guardada.size())
                senha += guardada.at(i);
        } else {
            senha += QChar(char16_t(CodigoAnsi(c) / 2));
        }
    }
    return senha;
}
