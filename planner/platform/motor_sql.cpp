#include "platform/motor_sql.h"

#include "esquema.h"
#include "platform/motor_postgres.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <cerrno>
#include <optional>
#include <string>

#include <sqlite3.h>

namespace motor_sql {

namespace {

// Codes 0x80-0x9F of Windows-1252; the five unassigned codes map to the C1 control of the same
// number, as the system's own conversion does.
constexpr char16_t faixa80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString textoDe(sqlite3_value *v)
{
    auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

void devolverTexto(sqlite3_context *ctx, const QString &s)
{
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

bool algumNulo(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

void fnCdate(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (algumNulo(argc, argv))
        return sqlite3_result_null(ctx);
    const QString lido = LerDataHora(textoDe(argv[0]));
    if (lido.isNull())
        return sqlite3_result_error(ctx, "Tipo de dados incompatível na expressão (cdate)", -1);
    devolverTexto(ctx, lido);
}

// day, Month, Year: parts of a stored date.
template <int Parte>
void fnParteData(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (algumNulo(argc, argv))
        return sqlite3_result_null(ctx);
    const QDate d = QDate::fromString(LerDataHora(textoDe(argv[0])).left(10), Qt::ISODate);
    if (!d.isValid())
        return sqlite3_result_error(ctx, "Tipo de dados incompatível na expressão (data)", -1);
    sqlite3_result_int(ctx, Parte == 0 ? d.day() : Parte == 1 ? d.month() : d.year());
}

void fnUcase(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (algumNulo(argc, argv))
        return sqlite3_result_null(ctx);
    devolverTexto(ctx, textoDe(argv[0]).toUpper());
}

void fnLeft(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (algumNulo(argc, argv))
        return sqlite3_result_null(ctx);
    devolverTexto(ctx, textoDe(argv[0]).left(qMax(0, sqlite3_value_int(argv[1]))));
}

void fnAsc(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (algumNulo(argc, argv))
        return sqlite3_result_null(ctx);
    const QString s = textoDe(argv[0]);
    if (s.isEmpty())
        return sqlite3_result_error(ctx, "Argumento inválido (Asc de texto vazio)", -1);
    sqlite3_result_int(ctx, CodigoAnsi(s.at(0)));
}

// like with "%" and "_" (and an optional escape character) over whole characters (code points)
// already case-folded, so the case of accented letters is ignored too. The pattern is read into
// tokens first; the match keeps only the last "%" to return to, so it takes at most
// pattern × text steps whatever the pattern.
enum class Peca { Literal, Um, Qualquer };
struct Token {
    Peca peca;
    char32_t c = 0;
};

QVector<Token> tokens(const std::u32string &p, std::optional<char32_t> escape)
{
    QVector<Token> t;
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        const bool escapa = escape && c == *escape;
        if (escapa && i + 1 < p.size())
            t.push_back({Peca::Literal, p[++i]});
        else if (!escapa && c == U'%')
            t.push_back({Peca::Qualquer});
        else if (!escapa && c == U'_')
            t.push_back({Peca::Um});
        else
            t.push_back({Peca::Literal, c});
    }
    return t;
}

bool casar(const QVector<Token> &p, const std::u32string &s)
{
    qsizetype i = 0, estrela = -1;
    size_t j = 0, retorno = 0;
    while (j < s.size()) {
        if (i < p.size() && p[i].peca == Peca::Qualquer) {
            estrela = i++;
            retorno = j;
        } else if (i < p.size() && (p[i].peca == Peca::Um || p[i].c == s[j])) {
            ++i, ++j;
        } else if (estrela >= 0) {
            i = estrela + 1;
            j = ++retorno;
        } else {
            return false;
        }
    }
    while (i < p.size() && p[i].peca == Peca::Qualquer)
        ++i;
    return i == p.size();
}

std::u32string dobrado(const QString &s)
{
    const QList<uint> u = s.toCaseFolded().toUcs4();
    return std::u32string(u.begin(), u.end());
}

void fnLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (algumNulo(argc, argv))
        return sqlite3_result_null(ctx);
    // SQLite passes like(pattern, text[, escape]). The escape character is folded like the
    // pattern, so an escape letter still finds itself there.
    std::optional<char32_t> escape;
    if (argc == 3) {
        const std::u32string e = dobrado(textoDe(argv[2]));
        if (e.size() != 1)
            return sqlite3_result_error(ctx, "ESCAPE deve ser um único caractere", -1);
        escape = e[0];
    }
    sqlite3_result_int(ctx, casar(tokens(dobrado(textoDe(argv[0])), escape), dobrado(textoDe(argv[1]))) ? 1 : 0);
}

void registrarFuncoes(sqlite3 *db)
{
    struct Funcao {
        const char *nome;
        int argumentos;
        void (*f)(sqlite3_context *, int, sqlite3_value **);
    };
    static const Funcao funcoes[] = {
        {"cdate", 1, fnCdate},       {"day", 1, fnParteData<0>}, {"month", 1, fnParteData<1>},
        {"year", 1, fnParteData<2>}, {"ucase", 1, fnUcase},      {"jet_left", 2, fnLeft},
        {"asc", 1, fnAsc},           {"like", 2, fnLike},        {"like", 3, fnLike},
    };
    for (const Funcao &f : funcoes)
        sqlite3_create_function_v2(db, f.nome, f.argumentos, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, f.f, nullptr, nullptr, nullptr);
}

QVariant valorDe(sqlite3_stmt *st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                          sqlite3_column_bytes(st, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, i)),
                                   sqlite3_column_bytes(st, i)));
    default:
        return QVariant();
    }
}

