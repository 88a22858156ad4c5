#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

// The SQL engine behind the planner's two database operations: SQLite, or PostgreSQL over libpq,
// each speaking the dialect the planner's statements are written in (day-first cdate, day/Month/Year, ucase, Left, Asc,
// "<> Null" meaning "is set", a like that folds accented letters).
namespace motor_sql {

class ErroBanco : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file stayed locked by another program past the wait; nothing was done, and the same
// operation may succeed a moment later.
class BancoOcupado : public ErroBanco {
public:
    BancoOcupado() : ErroBanco("O Arquivo de Dados está em Uso por Outro Programa! Aguarde e Tente Novamente.") {}
};

// The whole result of one SELECT, held in memory.
struct Resultado {
    QStringList colunas;
    QVector<QVector<QVariant>> linhas;
};

// One open connection to the planner's database; closed (or handed back for reuse) when destroyed.
class Conexao {
public:
    virtual ~Conexao() = default;
    virtual Resultado Consultar(const QString &sql) = 0;
    virtual int Executar(const QString &sql) = 0;
    // Key of the last row this connection inserted.
    virtual qint64 UltimaChave() = 0;
    // A transaction on this connection. A writer queues behind other writers (waiting at most the
    // busy wait) before it reads anything; a reader sees one snapshot.
    virtual void Iniciar(bool escrita) = 0;
    virtual void Confirmar() = 0;
    virtual void Desfazer() = 0;
};

// Opens banco: a PostgreSQL URI, or the path of an existing SQLite database file.
std::unique_ptr<Conexao> Abrir(const QString &banco, int esperaOcupadoMs);

// The SQLite engine over one database file.
class ConexaoSqlite : public Conexao {
public:
    ConexaoSqlite(const QString &arquivo, int esperaOcupadoMs);
    ~ConexaoSqlite() override;
    ConexaoSqlite(const ConexaoSqlite &) = delete;
    ConexaoSqlite &operator=(const ConexaoSqlite &) = delete;

    Resultado Consultar(const QString &sql) override;
    int Executar(const QString &sql) override;
    qint64 UltimaChave() override;
    void Iniciar(bool escrita) override;
    void Confirmar() override;
    void Desfazer() override;

private:
    void preparar(const QString &sql, sqlite3_stmt **st);
    sqlite3 *db = nullptr;
};

// Copies the whole database origem into the existing file destino (an empty file is an empty
// database) with SQLite's online backup, in one step and one transaction: a consistent snapshot of
// a file other processes may be writing, or a replacement they see whole or not at all (an
// interrupted one is undone from destino's journal when the file is next opened). Returns an
// SQLite result code, SQLITE_OK (0) on success, or CodigoDaFalha's number for a failed write.
int CopiarBanco(const QString &origem, const QString &destino, int esperaOcupadoMs);

// What the user is told of SQLite's failure rc on db: the system's number when the file system
// refused a write (ENOSPC for a full disk, EFBIG past a file-size limit...), else SQLite's code.
int CodigoDaFalha(sqlite3 *db, int rc);

// Whether the file is a sound database holding these tables: SQLITE_OK, SQLITE_CORRUPT when
// "PRAGMA integrity_check" finds faults, SQLITE_NOTADB when it is no database or a table is
// missing, or the code opening it failed with.
int VerificarBanco(const QString &arquivo, const QStringList &tabelas);

// Rewrites the parts of the dialect SQLite does not read itself; string literals stay untouched.
QString TraduzirDialeto(const QString &sql);
// The same for PostgreSQL: cdate of a literal becomes the stored text (an invalid one throws
// ErroBanco), "<> Null" IS NOT NULL, Asc jet_asc, like a case-insensitive ILIKE under ICU's case
// rules without an escape character unless one is given, and every Order By puts NULL first
// (ascending) as SQLite does. day, Month, Year, ucase and jet_asc are functions the schema tool
// creates; Left is PostgreSQL's own.
QString TraduzirDialetoPostgres(const QString &sql);

// Reads a day-first date ("D/M/YYYY") or a time ("H:NN" or "HH:NN:SS") the way the database does,
// giving the stored form "YYYY-MM-DD" or "HH:MM:SS"; the stored forms read as themselves.
// Returns a null string when the text is neither.
QString LerDataHora(const QString &texto);

// Windows-1252 code of a character (63, "?", when it has none) and the character of a code.
int CodigoAnsi(QChar c);
QChar CaractereAnsi(int codigo);

} // namespace motor_sql
