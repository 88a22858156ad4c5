#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The backup file: the whole database file as one zlib stream (made at level 9), then a 17-byte
// trailer: five NUL bytes, the uncompressed size in ASCII decimal digits filled with NUL bytes to
// eleven bytes, and a copy of the last of those eleven.
//
// The operations return true on success with erro 0; otherwise erro tells why: 53 the source
// file is missing, -1 the file ends in no valid trailer, a zlib code (-3 damaged stream or one
// that does not yield exactly the recorded size, -4 a size beyond what a restore accepts, -5 a
// stream that yields more than the recorded size), or the errno of the file operation that
// failed (27 for a file too large to back up, or one past the process's file-size limit; 28 for
// a full disk). A source that is a link, a folder (21) or no ordinary file (22) is not read.

inline const QString ArquivoBackup = QStringLiteral("Velora.Bck");
constexpr int NivelBackup = 9;
// The largest database a backup records and a restore accepts; a trailer is held against it
// before anything is allocated or written.
constexpr qint64 TamanhoMaximoBackup = qint64(8) << 30;

// Empty dados gives an empty saida, without stream or trailer.
bool CompactarBytes(const QByteArray &dados, QByteArray &saida, int nivel, qint32 &erro, bool anexarTamanho);
// tamanhoOriginal -1 reads the size from the trailer; the stream must end exactly where the
// trailer begins and yield exactly that many bytes.
bool DescompactarBytes(const QByteArray &dados, QByteArray &saida, qint32 &erro, qint64 tamanhoOriginal);

// The same for files, streamed in blocks, so memory does not grow with the file. destino is
// written through a temporary file in its folder, flushed and renamed over it: a failure leaves
// an existing destino as it was. Without sobrescrever an existing destino is a failure.
bool CompactarArquivo(const QString &origem, const QString &destino, int nivel, qint32 &erro, bool sobrescrever);
bool DescompactarArquivo(const QString &origem, const QString &destino, qint32 &erro, bool sobrescrever);

// The planner's tables: a restored database must hold every one.
extern const QStringList TabelasDoPlanejador;

// Writes the backup of the database to destino: a consistent snapshot (taken beside the
// database with SQLite's backup, so a writer in another process is not caught half-way),
// compressed. Returns erro, 0 when done; the snapshot's failures give SQLite result codes.
qint32 FazerBackup(const QString &destino);

// Restores the database from a backup file: decompressed beside the database, checked (11 when
// "PRAGMA integrity_check" fails, 26 when it is no planner database), and only then written
// into the live database in one transaction. Returns erro, 0 when done; refused or interrupted,
// the live file stays as it was.
qint32 RestaurarBackup(const QString &arquivo);
