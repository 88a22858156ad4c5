#include "platform/motor_postgres.h"

#include <QRegularExpression>
#include <QScopeGuard>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <mutex>

namespace motor_sql {

namespace {

// The advisory lock every writing transaction holds: writers queue as on an SQLite file.
constexpr const char *travaEscritor = "SELECT pg_advisory_lock(1986357359)";
constexpr const char *soltaEscritor = "SELECT pg_advisory_unlock(1986357359)";
// How often a statement that lost a deadlock or a serialization check is run again.
constexpr int tentativas = 3;

// The connection the last statement left idle, taken by the next one to the same database.
struct Ociosa {
    QString uri;
    PGconn *pg = nullptr;
    int espera = -1;  // the busy wait it was set to
};
std::mutex travaOciosa;
Ociosa ociosa;

QString semSenha(const QString &uri)
{
    static const QRegularExpression senha(QStringLiteral(R"(^(\w+://[^:/@]*):[^@/]*@)"));
    return QString(uri).replace(senha, QStringLiteral("\\1:***@"));
}

PGconn *conectar(const QString &uri)
{
    const QByteArray u = uri.toUtf8();
    const char *chaves[] = {"dbname", "client_encoding", "application_name", "connect_timeout", nullptr};
    const char *valores[] = {u.constData(), "UTF8", "velora", "10", nullptr};
    PGconn *pg = PQconnectdbParams(chaves, valores, 1);
    if (PQstatus(pg) != CONNECTION_OK) {
        const QString erro = QString::fromUtf8(PQerrorMessage(pg)).trimmed();
        PQfinish(pg);
        throw ErroBanco(QStringLiteral("Não foi possível abrir %1: %2").arg(semSenha(uri), erro).toStdString());
    }
    // Notices (a ROLLBACK with nothing to undo) are nobody's business.
    PQsetNoticeProcessor(pg, [](void *, const char *) {}, nullptr);
    return pg;
}

QVariant valorDe(const PGresult *r, int linha, int coluna)
{
    if (PQgetisnull(r, linha, coluna))
        return QVariant();
    const char *v = PQgetvalue(r, linha, coluna);
    switch (PQftype(r, coluna)) {
    case 16:  // bool, read as SQLite gives it
        return QVariant(qlonglong(v[0] == 't' ? 1 : 0));
    case 20:  // int8, int2, int4, oid
    case 21:
    case 23:
    case 26:
        return QVariant(QByteArray(v).toLongLong());
    case 700:  // float4, float8, numeric
    case 701:
    case 1700:
        return QVariant(QByteArray(v).toDouble());
    default:
        return QVariant(QString::fromUtf8(v, PQgetlength(r, linha, coluna)));
    }
}

// One value in COPY's text format.
void anexarCopia(QByteArray &bloco, const unsigned char *v, int n)
{
    if (!v) {
        bloco += "\\N";
        return;
    }
    for (int i = 0; i < n; ++i) {
        switch (v[i]) {
        case '\\': bloco += "\\\\"; break;
        case '\t': bloco += "\\t"; break;
        case '\n': bloco += "\\n"; break;
        case '\r': bloco += "\\r"; break;
        default: bloco += char(v[i]);
        }
    }
}

// A failure of the whole-database copies, with the SQLite result code it is reported as.
struct Falha {
    int codigo;
};

struct Sqlite {
    sqlite3 *db = nullptr;
    Sqlite(const QString &arquivo, int flags)
    {
        if (sqlite3_open_v2(arquivo.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK)
            throw Falha{sqlite3_errcode(db) & 0xff};
    }
    ~Sqlite() { sqlite3_close_v2(db); }
    void Executar(const QString &sql)
    {
        if (const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); rc != SQLITE_OK)
            throw Falha{CodigoDaFalha(db, rc)};
    }
};

struct Comando {
    sqlite3_stmt *st = nullptr;
    Comando(sqlite3 *db, const QString &sql)
    {
        if (const int rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr); rc != SQLITE_OK)
            throw Falha{rc == SQLITE_ERROR ? SQLITE_NOTADB : rc & 0xff};  // a missing table or column
    }
    ~Comando() { sqlite3_finalize(st); }
};

// The identity column of a table, "" when it has none.
QString colunaChave(ConexaoPostgres &pg, const QString &tabela)
{
    const Resultado r = pg.Consultar(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass('") +
                                     tabela.toLower() + QStringLiteral("') AND attidentity <> ''"));
    return r.linhas.isEmpty() ? QString() : r.linhas.first().first().toString();
}

QString sequencia(const QString &tabela, const QString &chave)
{
    return QStringLiteral("pg_get_serial_sequence('") + tabela.toLower() + QStringLiteral("','") + chave + QStringLiteral("')");
}

template <typename F>
int comoCodigo(F &&f)
{
    try {
        f();
        return SQLITE_OK;
    } catch (const Falha &falha) {
        return falha.codigo;
    } catch (const BancoOcupado &) {
        return SQLITE_BUSY;
    } catch (const ErroBanco &erro) {
        qWarning("%s", erro.what());
        return SQLITE_ERROR;
    }
}

} // namespace

struct ConexaoPostgres::Resposta {
    PGresult *r;
    explicit Resposta(PGresult *r) : r(r) {}
    Resposta(Resposta &&o) noexcept : r(std::exchange(o.r, nullptr)) {}
    ~Resposta() { PQclear(r); }
};

ConexaoPostgres::ConexaoPostgres(const QString &uri, int esperaOcupadoMs) : uri(uri), espera(qMax(1, esperaOcupadoMs))
{
    int esperaDefinida = -1;
    {
        const std::lock_guard trava(travaOciosa);
        if (ociosa.pg && ociosa.uri == uri && PQstatus(ociosa.pg) == CONNECTION_OK) {
            pg = std::exchange(ociosa.pg, nullptr);
            esperaDefinida = ociosa.espera;
        }
    }
    if (!pg)
        pg = conectar(uri);
    // 0 would mean no limit at all; the shortest wait is a millisecond.
    if (esperaDefinida != espera)
        rodar(QStringLiteral("SET lock_timeout = %1").arg(espera), false);
}

ConexaoPostgres::~ConexaoPostgres()
{
    if (PQstatus(pg) != CONNECTION_OK || PQtransactionStatus(pg) != PQTRANS_IDLE || travado) {
        PQfinish(pg);
        return;
    }
    const std::lock_guard trava(travaOciosa);
    PQfinish(ociosa.pg);
    ociosa = {uri, pg, espera};
}

ConexaoPostgres::Resposta ConexaoPostgres::rodar(const QString &sql, bool traduzir)
{
    const QByteArray texto = (traduzir ? TraduzirDialetoPostgres(sql) : sql).toUtf8();
    for (int tentativa = 1;; ++tentativa) {
        Resposta r(PQexec(pg, texto.constData()));
        const ExecStatusType estado = PQresultStatus(r.r);
        if (estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK)
            return r;
        const QByteArray codigo = PQresultErrorField(r.r, PG_DIAG_SQLSTATE);
        const bool conflito = codigo == "40001" || codigo == "40P01";
        if (conflito && !emTransacao && tentativa < tentativas)
            continue;
        if (conflito || codigo == "55P03")  // lost to another writer, or waited past the busy wait
            throw BancoOcupado();
        throw ErroBanco(QString::fromUtf8(PQerrorMessage(pg)).trimmed().toStdString());
    }
}

Resultado ConexaoPostgres::Consultar(const QString &sql)
{
    const Resposta resposta = rodar(sql, true);
    const PGresult *r = resposta.r;
    Resultado res;
    const int colunas = PQnfields(r), linhas = PQntuples(r);
    for (int c = 0; c < colunas; ++c)
        res.colunas << QString::fromUtf8(PQfname(r, c));
    res.linhas.reserve(linhas);
    for (int l = 0; l < linhas; ++l) {
        QVector<QVariant> linha(colunas);
        for (int c = 0; c < colunas; ++c)
            linha[c] = valorDe(r, l, c);
        res.linhas.push_back(std::move(linha));
    }
    return res;
}

int ConexaoPostgres::Executar(const QString &sql)
{
    return QByteArray(PQcmdTuples(rodar(sql, true).r)).toInt();
}

qint64 ConexaoPostgres::UltimaChave()
{
    return QByteArray(PQgetvalue(rodar(QStringLiteral("SELECT lastval()"), false).r, 0, 0)).toLongLong();
}

void ConexaoPostgres::Iniciar(bool escrita)
{
    if (escrita) {
        rodar(QString::fromLatin1(travaEscritor), false);
        travado = true;
    }
    auto solta = qScopeGuard([this] { soltarTrava(); });
    rodar(escrita ? QStringLiteral("BEGIN ISOLATION LEVEL SERIALIZABLE") : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ"), false);
    solta.dismiss();
    emTransacao = true;
}

void ConexaoPostgres::Confirmar()
{
    // A COMMIT that fails undoes the transaction: it is reported, never run again.
    const auto fim = qScopeGuard([this] {
        emTransacao = false;
        soltarTrava();
    });
    rodar(QStringLiteral("COMMIT"), false);
}

void ConexaoPostgres::Desfazer()
{
    const auto fim = qScopeGuard([this] {
        emTransacao = false;
        soltarTrava();
    });
    rodar(QStringLiteral("ROLLBACK"), false);
}

void ConexaoPostgres::soltarTrava()
{
    if (travado)
        PQclear(PQexec(pg, soltaEscritor));
    travado = false;
}

void ConexaoPostgres::CopiarPara(const QString &tabela, const QStringList &colunas, const std::function<bool(QByteArray &)> &bloco)
{
    const QByteArray copia = (QStringLiteral("COPY ") + tabela + QStringLiteral(" (") + colunas.join(u',') + QStringLiteral(") FROM STDIN")).toUtf8();
    if (Resposta inicio(PQexec(pg, copia.constData())); PQresultStatus(inicio.r) != PGRES_COPY_IN)
        throw ErroBanco(QString::fromUtf8(PQerrorMessage(pg)).trimmed().toStdString());
    QByteArray dados;
    bool enviado = true;
    while (enviado && bloco(dados)) {
        enviado = PQputCopyData(pg, dados.constData(), int(dados.size())) == 1;
        dados.clear();
    }
    PQputCopyEnd(pg, enviado ? nullptr : "envio interrompido");
    Resposta r(PQgetResult(pg));
    while (PGresult *resto = PQgetResult(pg))
        PQclear(resto);
    if (PQresultStatus(r.r) != PGRES_COMMAND_OK)
        throw ErroBanco(QString::fromUtf8(PQerrorMessage(pg)).trimmed().toStdString());
}

int ExportarPostgres(const QString &uri, const QString &arquivo, const QStringList &tabelas, int esperaOcupadoMs)
{
    return comoCodigo([&] {
        ConexaoPostgres de(uri, esperaOcupadoMs);
        de.Iniciar(false);
        const auto fim = qScopeGuard([&] {
            try {
                de.Desfazer();
            } catch (const ErroBanco &) {
                // The connection is dropped below and the snapshot with it.
            }
        });
        Sqlite para(arquivo, SQLITE_OPEN_READWRITE);
        para.Executar(QStringLiteral("BEGIN"));
        for (const QString &tabela : tabelas) {
            de.Executar(QStringLiteral("DECLARE linhas NO SCROLL CURSOR FOR SELECT * FROM ") + tabela);
            std::unique_ptr<Comando> inserir;
            for (;;) {
                const Resultado r = de.Consultar(QStringLiteral("FETCH 5000 FROM linhas"));
                if (r.linhas.isEmpty())
                    break;
                if (!inserir)
                    inserir = std::make_unique<Comando>(para.db, QStringLiteral("INSERT INTO ") + tabela + QStringLiteral(" (") +
                                                                    r.colunas.join(u',') + QStringLiteral(") VALUES (") +
                                                                    QStringList(r.colunas.size(), QStringLiteral("?")).join(u',') +
                                                                    QStringLiteral(")"));
                for (const QVector<QVariant> &linha : r.linhas) {
                    sqlite3_reset(inserir->st);
                    for (int c = 0; c < linha.size(); ++c) {
                        const QVariant &v = linha.at(c);
                        if (v.isNull())
                            sqlite3_bind_null(inserir->st, c + 1);
                        else if (v.typeId() == QMetaType::LongLong)
                            sqlite3_bind_int64(inserir->st, c + 1, v.toLongLong());
                        else if (v.typeId() == QMetaType::Double)
                            sqlite3_bind_double(inserir->st, c + 1, v.toDouble());
                        else
                            sqlite3_bind_text(inserir->st, c + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
                    }
                    if (const int rc = sqlite3_step(inserir->st); rc != SQLITE_DONE)
                        throw Falha{CodigoDaFalha(para.db, rc)};
                }
            }
            de.Executar(QStringLiteral("CLOSE linhas"));
            // The key counter goes along, so a key once given is never given again.
            if (const QString chave = colunaChave(de, tabela); !chave.isEmpty()) {
                const Resultado s = de.Consultar(QStringLiteral("SELECT coalesce(pg_sequence_last_value(") + sequencia(tabela, chave) +
                                                 QStringLiteral("::regclass), 0)"));
                para.Executar(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(tabela));
                para.Executar(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT '%1', max(%2, coalesce(max(%3), 0)) FROM %1")
                                  .arg(tabela, s.linhas.first().first().toString(), chave));
            }
        }
        para.Executar(QStringLiteral("COMMIT"));
    });
}

int ImportarPostgres(const QString &arquivo, const QString &uri, const QStringList &tabelas, int esperaOcupadoMs)
{
    return comoCodigo([&] {
        Sqlite de(arquivo, SQLITE_OPEN_READONLY);
        ConexaoPostgres para(uri, esperaOcupadoMs);
        para.Iniciar(true);
        auto desfazer = qScopeGuard([&] {
            try {
                para.Desfazer();
            } catch (const ErroBanco &) {
                // The connection is dropped below and the transaction with it.
            }
        });
        const QString todas = tabelas.join(u',');
        para.Executar(QStringLiteral("LOCK TABLE ") + todas + QStringLiteral(" IN ACCESS EXCLUSIVE MODE"));
        para.Executar(QStringLiteral("TRUNCATE ") + todas);
        for (const QString &tabela : tabelas) {
            const QStringList colunas = para.Consultar(QStringLiteral("SELECT * FROM ") + tabela + QStringLiteral(" LIMIT 0")).colunas;
            Comando ler(de.db, QStringLiteral("SELECT ") + colunas.join(u',') + QStringLiteral(" FROM ") + tabela);
            int rc = SQLITE_ROW;
            para.CopiarPara(tabela, colunas, [&](QByteArray &bloco) {
                // A finished statement is not stepped again: SQLite would start it over.
                while (rc == SQLITE_ROW && bloco.size() < 256 * 1024 && (rc = sqlite3_step(ler.st)) == SQLITE_ROW) {
                    for (int c = 0; c < colunas.size(); ++c) {
                        if (c > 0)
                            bloco += '\t';
                        anexarCopia(bloco, sqlite3_column_text(ler.st, c), sqlite3_column_bytes(ler.st, c));
                    }
                    bloco += '\n';
                }
                return !bloco.isEmpty();
            });
            if (rc != SQLITE_DONE)
                throw Falha{rc & 0xff};
            if (const QString chave = colunaChave(para, tabela); !chave.isEmpty()) {
                qint64 contador = 0;
                sqlite3_stmt *st = nullptr;
                if (sqlite3_prepare_v2(de.db, "SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE", -1, &st, nullptr) == SQLITE_OK) {
                    const QByteArray nome = tabela.toUtf8();
                    sqlite3_bind_text(st, 1, nome.constData(), -1, SQLITE_TRANSIENT);
                    if (sqlite3_step(st) == SQLITE_ROW)
                        contador = sqlite3_column_int64(st, 0);
                }
                sqlite3_finalize(st);
                // Never below what the counter already gave: setval outlives a transaction that
                // fails afterwards, and another planner may still hold a key given before.
                const QString seq = sequencia(tabela, chave);
                const QString maior = QStringLiteral("greatest(coalesce(max(%1), 0), %2, coalesce(pg_sequence_last_value(%3::regclass), 0))")
                                          .arg(chave, QString::number(contador), seq);
                para.Consultar(QStringLiteral("SELECT setval(%1, greatest(%2, 1), %2 > 0) FROM %3").arg(seq, maior, tabela));
            }
        }
        para.Confirmar();
        desfazer.dismiss();
    });
}

} // namespace motor_sql
