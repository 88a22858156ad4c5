#include "core/modSenha.h"

#include "platform/motor_sql.h"

using motor_sql::CaractereAnsi;
using motor_sql::CodigoAnsi;

// Works on whole characters (code points), so a character outside the Basic Multilingual Plane
// is kept whole after its code 1 instead of being split into two halves that cannot be stored.
QString CodificarSenha(const QString &senha)
{
    QString guardada;
    for (const char32_t c : senha.toUcs4()) {
        if (c < 127) {
            guardada += CaractereAnsi(int(c) * 2);
        } else {
            // Kept as typed, so letters outside the code page survive too.
            guardada += QChar(u'\x01');
            guardada += QString::fromUcs4(&c, 1);
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
            if (++i < guardada.size()) {
                senha += guardada.at(i);
                if (guardada.at(i).isHighSurrogate() && i + 1 < guardada.size() && guardada.at(i + 1).isLowSurrogate())
                    senha += guardada.at(++i);
            }
        } else {
            senha += QChar(char16_t(CodigoAnsi(c) / 2));
        }
    }
    return senha;
}

QString SenhaDigitada(const QString &texto)
{
    return texto.trimmed();
}
