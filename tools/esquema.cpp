#include "esquema.h"

#include <QFile>

#include <QRegularExpression>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Dates are stored "YYYY-MM-DD", times "HH:MM:SS"; keys are numbered by the database.
const char *const esquema = R"sql(
PRAGMA user_version = 1;
CREATE TABLE Usuarios (
  Codigo INTEGER PRIMARY KEY AUTOINCREMENT,
  Login TEXT, Senha TEXT, Nome TEXT, Endereco TEXT, Cidade TEXT, Estado TEXT, Cep TEXT,
  Email TEXT, FoneRes TEXT, FoneCel TEXT, Aniversario TEXT, Pastinha TEXT);
CREATE UNIQUE INDEX UsuariosLogin ON Usuarios (Login);

CREATE TABLE Configuracao (
  Chave INTEGER PRIMARY KEY AUTOINCREMENT,
  Usuario INTEGER, InicioGrade TEXT, FinalGrade TEXT, Intervalos INTEGER,
  PosicaoAniversarios TEXT, SomCompromisso TEXT, ChecagemGeral INTEGER,
  VisualizarCompartilhamento TEXT);
CREATE INDEX ConfiguracaoUsuario ON Configuracao (Usuario);

CREATE TABLE Compromissos (
  Chave INTEGER PRIMARY KEY AUTOINCREMENT,
  Usuario INTEGER, Data TEXT, Hora TEXT, HoraFim TEXT, Compromisso TEXT,
  ChavePai INTEGER DEFAULT 0, Status TEXT, Compartilhado TEXT);
CREATE INDEX CompromissosUsuarioData ON Compromissos (Usuario, Data, Hora);
CREATE INDEX CompromissosUsuarioStatus ON Compromissos (Usuario, Status, Data);
CREATE INDEX CompromissosUsuarioPai ON Compromissos (Usuario, ChavePai);
CREATE INDEX CompromissosDataCompartilhado ON Compromissos (Data, Compartilhado, Usuario);
-- The reminder scan: head rows waiting for a reminder, in the order it shows them, and the
-- all-day rows. Partial, so they hold only the few rows the scan can find.
CREATE INDEX CompromissosLembretes ON Compromissos (Usuario, Status, ChavePai, Data, Hora)
  WHERE Status = '0' AND ChavePai = 0;
CREATE INDEX CompromissosDiaTodo ON Compromissos (Usuario, Data) WHERE Hora IS NULL;

CREATE TABLE Enderecos (
  Chave INTEGER PRIMARY KEY AUTOINCREMENT,
  Usuario INTEGER, Nome TEXT, Empresa TEXT, Endereco TEXT, Cidade TEXT, Estado TEXT, Cep TEXT,
  Email TEXT, FoneRes TEXT, FoneCel TEXT, FoneCom TEXT, Observacao TEXT, Aniversario TEXT,
  Compartilhado TEXT, ChaveAniversario INTEGER DEFAULT 0);
CREATE INDEX EnderecosUsuarioNome ON Enderecos (Usuario, Nome);
CREATE INDEX EnderecosCompartilhado ON Enderecos (Compartilhado, Usuario);

CREATE TABLE Financas (
  Chave INTEGER PRIMARY KEY AUTOINCREMENT,
  Usuario INTEGER, Data TEXT, Descricao TEXT, Recebido REAL, Pago REAL, Efetuado TEXT);
CREATE INDEX FinancasUsuarioData ON Financas (Usuario, Data);

CREATE TABLE Saldos (
  Usuario INTEGER, Ano INTEGER,
  M1 REAL DEFAULT 0, M2 REAL DEFAULT 0, M3 REAL DEFAULT 0, M4 REAL DEFAULT 0,
  M5 REAL DEFAULT 0, M6 REAL DEFAULT 0, M7 REAL DEFAULT 0, M8 REAL DEFAULT 0,
  M9 REAL DEFAULT 0, M10 REAL DEFAULT 0, M11 REAL DEFAULT 0, M12 REAL DEFAULT 0);
CREATE INDEX SaldosUsuarioAno ON Saldos (Usuario, Ano);

CREATE TABLE Tarefas (
  Chave INTEGER PRIMARY KEY AUTOINCREMENT,
  Usuario INTEGER, Data TEXT, DataFim TEXT, Descricao TEXT, Status TEXT, Prioridade INTEGER);
CREATE INDEX TarefasUsuarioFim ON Tarefas (Usuario, DataFim, Prioridade);

CREATE TABLE Notas (
  Chave INTEGER PRIMARY KEY AUTOINCREMENT,
  Usuario INTEGER, Notas TEXT);
CREATE INDEX NotasUsuario ON Notas (Usuario);
)sql";