// A file another program keeps locked past the wait is told apart from every other failure.
[[noreturn]] void falhar(sqlite3 *db, int rc)
{
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        throw BancoOcupado();
    throw ErroBanco(sqlite3_errmsg(db));
}

// A prepared statement that finalizes itself, so an error never leaks it.
struct Comando {
    sqlite3_stmt *st = nullptr;
    ~Comando() { sqlite3_finalize(st); }
};

// A connection of its own for a whole-file operation; closed when it goes.
struct Arquivo {
    sqlite3 *db = nullptr;
    int rc;
    Arquivo(const QString &caminho, int flags, int esperaOcupadoMs)
        : rc(sqlite3_open_v2(caminho.toUtf8().constData(), &db, flags, nullptr))
    {
        sqlite3_busy_timeout(db, esperaOcupadoMs);
    }
    ~Arquivo() { sqlite3_close_v2(db); }
};

} // namespace

int CopiarBanco(const QString &origem, const QString &destino, int esperaOcupadoMs)
{
    // Read-write even for the source: a journal left by a writer that died is rolled back
    // before its pages are read.
    Arquivo de(origem, SQLITE_OPEN_READWRITE, esperaOcupadoMs);
    Arquivo para(destino, SQLITE_OPEN_READWRITE, esperaOcupadoMs);
    if (de.rc != SQLITE_OK)
        return de.rc & 0xff;
    if (para.rc != SQLITE_OK)
        return para.rc & 0xff;
    sqlite3_backup *copia = sqlite3_backup_init(para.db, "main", de.db, "main");
    if (!copia)
        return sqlite3_errcode(para.db) & 0xff;
    const int passo = sqlite3_backup_step(copia, -1);
    const int fim = sqlite3_backup_finish(copia);
    return CodigoDaFalha(para.db, passo == SQLITE_DONE ? fim : passo);
}

int CodigoDaFalha(sqlite3 *db, int rc)
{
    rc &= 0xff;
    if (rc == SQLITE_FULL)
        return ENOSPC;
    int sistema = 0;
    if (rc == SQLITE_IOERR && sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &sistema) == SQLITE_OK && sistema != 0)
        return sistema;
    return rc;
}

int VerificarBanco(const QString &arquivo, const QStringList &tabelas)
{
    Arquivo a(arquivo, SQLITE_OPEN_READONLY, 0);
    if (a.rc != SQLITE_OK)
        return a.rc & 0xff;
    // The check walks every index against its table: a larger page cache than the default 2 MB
    // spares it most of its re-reads of the file, and still holds memory to a bound.
    sqlite3_exec(a.db, "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
    Comando c;
    if (sqlite3_prepare_v2(a.db, "PRAGMA integrity_check", -1, &c.st, nullptr) != SQLITE_OK)
        return sqlite3_errcode(a.db) & 0xff;
    int rc = sqlite3_step(c.st);
    if (rc != SQLITE_ROW)
        return rc & 0xff;
    if (qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(c.st, 0)), "ok") != 0)
        return SQLITE_CORRUPT;
    Comando t;
    sqlite3_prepare_v2(a.db, "Select count(*) from sqlite_schema Where type = 'table' and name = ?1 collate nocase",
                       -1, &t.st, nullptr);
    for (const QString &tabela : tabelas) {
        const QByteArray nome = tabela.toUtf8();
        sqlite3_reset(t.st);
        sqlite3_bind_text(t.st, 1, nome.constData(), int(nome.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(t.st) != SQLITE_ROW || sqlite3_column_int(t.st, 0) == 0)
            return SQLITE_NOTADB;
    }
    return SQLITE_OK;
}

