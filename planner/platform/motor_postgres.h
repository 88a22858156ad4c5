#pragma once

#include "platform/motor_sql.h"

#include <functional>

typedef struct pg_conn PGconn;

// The PostgreSQL engine over libpq. The database is named by a URI (postgresql://…) and made by
// the schema tool; dates and times are stored as the same texts as in SQLite.
namespace motor_sql {

class ConexaoPostgres : public Conexao {
public:
    // Reuses the connection a previous one to the same URI left idle, so a statement does not
    // pay for a new server process.
    ConexaoPostgres(const QString &uri, int esperaOcupadoMs);
    ~ConexaoPostgres() override;
    ConexaoPostgres(const ConexaoPostgres &) = delete;
    ConexaoPostgres &operator=(const ConexaoPostgres &) = delete;

    Resultado Consultar(const QString &sql) override;
    int Executar(const QString &sql) override;
    qint64 UltimaChave() override;
    // A writer takes the planner's writer lock (waiting at most the busy wait) before a
    // serializable transaction starts, so writers queue as they do on an SQLite file; a reader
    // reads one snapshot.
    void Iniciar(bool escrita) override;
    void Confirmar() override;
    void Desfazer() override;
    // COPY into tabela's colunas: bloco fills its argument with lines of COPY's text format and
    // returns false when there are no more.
    void CopiarPara(const QString &tabela, const QStringList &colunas, const std::function<bool(QByteArray &)> &bloco);

private:
    struct Resposta;
    // Runs translated text; a statement outside a transaction that lost a deadlock or a
    // serialization check is run again, a few times, since nothing of it was applied.
    Resposta rodar(const QString &sql, bool traduzir);
    void soltarTrava();

    QString uri;
    int espera;
    PGconn *pg = nullptr;
    bool emTransacao = false;
    bool travado = false;
};

// The planner's tables copied from the PostgreSQL database into the SQLite file arquivo, which
// holds the planner's empty schema: one snapshot, keys and key counters as they are. Returns an
// SQLite result code, 0 on success.
int ExportarPostgres(const QString &uri, const QString &arquivo, const QStringList &tabelas, int esperaOcupadoMs);

// The planner's tables of the PostgreSQL database replaced by those of the SQLite file arquivo
// in one transaction, key counters carried over but never lowered (no key is given twice); on any
// failure the rows stay as they were. Returns an SQLite result code, 0 on success.
int ImportarPostgres(const QString &arquivo, const QString &uri, const QStringList &tabelas, int esperaOcupadoMs);

} // namespace motor_sql
