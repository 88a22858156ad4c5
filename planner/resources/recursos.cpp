#include "resources/recursos.h"

#include <QFile>

// Resources compiled into a static library must be registered by hand.
static void registrarRecursos()
{
    static const bool feito = [] {
        Q_INIT_RESOURCE(recursos);
        return true;
    }();
    (void)feito;
}

namespace recursos {

QPixmap Figura(const QString &nome)
{
    registrarRecursos();
    const QString caminho = QStringLiteral(":/figuras/%1.png").arg(nome);
    QPixmap figura(caminho);
    if (figura.isNull())
        qWarning("Figura ausente: %s", qPrintable(caminho));
    return figura;
}

QIcon IconePrograma()
{
    return QIcon(Figura(QStringLiteral("velora")));
}

QByteArray Som(const QString &nome)
{
    registrarRecursos();
    QFile arquivo(QStringLiteral(":/sons/%1.wav").arg(nome));
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

} // namespace recursos
