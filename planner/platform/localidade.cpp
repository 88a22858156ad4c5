#include "platform/localidade.h"

#include <optional>

namespace localidade {

namespace {
std::optional<QLocale> definida;
}

QLocale Atual()
{
    if (definida)
        return *definida;
    const QLocale sistema;
    if (sistema.language() == QLocale::C)
        return QLocale(QLocale::Portuguese, QLocale::Brazil);
    return sistema;
}

void Definir(const QLocale &locale)
{
    definida = locale;
}

QChar SeparadorDecimal()
{
    const QString texto = Atual().toString(0.5);
    return texto.size() > 1 ? texto.at(1) : QChar(u'.');
}

QString DataLonga(const QDate &data)
{
    return Atual().toString(data, QLocale::LongFormat);
}

} // namespace localidade
