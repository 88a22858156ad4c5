#pragma once

#include "platform/motor_sql.h"
#include "platform/pastas.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QTime>
#include <QVariant>

#include <memory>

using motor_sql::ErroBanco;

// One field of a record set: a value that may be NULL.
class Campo {
public:
    explicit Campo(QVariant valor = {}) : valor(std::move(valor)) {}
    bool IsNull() const { return valor.isNull(); }
    QString Texto() const;      // "" for NULL
    qint64 Inteiro() const;     // 0 for NULL
    double Numero() const;      // 0 for NULL
    QDate Data() const;         // invalid for NULL or a value that is no date
    QTime Hora() const;         // invalid for NULL or a value that is no time
    const QVariant &Valor() const { return valor; }

private:
    QVariant valor;
};

// The disconnected, read-only result of one SELECT, read by column name.
// (EOF is a C library macro, so the end test is called Eof.)
class RecordSet {
public:
    RecordSet() = default;
    explicit RecordSet(motor_sql::Resultado resultado);

    bool Eof() const;
    void MoveNext();
    int RecordCount() const;
    int Campos() const;  // the number of columns
    Campo operator()(const QString &coluna) const;  // the current row's field, by name
    Campo Indice(int coluna) const;                 // the current row's field, by position
    int Posicao(const QString &coluna) const;       // a column's position, for reading many rows
    void Close();

private:
    std::shared_ptr<const motor_sql::Resultado> dados;
    QHash<QString, int> colunas;  // each name as returned and in lower case: names ignore case
    int atual = 0;
};

// Runs one SELECT on the planner's database file.
RecordSet Consultar(const QString &sql);
// Runs one statement and returns the number of rows it affected.
int Executar(const QString &sql);

// Runs one INSERT and returns the key the database gave the new row (0 when none was inserted).
qint64 ExecutarInsercao(const QString &sql);

// The keystroke filter of every text box: the key to keep, or 0 to drop it.
int FiltrarTecla(int tecla, bool apenasNumeros);

// A text value ready to stand between single quotes in a statement: apostrophes doubled, so a
// pasted apostrophe is stored as typed and never ends the literal.
QString SqlTexto(const QString &texto);
// A text that a like pattern matches as it stands: "%", "_" and "\" escaped with "\" (the
// statement ends the pattern with escape '\'), apostrophes doubled.
QString SqlTextoLike(const QString &texto);

// Statements that must stand together: while a Transacao lives, Consultar and Executar use its
// connection; it is undone unless Confirmar is called. A Leitura reads several statements from
// one snapshot over one connection; inside another transaction it simply joins it, and so does
// a write inside a write (an import storing many rows through the rules that each open one).
class Transacao {
public:
    enum Modo { Escrita, Leitura };
    explicit Transacao(Modo modo = Escrita);
    ~Transacao();
    Transacao(const Transacao &) = delete;
    Transacao &operator=(const Transacao &) = delete;
    void Confirmar();

private:
    std::unique_ptr<motor_sql::Conexao> conexao;  // null when joined to an open transaction
    bool confirmada = false;
};

namespace modDb {
// The folder of the velora executable.
QString PastaPrograma();
// The folder of dadosu.lst, chosen once (pastas::EscolherPastaDados) unless given.
QString PastaDados();
QString ArquivoDados();
void DefinirPastaDados(const QString &pasta, pastas::OrigemDados origem = pastas::OrigemDados::Variavel);  // tests
// The database the planner uses: the PostgreSQL URI in VELORA_BANCO when it holds one (read
// once), else the file dadosu.lst.
QString Banco();
bool UsaPostgres();
void DefinirBanco(const QString &uri);  // tests: a URI, or "" for the file
// Where backup and restore keep their temporary files: beside the file, or the system's
// temporary folder for a PostgreSQL database.
QString PastaTemporaria();
// Readies the data folder before the start-up probe: "" or the message naming the folder.
QString PrepararPastaDados();
// How long a statement waits for a file another process holds locked.
void DefinirEsperaOcupado(int ms);
// The whole database: a consistent copy into the existing SQLite file destino, and its
// replacement by the SQLite database in origem, in one transaction. For PostgreSQL, destino
// holds the empty schema and the tables named are what is copied. Both return an SQLite result
// code (0 on success).
int CopiarBase(const QString &destino, const QStringList &tabelas);
int SubstituirBase(const QString &origem, const QStringList &tabelas);
} // namespace modDb
