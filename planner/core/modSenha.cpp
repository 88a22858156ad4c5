#include "core/modSenha.h"

#include "platform/motor_sql.h"

#include <sodium.h>

#include <stdexcept>

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

namespace {

void iniciarSodium()
{
    static const bool iniciado = sodium_init() >= 0;
    if (!iniciado)
        throw std::runtime_error("libsodium não pôde ser iniciada");
}

QByteArray hash(const QByteArray &senha)
{
    iniciarSodium();
    char saida[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(saida, senha.constData(), quint64(senha.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("sem memória para guardar a senha");
    return QByteArray(saida);
}

// A hash of a random text, made once with the same limits as the stored ones, to verify against
// when there is no hash to verify: that costs the same as verifying a real one. Every check asks
// for it first, so the run's first check costs the same on every path too.
const QByteArray &hashFicticio()
{
    static const QByteArray ficticio = [] {
        iniciarSodium();
        unsigned char aleatorio[32];
        randombytes_buf(aleatorio, sizeof aleatorio);
        return hash(QByteArray(reinterpret_cast<const char *>(aleatorio), sizeof aleatorio).toBase64());
    }();
    return ficticio;
}

bool verificar(const QByteArray &guardada, const QString &digitada)
{
    const QByteArray senha = digitada.toUtf8();
    return crypto_pwhash_str_verify(guardada.constData(), senha.constData(), quint64(senha.size())) == 0;
}

} // namespace

QString GuardarSenha(const QString &senha)
{
    return senha.isEmpty() ? QString() : QString::fromLatin1(hash(senha.toUtf8()));
}

bool SenhaEhHash(const QString &guardada)
{
    return guardada.startsWith(QLatin1String(crypto_pwhash_STRPREFIX));
}

bool SenhaConfere(const QString &digitada, const QString &guardada)
{
    const QByteArray &ficticio = hashFicticio();
    if (SenhaEhHash(guardada))
        return verificar(guardada.toLatin1(), digitada);
    verificar(ficticio, digitada);
    return digitada == DecodificarSenha(guardada);
}

void SenhaSemUsuario(const QString &digitada)
{
    verificar(hashFicticio(), digitada);
}