// What the planner's statements call beyond PostgreSQL's own functions (Left is built in; Asc is
// a keyword there, so the engine calls it jet_asc). Dates are the stored "YYYY-MM-DD" texts;
// ucase follows ICU's case rules, so accented letters are upper-cased too.
const char *const funcoesPostgres = R"sql(
CREATE FUNCTION day(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS $$ SELECT extract(day FROM $1::date)::integer $$;
CREATE FUNCTION month(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS $$ SELECT extract(month FROM $1::date)::integer $$;
CREATE FUNCTION year(text) RETURNS integer LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS $$ SELECT extract(year FROM $1::date)::integer $$;
CREATE FUNCTION ucase(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS $$ SELECT upper($1 COLLATE "und-x-icu") $$;
-- The Windows-1252 code of the first character: its own code below 128 and from 160 to 255,
-- the code page's 128-159 for the characters it puts there, else 63 ("?").
CREATE FUNCTION jet_asc(t text) RETURNS integer LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
  c integer;
  p integer;
BEGIN
  IF t = '' THEN
    RAISE EXCEPTION 'Argumento inválido (Asc de texto vazio)';
  END IF;
  c := ascii(t);
  IF c < 128 OR c BETWEEN 160 AND 255 THEN
    RETURN c;
  END IF;
  p := array_position(ARRAY[8364, 129, 8218, 402, 8222, 8230, 8224, 8225, 710, 8240, 352, 8249, 338, 141, 381, 143,
                            144, 8216, 8217, 8220, 8221, 8226, 8211, 8212, 732, 8482, 353, 8250, 339, 157, 382, 376], c);
  RETURN coalesce(127 + p, 63);
END $$;
)sql";

// The same tables and indexes in PostgreSQL's words: keys are identity columns, texts compare
// byte by byte as in SQLite (collation "C"), amounts are doubles as SQLite's REAL.
QByteArray esquemaPostgres()
{
    QString s = QString::fromUtf8(esquema);
    s.remove(QRegularExpression(QStringLiteral(R"(PRAGMA[^;]*;)")));
    s.replace(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"), QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    s.replace(QRegularExpression(QStringLiteral(R"(\bINTEGER\b)")), QStringLiteral("BIGINT"));
    s.replace(QRegularExpression(QStringLiteral(R"(\bTEXT\b)")), QStringLiteral("TEXT COLLATE \"C\""));
    s.replace(QRegularExpression(QStringLiteral(R"(\bREAL\b)")), QStringLiteral("DOUBLE PRECISION"));
    return s.toUtf8() + funcoesPostgres;
}

QString criarBasePostgres(const QString &uri)
{
    const QByteArray u = uri.toUtf8();
    const char *chaves[] = {"dbname", "client_encoding", nullptr};
    const char *valores[] = {u.constData(), "UTF8", nullptr};
    PGconn *pg = PQconnectdbParams(chaves, valores, 1);
    QString erro;
    if (PQstatus(pg) != CONNECTION_OK) {
        erro = QString::fromUtf8(PQerrorMessage(pg)).trimmed();
    } else {
        PQsetNoticeProcessor(pg, [](void *, const char *) {}, nullptr);
        // One transaction: the tables are all made, or none when one already exists.
        PGresult *r = PQexec(pg, ("BEGIN;" + esquemaPostgres() + "COMMIT;").constData());
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            erro = qstrcmp(PQresultErrorField(r, PG_DIAG_SQLSTATE), "42P07") == 0
                       ? QStringLiteral("a base já tem as tabelas do planejador")
                       : QString::fromUtf8(PQerrorMessage(pg)).trimmed();
        PQclear(r);
    }
    PQfinish(pg);
    return erro;
}

} // namespace

bool EhEnderecoPostgres(const QString &banco)
{
    return banco.startsWith(QLatin1String("postgresql://")) || banco.startsWith(QLatin1String("postgres://"));
}

bool BaseExiste(const QString &banco)
{
    if (!EhEnderecoPostgres(banco))
        return QFile::exists(banco);
    const QByteArray u = banco.toUtf8();
    PGconn *pg = PQconnectdb(u.constData());
    PGresult *r = PQexec(pg, "SELECT to_regclass('usuarios') IS NOT NULL");
    const bool existe = PQresultStatus(r) == PGRES_TUPLES_OK && PQgetvalue(r, 0, 0)[0] == 't';
    PQclear(r);
    PQfinish(pg);
    return existe;
}

QString CriarBaseVazia(const QString &arquivo)
{
    if (EhEnderecoPostgres(arquivo))
        return criarBasePostgres(arquivo);

    // The file is made here, exclusively, before SQLite opens it (SQLite ignores its own
    // exclusive flag): of two runs racing, one creates it and the other leaves it alone.
    const QByteArray caminho = QFile::encodeName(arquivo);
    // Readable by its owner only: other users learn nothing from a file left in a shared place;
    // a group that shares one planner is given the file on purpose (chmod 660).
    const int fd = ::open(caminho.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? QStringLiteral("%1 já existe").arg(arquivo)
                               : QStringLiteral("%1: %2").arg(arquivo, QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);

    sqlite3 *db = nullptr;
    QString erro;
    if (sqlite3_open_v2(caminho.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        erro = QString::fromUtf8(db ? sqlite3_errmsg(db) : "sem memória");
    } else {
        char *msg = nullptr;
        const QByteArray sql = QByteArray("BEGIN;") + esquema + "COMMIT;";
        if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
            erro = QString::fromUtf8(msg);
            sqlite3_free(msg);
        }
    }
    sqlite3_close(db);
    // Only the file this run created is removed.
    if (!erro.isEmpty())
        ::unlink(caminho.constData());
    return erro;
}
