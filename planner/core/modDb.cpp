#include "core/modDb.h"

#include "esquema.h"
#include "platform/motor_postgres.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace {

std::optional<pastas::PastaDados> pastaDados;
std::optional<QString> enderecoPostgres;  // "" when the planner uses its file
int esperaOcupadoMs = 5000;
motor_sql::Conexao *conexaoDaTransacao = nullptr;
bool transacaoDeEscrita = false;

template <typename F>
auto comConexao(F &&f)
{
    if (conexaoDaTransacao)
        return f(*conexaoDaTransacao);
    const std::unique_ptr<motor_sql::Conexao> c = motor_sql::Abrir(modDb::Banco(), esperaOcupadoMs);
    return f(*c);
}

} // namespace

QString Campo::Texto() const
{
    if (valor.isNull())
        return QString();
    if (valor.typeId() == QMetaType::Double) {
        // Amounts come back as doubles; whole numbers read without a ".0".
        const double d = valor.toDouble();
        return d == qint64(d) ? QString::number(qint64(d)) : QString::number(d, 'g', 15);
    }
    return valor.toString();
}

qint64 Campo::Inteiro() const
{
    if (valor.typeId() == QMetaType::Double)
        return qRound64(valor.toDouble());
    return valor.toLongLong();
}

double Campo::Numero() const
{
    return valor.toDouble();
}

QDate Campo::Data() const
{
    return QDate::fromString(valor.toString().left(10), Qt::ISODate);
}

QTime Campo::Hora() const
{
    const QString s = valor.toString();
    // Times are stored "HH:MM:SS", read here without the general parser: the grid reads one
    // for every row it shows.
    if (s.size() == 8 && s.at(2) == u':' && s.at(5) == u':') {
        const auto dois = [&](int i) { return (s.at(i).unicode() - u'0') * 10 + (s.at(i + 1).unicode() - u'0'); };
        const QTime t(dois(0), dois(3), dois(6));
        if (t.isValid())
            return t;
    }
    // Texts typed as "HH:NN" (the grid bounds) read as well.
    return QTime::fromString(motor_sql::LerDataHora(s.size() > 8 ? s.right(8) : s), u"HH:mm:ss");
}

RecordSet::RecordSet(motor_sql::Resultado resultado)
    : dados(std::make_shared<const motor_sql::Resultado>(std::move(resultado)))
{
    for (int i = 0; i < dados->colunas.size(); ++i) {
        colunas.insert(dados->colunas.at(i), i);
        colunas.insert(dados->colunas.at(i).toLower(), i);
    }
}

bool RecordSet::Eof() const
{
    return !dados || atual >= dados->linhas.size();
}

void RecordSet::MoveNext()
{
    if (!Eof())
        ++atual;
}

int RecordSet::RecordCount() const
{
    return dados ? int(dados->linhas.size()) : 0;
}

int RecordSet::Campos() const
{
    return dados ? int(dados->colunas.size()) : 0;
}

Campo RecordSet::operator()(const QString &coluna) const
{
    return Indice(Posicao(coluna));
}

int RecordSet::Posicao(const QString &coluna) const
{
    // The name as the statement spelled it is found at once; other spellings by lower case.
    auto i = colunas.constFind(coluna);
    if (i == colunas.cend())
        i = colunas.constFind(coluna.toLower());
    if (i == colunas.cend())
        throw ErroBanco(QStringLiteral("Campo inexistente no registro: %1").arg(coluna).toStdString());
    return *i;
}

Campo RecordSet::Indice(int coluna) const
{
    if (Eof())
        throw ErroBanco("Não há registro atual (fim do conjunto de registros)");
    return Campo(dados->linhas.at(atual).at(coluna));
}

void RecordSet::Close()
{
    dados.reset();
    colunas.clear();
    atual = 0;
}

RecordSet Consultar(const QString &sql)
{
    return RecordSet(comConexao([&](motor_sql::Conexao &c) { return c.Consultar(sql); }));
}

int Executar(const QString &sql)
{
    return comConexao([&](motor_sql::Conexao &c) { return c.Executar(sql); });
}

