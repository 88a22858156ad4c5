#include "esquema.h"

#include <QFile>

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
CREATE INDEX CompromissosDataCompartilhado ON Compromissos (Data, Compartilhado);

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

} // namespace

QString CriarBaseVazia(const QString &arquivo)
{
    // The file is made here, exclusively, before SQLite opens it (SQLite ignores its own
    // exclusive flag): of two runs racing, one creates it and the other leaves it alone.
    const QByteArray caminho = QFile::encodeName(arquivo);
    const int fd = ::open(caminho.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
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