namespace {

// "D/M/YYYY" and "H:NN[:SS]" in ASCII digits, with ASCII blanks around: the stored form, or ""
// when that date or time does not exist; none for any other text. Read by hand rather than by
// patterns: every date and time a statement stores comes through here.
std::optional<QString> lerDataOuHora(QStringView texto)
{
    const auto branco = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (!texto.isEmpty() && branco(texto.front()))
        texto = texto.sliced(1);
    while (!texto.isEmpty() && branco(texto.back()))
        texto.chop(1);
    int numeros[3] = {}, larguras[3] = {}, grupos = 1;
    char16_t separador = 0;
    for (const QChar c : texto) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            if (++larguras[grupos - 1] > 4)
                return std::nullopt;
            numeros[grupos - 1] = numeros[grupos - 1] * 10 + (u - u'0');
        } else if ((u == u'/' || u == u':') && (separador == 0 || separador == u) && grupos < 3) {
            separador = u;
            ++grupos;
        } else {
            return std::nullopt;
        }
    }
    const auto ate2 = [&](int i) { return larguras[i] >= 1 && larguras[i] <= 2; };
    if (separador == u'/' && grupos == 3 && ate2(0) && ate2(1) && larguras[2] == 4) {
        const QDate d(numeros[2], numeros[1], numeros[0]);
        return d.isValid() ? QString::asprintf("%04d-%02d-%02d", d.year(), d.month(), d.day()) : QString();
    }
    if (separador == u':' && ate2(0) && ate2(1) && (grupos == 2 || ate2(2))) {
        const QTime t(numeros[0], numeros[1], numeros[2]);
        return t.isValid() ? QString::asprintf("%02d:%02d:%02d", t.hour(), t.minute(), t.second()) : QString();
    }
    return std::nullopt;
}

} // namespace

QString LerDataHora(const QString &texto)
{
    if (std::optional<QString> lido = lerDataOuHora(texto))
        return *lido;
    static const QRegularExpression guardada(R"(^\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?$)");
    if (guardada.match(texto).hasMatch()) {
        const bool valida = QDate::fromString(texto.left(10), Qt::ISODate).isValid() &&
                            (texto.size() == 10 || QTime::fromString(texto.mid(11), u"HH:mm:ss").isValid());
        return valida ? texto : QString();
    }
    if (auto t = QTime::fromString(texto, u"HH:mm:ss"); t.isValid() && texto.size() == 8)
        return texto;
    return QString();
}

int CodigoAnsi(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (faixa80[i] == u)
            return 0x80 + i;
    return '?';
}

QChar CaractereAnsi(int codigo)
{
    if (codigo >= 0x80 && codigo < 0xA0)
        return QChar(faixa80[codigo - 0x80]);
    return QChar(char16_t(codigo & 0xFF));
}

