#include "platform/unidade_a.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>

namespace unidade_a {

namespace {

QString usuarioDoSistema()
{
    const passwd *pw = getpwuid(geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : qEnvironmentVariable("USER");
}

} // namespace

std::optional<QString> PrimeiraMidia(const QStringList &montagens, const QString &usuario)
{
    if (usuario.isEmpty())
        return std::nullopt;
    const QString raizes[] = {QStringLiteral("/media/") + usuario + u'/', QStringLiteral("/run/media/") + usuario + u'/'};
    std::optional<QString> primeira;
    for (const QString &m : montagens) {
        const bool dentro = std::any_of(std::begin(raizes), std::end(raizes), [&](const QString &r) {
            return m.startsWith(r) && m.size() > r.size();
        });
        if (dentro && (!primeira || m < *primeira))
            primeira = m;
    }
    return primeira;
}

std::optional<QString> Pasta()
{
    const QString variavel = qEnvironmentVariable("VELORA_DRIVE_A");
    if (!variavel.isEmpty())
        return QFileInfo(variavel).isDir() ? std::optional(variavel) : std::nullopt;
    QStringList montagens;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady())
            montagens << v.rootPath();
    return PrimeiraMidia(montagens, usuarioDoSistema());
}

QStringList Listar(const QString &pasta)
{
    // Regular files only; without QDir::Hidden dot files stay out.
    QStringList nomes = QDir(pasta).entryList(QDir::Files | QDir::NoSymLinks, QDir::Unsorted);
    // By name, code unit by code unit: the same order on every system.
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

} // namespace unidade_a