qint64 ExecutarInsercao(const QString &sql)
{
    return comConexao([&](motor_sql::Conexao &c) { return c.Executar(sql) > 0 ? c.UltimaChave() : qint64(0); });
}

int FiltrarTecla(int tecla, bool apenasNumeros)
{
    if (tecla == 22 || tecla == 8 || tecla == 3)  // paste, backspace, copy
        return tecla;
    if (apenasNumeros)
        return (tecla >= '0' && tecla <= '9') || tecla == '.' || tecla == '-' ? tecla : 0;
    return tecla == '\'' || tecla < 30 ? 0 : tecla;
}

QString SqlTexto(const QString &texto)
{
    QString s = texto;
    return s.replace(u'\'', QStringLiteral("''"));
}

QString SqlTextoLike(const QString &texto)
{
    QString s;
    s.reserve(texto.size() + 4);
    for (const QChar c : texto) {
        if (c == u'%' || c == u'_' || c == u'\\')
            s += u'\\';
        s += c;
    }
    return SqlTexto(s);
}

Transacao::Transacao(Modo modo)
{
    if (conexaoDaTransacao) {
        if (modo == Leitura || transacaoDeEscrita)
            return;
        throw ErroBanco("Transação de leitura já aberta");
    }
    conexao = motor_sql::Abrir(modDb::Banco(), esperaOcupadoMs);
    conexao->Iniciar(modo == Escrita);
    conexaoDaTransacao = conexao.get();
    transacaoDeEscrita = modo == Escrita;
    semModal.emplace();
}

Transacao::~Transacao()
{
    if (!conexao)
        return;
    conexaoDaTransacao = nullptr;
    transacaoDeEscrita = false;
    if (!confirmada) {
        try {
            conexao->Desfazer();
        } catch (const ErroBanco &) {
            // Closing the connection below undoes whatever is still open.
        }
    }
}

void Transacao::Confirmar()
{
    if (conexao)
        conexao->Confirmar();
    confirmada = true;
}

namespace modDb {

QString PastaPrograma()
{
    return QCoreApplication::applicationDirPath();
}

QString PastaDados()
{
    if (!pastaDados)
        pastaDados = pastas::EscolherPastaDados(pastas::AmbienteAtual());
    return pastaDados->pasta;
}

QString ArquivoDados()
{
    return QDir(PastaDados()).filePath(QStringLiteral("dadosu.lst"));
}

void DefinirPastaDados(const QString &pasta, pastas::OrigemDados origem)
{
    pastaDados = pastas::PastaDados{pasta, origem};
}

QString Banco()
{
    if (!enderecoPostgres) {
        const QString variavel = qEnvironmentVariable("VELORA_BANCO");
        enderecoPostgres = EhEnderecoPostgres(variavel) ? variavel : QString();
    }
    return enderecoPostgres->isEmpty() ? ArquivoDados() : *enderecoPostgres;
}

bool UsaPostgres()
{
    return EhEnderecoPostgres(Banco());
}

void DefinirBanco(const QString &uri)
{
    enderecoPostgres = uri;
}

QString PastaTemporaria()
{
    return UsaPostgres() ? QDir::tempPath() : PastaDados();
}

QString PrepararPastaDados()
{
    // A PostgreSQL database needs no folder of the planner's.
    if (UsaPostgres())
        return QString();
    PastaDados();
    return pastas::PrepararPastaDados(*pastaDados);
}

void DefinirEsperaOcupado(int ms)
{
    esperaOcupadoMs = ms;
}

int CopiarBase(const QString &destino, const QStringList &tabelas)
{
    if (UsaPostgres())
        return motor_sql::ExportarPostgres(Banco(), destino, tabelas, esperaOcupadoMs);
    return motor_sql::CopiarBanco(ArquivoDados(), destino, esperaOcupadoMs);
}

int SubstituirBase(const QString &origem, const QStringList &tabelas)
{
    if (UsaPostgres())
        return motor_sql::ImportarPostgres(origem, Banco(), tabelas, esperaOcupadoMs);
    return motor_sql::CopiarBanco(origem, ArquivoDados(), esperaOcupadoMs);
}

} // namespace modDb