namespace {

// A statement cut into code and the literals or quoted names ('…' or "…") between it, which the
// translations never touch.
struct Parte {
    QString texto;
    bool citada;
};

QVector<Parte> partes(const QString &sql)
{
    QVector<Parte> p;
    qsizetype i = 0;
    while (i < sql.size()) {
        qsizetype aspa = i;
        while (aspa < sql.size() && sql.at(aspa) != u'\'' && sql.at(aspa) != u'"')
            ++aspa;
        p.push_back({sql.mid(i, aspa - i), false});
        if (aspa == sql.size())
            break;
        // A doubled quote stays inside the literal.
        const QChar q = sql.at(aspa);
        qsizetype fim = aspa + 1;
        for (;;) {
            fim = sql.indexOf(q, fim);
            if (fim < 0) {
                fim = sql.size();
                break;
            }
            if (fim + 1 < sql.size() && sql.at(fim + 1) == q) {
                fim += 2;
                continue;
            }
            ++fim;
            break;
        }
        p.push_back({sql.mid(aspa, fim - aspa), true});
        i = fim;
    }
    return p;
}

QString juntar(const QVector<Parte> &p)
{
    QString s;
    for (const Parte &x : p)
        s += x.texto;
    return s;
}

bool literal(const QVector<Parte> &p, qsizetype i)
{
    return i < p.size() && p[i].citada && p[i].texto.startsWith(u'\'');
}

QRegularExpression semCaixa(const QString &padrao)
{
    return QRegularExpression(padrao, QRegularExpression::CaseInsensitiveOption);
}

void diferenteDeNulo(QString &codigo)
{
    static const QRegularExpression r = semCaixa(QStringLiteral(R"(\s*<>\s*null\b)"));
    codigo.replace(r, QStringLiteral(" IS NOT NULL"));
}

// cdate of a literal, innermost first, becomes the literal of the stored text.
void cdateDeLiterais(QVector<Parte> &p)
{
    static const QRegularExpression abre = semCaixa(QStringLiteral(R"(\bcdate\s*\(\s*$)"));
    static const QRegularExpression fecha(QStringLiteral(R"(^\s*\))"));
    for (qsizetype i = 0; i + 2 < p.size();) {
        const auto a = abre.match(p[i].texto);
        const auto f = fecha.match(p[i + 2].texto);
        if (p[i].citada || !a.hasMatch() || !literal(p, i + 1) || p[i + 2].citada || !f.hasMatch()) {
            ++i;
            continue;
        }
        QString valor = p[i + 1].texto.mid(1, p[i + 1].texto.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        const QString lido = LerDataHora(valor);
        if (lido.isNull())
            throw ErroBanco("Tipo de dados incompatível na expressão (cdate)");
        p[i].texto.truncate(a.capturedStart());
        p[i + 1].texto = QStringLiteral("'") + lido + QStringLiteral("'");
        p[i + 2].texto.remove(0, f.capturedLength());
    }
}

// like folds case the way ucase does, accented letters too, and has no escape character unless
// the statement names one.
void likeSemCaixa(QVector<Parte> &p)
{
    static const QRegularExpression like = semCaixa(QStringLiteral(R"(\blike\b)"));
    static const QRegularExpression escape = semCaixa(QStringLiteral(R"(^\s*escape\b)"));
    static const QRegularExpression ultimo = semCaixa(QStringLiteral(R"(\blike\s*$)"));
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (p[i].citada)
            continue;
        const bool padraoLiteral = literal(p, i + 1) && ultimo.match(p[i].texto).hasMatch();
        p[i].texto.replace(like, QStringLiteral("ILIKE"));
        if (!padraoLiteral)
            continue;
        QString depois = QStringLiteral(" COLLATE \"und-x-icu\"");
        if (i + 2 >= p.size() || p[i + 2].citada || !escape.match(p[i + 2].texto).hasMatch())
            depois += QStringLiteral(" ESCAPE ''");
        if (i + 2 < p.size() && !p[i + 2].citada)
            p[i + 2].texto.prepend(depois);
        else
            p.insert(i + 2, Parte{depois, false});
    }
}

// NULL sorts first in an ascending order and last in a descending one, as in SQLite. The
// planner's Order By always ends its statement.
void nulosComoSqlite(QVector<Parte> &p)
{
    static const QRegularExpression ordem = semCaixa(QStringLiteral(R"(\border\s+by\b)"));
    static const QRegularExpression desc = semCaixa(QStringLiteral(R"(\bdesc$)"));
    static const QRegularExpression nulos = semCaixa(QStringLiteral(R"(\bnulls\s+(first|last)$)"));
    if (p.isEmpty() || p.last().citada)
        return;
    QString &codigo = p.last().texto;
    const auto m = ordem.match(codigo);
    if (!m.hasMatch() || codigo.indexOf(u')', m.capturedEnd()) >= 0)
        return;
    QStringList itens = codigo.mid(m.capturedEnd()).split(u',');
    for (QString &item : itens) {
        const QString t = item.trimmed();
        if (t.isEmpty() || nulos.match(t).hasMatch())
            continue;
        item = u' ' + t + (desc.match(t).hasMatch() ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST"));
    }
    codigo = codigo.left(m.capturedEnd()) + itens.join(u',');
}

} // namespace

QString TraduzirDialeto(const QString &sql)
{
    // "Left" is a keyword to SQLite (LEFT JOIN); the function goes by another name.
    static const QRegularExpression esquerda = semCaixa(QStringLiteral(R"(\bleft\s*\()"));
    // Most statements have neither, and are passed on as written.
    if (!sql.contains(u"<>") && !sql.contains(u"left", Qt::CaseInsensitive))
        return sql;
    QVector<Parte> p = partes(sql);
    for (Parte &x : p)
        if (!x.citada) {
            diferenteDeNulo(x.texto);
            x.texto.replace(esquerda, QStringLiteral("jet_left("));
        }
    return juntar(p);
}

QString TraduzirDialetoPostgres(const QString &sql)
{
    // "Asc" is a keyword to PostgreSQL (Order By … Asc); the function goes by another name.
    static const QRegularExpression asc = semCaixa(QStringLiteral(R"(\basc\s*\()"));
    QVector<Parte> p = partes(sql);
    cdateDeLiterais(p);
    for (Parte &x : p)
        if (!x.citada) {
            diferenteDeNulo(x.texto);
            x.texto.replace(asc, QStringLiteral("jet_asc("));
        }
    likeSemCaixa(p);
    nulosComoSqlite(p);
    return juntar(p);
}

ConexaoSqlite::ConexaoSqlite(const QString &arquivo, int esperaOcupadoMs)
{
    const int rc = sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString erro = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("sem memória");
        sqlite3_close(db);
        db = nullptr;
        throw ErroBanco(QStringLiteral("Não foi possível abrir %1: %2").arg(arquivo, erro).toStdString());
    }
    sqlite3_busy_timeout(db, esperaOcupadoMs);
    sqlite3_extended_result_codes(db, 1);
    registrarFuncoes(db);
}

