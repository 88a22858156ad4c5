#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The folder that stands for drive A:. VELORA_DRIVE_A names it when set; otherwise it is the
// first (by path) medium mounted for the user under /media/<user> or /run/media/<user>, where the
// desktop mounts removable media. No folder means no medium in the drive.
namespace unidade_a {

std::optional<QString> Pasta();

// Of the mount points, the first by path lying inside /media/<usuario> or /run/media/<usuario>.
std::optional<QString> PrimeiraMidia(const QStringList &montagens, const QString &usuario);

// The ordinary, non-hidden files of the medium's folder (no folders, links or dot files),
// ordered by name. A folder that cannot be read lists as empty.
QStringList Listar(const QString &pasta);

} // namespace unidade_a
