#include "platform/instancia_unica.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <memory>

namespace instancia_unica {

bool Obter()
{
    static std::unique_ptr<QLockFile> trava;
    if (trava)
        return true;
    QString pasta = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (pasta.isEmpty())
        pasta = QDir::tempPath();
    auto nova = std::make_unique<QLockFile>(QDir(pasta).filePath(QStringLiteral("velora.lock")));
    nova->setStaleLockTime(0);  // only a lock whose process has died is stale
    if (!nova->tryLock(0))
        return false;
    trava = std::move(nova);
    return true;
}

} // namespace instancia_unica