ConexaoSqlite::~ConexaoSqlite()
{
    sqlite3_close_v2(db);
}

void ConexaoSqlite::preparar(const QString &sql, sqlite3_stmt **st)
{
    const QByteArray texto = TraduzirDialeto(sql).toUtf8();
    if (const int rc = sqlite3_prepare_v2(db, texto.constData(), int(texto.size()), st, nullptr); rc != SQLITE_OK)
        falhar(db, rc);
}

Resultado ConexaoSqlite::Consultar(const QString &sql)
{
    Comando c;
    preparar(sql, &c.st);
    Resultado r;
    const int n = sqlite3_column_count(c.st);
    for (int i = 0; i < n; ++i)
        r.colunas << QString::fromUtf8(sqlite3_column_name(c.st, i));
    int rc;
    while ((rc = sqlite3_step(c.st)) == SQLITE_ROW) {
        QVector<QVariant> linha(n);
        for (int i = 0; i < n; ++i)
            linha[i] = valorDe(c.st, i);
        r.linhas.push_back(std::move(linha));
    }
    if (rc != SQLITE_DONE)
        falhar(db, rc);
    return r;
}

int ConexaoSqlite::Executar(const QString &sql)
{
    Comando c;
    preparar(sql, &c.st);
    int rc;
    while ((rc = sqlite3_step(c.st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        falhar(db, rc);
    return sqlite3_changes(db);
}

qint64 ConexaoSqlite::UltimaChave()
{
    return sqlite3_last_insert_rowid(db);
}

void ConexaoSqlite::Iniciar(bool escrita)
{
    // A writer takes the write lock at once, so two processes never both hold a read lock and
    // wait for each other's write.
    Executar(escrita ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

void ConexaoSqlite::Confirmar()
{
    Executar(QStringLiteral("COMMIT"));
}

void ConexaoSqlite::Desfazer()
{
    Executar(QStringLiteral("ROLLBACK"));
}

std::unique_ptr<Conexao> Abrir(const QString &banco, int esperaOcupadoMs)
{
    if (EhEnderecoPostgres(banco))
        return std::make_unique<ConexaoPostgres>(banco, esperaOcupadoMs);
    return std::make_unique<ConexaoSqlite>(banco, esperaOcupadoMs);
}

} // namespace motor_sql
