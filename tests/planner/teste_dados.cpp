// Appointments, contacts and the ledger in and out of the planner in the formats other programs
// read: iCalendar, vCard and CSV.

#include "apoio.h"
#include "appointments/modCompromissos.h"
#include "core/modSenha.h"
#include "core/sessao.h"
#include "dados/modCsv.h"
#include "dados/modICal.h"
#include "dados/modVCard.h"
#include "finances/modFinancas.h"
#include "platform/localidade.h"
#include "platform/relogio.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <ctime>

namespace {

struct Dados : ::testing::Test {
    BaseDeTeste base;
    qint64 eu = 0, outro = 0;
    QByteArray fusoAnterior = qgetenv("TZ");
    void SetUp() override
    {
        // A zone with no summer time since 2019: the foreign file's New York times land 2 hours later.
        qputenv("TZ", "America/Sao_Paulo");
        tzset();
        relogio::DefinirAgora(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
        eu = base.InserirUsuario(QStringLiteral("EU"), std::nullopt);
        outro = base.InserirUsuario(QStringLiteral("OUTRO"), std::nullopt);
        entrarComo(eu);
    }
    void TearDown() override
    {
        qputenv("TZ", fusoAnterior);
        tzset();
        relogio::Liberar();
    }
    void entrarComo(qint64 usuario)
    {
        Sessao.Codigo = usuario;
        Sessao.Intervalos = 30;
        Sessao.InicioGrade = QTime(8, 0);
    }
    // The user's rows as "date time-end text [+ for a continuation row] status shared", in order.
    QString linhas(qint64 usuario)
    {
        return base.Valor(QStringLiteral(
                   "Select group_concat(l, ' | ') from (Select Data||' '||coalesce(substr(Hora,1,5),'-')||'-'||"
                   "coalesce(substr(HoraFim,1,5),'')||' '||Compromisso||(case when ChavePai <> 0 then ' +' else '' end)||' '||Status||"
                   "Compartilhado as l from Compromissos Where Usuario = %1 Order By Data, Hora, ChavePai)")
                              .arg(usuario));
    }
};

// The UID lines of an iCalendar file, in order.
QByteArrayList uids(const QByteArray &arquivo)
{
    QByteArrayList u;
    for (const QByteArray &l : arquivo.split('\n'))
        if (l.startsWith("UID:"))
            u << l;
    return u;
}

QByteArray lerArquivo(const QString &nome)
{
    QFile f(QStringLiteral(VELORA_TESTES_DADOS "/") + nome);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nome.toStdString();
    return f.readAll();
}

} // namespace

TEST_F(Dados, ICalDeOutroProgramaViraAsLinhasDoPainel)
{
    const ResultadoImportacao r = ImportarICal(lerArquivo(QStringLiteral("estrangeiro.ics")));
    ASSERT_EQ(r.erro, QString());
    const QString reuniao = QStringLiteral("Reunião diária da equipe de projeto, com café e biscoitos para todos os participantes");
    QStringList esperadas;
    for (const char *dia : {"2026-12-14", "2026-12-15", "2026-12-17", "2026-12-18"}) {
        esperadas << QStringLiteral("%1 11:00-12:00 %2 0N").arg(dia, reuniao)
                  << QStringLiteral("%1 11:30- %2 + 0N").arg(dia, reuniao)
                  << QStringLiteral("%1 12:00- %2 + 0N").arg(dia, reuniao);
        if (QLatin1String(dia) == QLatin1String("2026-12-18"))
            esperadas << QStringLiteral("2026-12-18 14:30-15:15 Dentista 3N") << QStringLiteral("2026-12-18 15:00- Dentista + 3N")
                      << QStringLiteral("2026-12-18 15:15- Dentista + 3N");
    }
    esperadas << QStringLiteral("2026-12-25 08:00- Natal 3N");
    EXPECT_EQ(linhas(eu), esperadas.join(QStringLiteral(" | ")));
    EXPECT_EQ(r.itens, 3);
    EXPECT_EQ(r.linhas, 16);
    EXPECT_EQ(r.atualizados, 0);

    // The same file again replaces what it made.
    const ResultadoImportacao segunda = ImportarICal(lerArquivo(QStringLiteral("estrangeiro.ics")));
    EXPECT_EQ(segunda.atualizados, 3);
    EXPECT_EQ(linhas(eu), esperadas.join(QStringLiteral(" | ")));
}

TEST_F(Dados, ICalIdaEVoltaDaAsMesmasLinhas)
{
    const QDate d(2026, 12, 10);
    const qint64 pai = GravarCompromisso(false, 0, d, QTime(9, 0), QTime(10, 0), 0, QStringLiteral("Médico; \"Dr. Zé\", sala 3"),
                                         QStringLiteral("0"), QStringLiteral("S"));
    for (const QTime &t : HorariosDeContinuacao(QTime(9, 0), QTime(10, 0), 30))
        GravarCompromisso(false, 0, d, t, QTime(), pai, QStringLiteral("Médico; \"Dr. Zé\", sala 3"), QStringLiteral("0"), QStringLiteral("S"));
    GravarCompromisso(false, 0, d, QTime(14, 15), QTime(), 0, QString(200, u'á'), QStringLiteral("1"), QStringLiteral("N"));
    GravarCompromisso(false, 0, d.addDays(1), QTime(7, 0), QTime(), 0, QStringLiteral("Sem aviso"), QStringLiteral("3"), QStringLiteral("N"));
    GravarCompromisso(false, 0, QDate(2027, 3, 4), QTime(), QTime(), 0, QStringLiteral("Aniversário Ana"), QStringLiteral("2"), QStringLiteral("N"));
    const QString minhas = linhas(eu);

    const QByteArray arquivo = ExportarICal();
    for (const QByteArray &linha : arquivo.split('\n'))
        EXPECT_LE(linha.size(), 76) << linha.constData();  // folded: 75 octets and the CR
    EXPECT_TRUE(arquivo.contains("RRULE:FREQ=YEARLY"));
    EXPECT_TRUE(arquivo.contains("DTSTART;VALUE=DATE:20270304"));
    EXPECT_EQ(arquivo.count("BEGIN:VALARM"), 1);
    EXPECT_EQ(arquivo.count("BEGIN:VEVENT"), 4);
    // A second export names every row as the first did.
    EXPECT_EQ(uids(ExportarICal()), uids(arquivo));

    entrarComo(outro);
    const ResultadoImportacao r = ImportarICal(arquivo);
    ASSERT_EQ(r.erro, QString());
    EXPECT_EQ(linhas(outro), minhas);
    EXPECT_EQ(r.linhas, 6);

    // Back into the first user: nothing doubles.
    entrarComo(eu);
    const ResultadoImportacao deVolta = ImportarICal(arquivo);
    EXPECT_EQ(deVolta.atualizados, 4);
    EXPECT_EQ(linhas(eu), minhas);
}

TEST_F(Dados, ICalDeMuitosEventosGuardaEReencontraCadaUid)
{
    // More identifiers than one statement writes, in each direction.
    constexpr int eventos = 1200;
    for (int i = 0; i < eventos; ++i)
        GravarCompromisso(false, 0, QDate(2026, 12, 10).addDays(i % 300), QTime(8 + i % 10, 0), QTime(), 0,
                          QStringLiteral("Evento %1").arg(i), QStringLiteral("3"), QStringLiteral("N"));
    const QByteArray arquivo = ExportarICal();
    EXPECT_EQ(uids(arquivo).size(), eventos);
    EXPECT_EQ(uids(ExportarICal()), uids(arquivo));
    const QString contagem = QStringLiteral("Select count(distinct Uid)||' '||count(*) from Identificadores Where Usuario = %1");
    EXPECT_EQ(base.Valor(contagem.arg(eu)), QStringLiteral("1200 1200"));

    entrarComo(outro);
    ASSERT_EQ(ImportarICal(arquivo).linhas, eventos);
    const QString importadas = linhas(outro);
    const ResultadoImportacao deNovo = ImportarICal(arquivo);
    EXPECT_EQ(deNovo.atualizados, eventos);
    EXPECT_EQ(linhas(outro), importadas);
    EXPECT_EQ(base.Valor(contagem.arg(outro)), QStringLiteral("1200 1200"));
}

TEST_F(Dados, ICalRecusadoNaoGravaNada)
{
    const QByteArray bom = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a@x\r\nDTSTART:20261210T090000\r\nSUMMARY:Bom\r\nEND:VEVENT\r\n";
    const QByteArray fim = "END:VCALENDAR\r\n";
    const struct {
        const char *caso;
        QByteArray arquivo;
        const char *mensagem;
    } casos[] = {
        {"truncado", bom + "BEGIN:VEVENT\r\nUID:b@x\r\nDTSTA", "incompleto"},
        {"outro formato", "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ana\r\nEND:VCARD\r\n", "não é do formato iCalendar"},
        {"linha de 10 MB", bom + "BEGIN:VEVENT\r\nSUMMARY:" + QByteArray(10 * 1024 * 1024, 'x') + "\r\nEND:VEVENT\r\n" + fim, "linha de mais de"},
        {"sem UTF-8", bom + "BEGIN:VEVENT\r\nDTSTART:20261210T090000\r\nSUMMARY:Reuni\xE3o\r\nEND:VEVENT\r\n" + fim, "UTF-8"},
        {"sem início", bom + "BEGIN:VEVENT\r\nUID:c@x\r\nSUMMARY:Sem data\r\nEND:VEVENT\r\n" + fim, "DTSTART"},
        {"repetição sem fim", bom + "BEGIN:VEVENT\r\nUID:d@x\r\nDTSTART:20261210T090000\r\nRRULE:FREQ=MINUTELY\r\nSUMMARY:X\r\nEND:VEVENT\r\n" + fim,
         "mais de 1000000 linhas"},
    };
    for (const auto &c : casos) {
        const ResultadoImportacao r = ImportarICal(c.arquivo);
        EXPECT_TRUE(r.erro.contains(QString::fromUtf8(c.mensagem))) << c.caso << ": " << r.erro.toStdString();
        EXPECT_TRUE(r.Texto(QStringLiteral("eventos")).startsWith(QStringLiteral("Nada foi importado"))) << c.caso;
        EXPECT_EQ(linhas(eu), QString()) << c.caso;
    }
    // A byte-order mark and markers in lower case are no fault.
    EXPECT_EQ(ImportarICal("\xEF\xBB\xBF" "begin:vcalendar" + bom.mid(15) + "end:vcalendar\r\n").itens, 1);
    // A file of 100,000 events is no fault.
    QByteArray muitos = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int i = 0; i < 100000; ++i)
        muitos += "BEGIN:VEVENT\r\nDTSTART:20261210T090000\r\nSUMMARY:E\r\nEND:VEVENT\r\n";
    EXPECT_EQ(ImportarICal(muitos + fim).linhas, 100000);
}

namespace {

// The fields the panel edits, in one text, for comparing contacts.
QString campos(const Contato &c)
{
    return QStringList{c.nome, c.empresa, c.endereco, c.cidade, c.estado, c.cep, c.email, c.foneRes, c.foneCel, c.foneCom,
                       c.aniversario, c.observacao, c.compartilhado}
        .join(u'|');
}

} // namespace

TEST_F(Dados, VCardIdaEVoltaPeloArquivo)
{
    Contato ana;
    ana.nome = QStringLiteral("Ana Luísa, a \"Lu\"; da Silva");
    ana.empresa = QStringLiteral("Padaria São João");
    ana.endereco = QStringLiteral("Rua das Acácias, 1234, apartamento 56, bloco C, condomínio Jardim das Flores");
    ana.cidade = QStringLiteral("Florianópolis");
    ana.estado = QStringLiteral("SC");
    ana.cep = QStringLiteral("88000000");
    ana.email = QStringLiteral("ana@exemplo.com.br");
    ana.foneRes = QStringLiteral("(48)3333-4444");
    ana.foneCel = QStringLiteral("(48)99999-8888");
    ana.aniversario = QStringLiteral("15/04");
    ana.observacao = QStringLiteral("Linha um\nLinha dois \\ barra");
    ana.compartilhado = QStringLiteral("S");
    Contato beto;
    beto.nome = QStringLiteral("Beto");
    beto.foneCom = QStringLiteral("3222-1111");
    for (Contato *c : {&ana, &beto})
        *c = GravarContato(*c);

    const QByteArray arquivo = ExportarVCard();
    for (const QByteArray &linha : arquivo.split('\n'))
        EXPECT_LE(linha.size(), 76) << linha.constData();
    EXPECT_TRUE(arquivo.contains("BDAY:--0415\r\n"));
    EXPECT_TRUE(arquivo.contains("VERSION:4.0\r\n"));
    EXPECT_EQ(ExportarVCard(), arquivo);  // the same UIDs again

    entrarComo(outro);
    const ResultadoImportacao r = ImportarVCard(arquivo);
    ASSERT_EQ(r.erro, QString());
    EXPECT_EQ(r.itens, 2);
    QStringList lidos;
    for (const LinhaContato &l : LinhasContatos(QString()))
        if (l.contato.usuario == outro)
            lidos << campos(l.contato);
    EXPECT_EQ(lidos, (QStringList{campos(ana), campos(beto)}));
    EXPECT_EQ(base.Valor(QStringLiteral("Select Compromisso||' '||Data from Compromissos Where Usuario = %1").arg(outro)),
              QStringLiteral("Aniversário Ana Luísa, a \"Lu\"; da Silva 2027-04-15"));

    // Into the first user again: the contacts are updated, not doubled, and keep one birthday row.
    entrarComo(eu);
    EXPECT_EQ(ImportarVCard(arquivo).atualizados, 2);
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Enderecos Where Usuario = %1").arg(eu)), QStringLiteral("2"));
    EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Compromissos Where Usuario = %1").arg(eu)), QStringLiteral("1"));
}

TEST_F(Dados, VCardDeOutrosProgramas)
{
    const struct {
        const char *caso;
        QByteArray cartao;
        const char *esperado;
    } casos[] = {
        {"3.0 dobrado, grupos e tipos em lista",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Souza;Carla;Maria;;\r\nFN:Carla Ma\r\n ria Souza\r\nitem1.EMAIL;TYPE=INTERNET:carla@x.org\r\n"
         "TEL;TYPE=HOME,VOICE:1111\r\nTEL;TYPE=CELL:2222\r\nTEL;TYPE=WORK:3333\r\nBDAY:1980-04-15\r\n"
         "ADR;TYPE=WORK:;Sala 2;Av. Brasil\\, 10;Recife;PE;50000-000;Brasil\r\nORG:Acme;Vendas\r\nEND:VCARD\r\n",
         "Carla Maria Souza|Acme, Vendas|Sala 2 Av. Brasil, 10|Recife|PE|50000-000|carla@x.org|1111|2222|3333|15/04||N"},
        {"4.0 sem FN, telefone em URI, 29 de fevereiro",
         "BEGIN:VCARD\nVERSION:4.0\nN:Lima;joão;;;\nTEL;VALUE=uri;TYPE=\"voice,cell\":tel:+55-81-9999\nBDAY:--0229\nEND:VCARD\n",
         "João Lima||||||||+55-81-9999||||N"},
        {"2.1 com tipos soltos", "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Zé\r\nTEL;CELL:5555\r\nEND:VCARD\r\n", "Zé||||||||5555||||N"},
    };
    for (const auto &c : casos) {
        const auto cartoes = LerVCard(c.cartao);
        ASSERT_EQ(cartoes.size(), 1) << c.caso;
        EXPECT_EQ(campos(cartoes[0].second), QString::fromUtf8(c.esperado)) << c.caso;
    }
    for (const QByteArray &ruim : {QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Ana\r\n"),
                                   QByteArray("BEGIN:VCARD\r\nFN:Ana\r\nEND:VCARD\r\nBEGIN:VCARD\r\nEMAIL:a@b\r\nEND:VCARD\r\n")}) {
        const ResultadoImportacao r = ImportarVCard(ruim);
        EXPECT_FALSE(r.erro.isEmpty()) << ruim.constData();
        EXPECT_EQ(base.Valor(QStringLiteral("Select count(*) from Enderecos")), QStringLiteral("0"));
    }
}

TEST_F(Dados, CsvDoMesNoSeparadorDaLocalidade)
{
    GravarSaldoInicial(10050, 12, 2026);
    GravarLancamento(0, QDate(2026, 12, 2), QStringLiteral("Salário; dezembro"), 0, 250000, true);
    GravarLancamento(0, QDate(2026, 12, 5), QStringLiteral("Conta \"luz\""), 1, 12345, false);
    const struct {
        QLocale locale;
        const char *esperado;
    } casos[] = {
        {QLocale(QLocale::Portuguese, QLocale::Brazil),
         "\xEF\xBB\xBF" "Data;Descrição;Recebido;Pago;Efetuado\r\n;Saldo Inicial;100,50;;\r\n02/12/2026;\"Salário; dezembro\";2500,00;;S\r\n"
         "05/12/2026;\"Conta \"\"luz\"\"\";;123,45;N\r\n;Saldo Atual;2600,50;;\r\n"},
        {QLocale(QLocale::English, QLocale::UnitedStates),
         "\xEF\xBB\xBF" "Data,Descrição,Recebido,Pago,Efetuado\r\n,Saldo Inicial,100.50,,\r\n02/12/2026,Salário; dezembro,2500.00,,S\r\n"
         "05/12/2026,\"Conta \"\"luz\"\"\",,123.45,N\r\n,Saldo Atual,2600.50,,\r\n"},
    };
    for (const auto &c : casos) {
        localidade::Definir(c.locale);
        EXPECT_EQ(ExportarCsv(12, 2026), QByteArray(c.esperado)) << c.locale.name().toStdString();
    }
    localidade::Definir(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

// The commands of the real program: a foreign file in, the same rows out and into another user,
// and the refusals (wrong password, a file that is no calendar) writing nothing.
TEST_F(Dados, ComandosDoPrograma)
{
    const qint64 ze = base.InserirUsuario(QStringLiteral("ZE"), CodificarSenha(QStringLiteral("segredo")));
    const auto velora = [this](const QStringList &args, const QByteArray &senha = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELORA_DADOS"), base.pasta.path());
        env.insert(QStringLiteral("TZ"), QStringLiteral("America/Sao_Paulo"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VELORA_BINARIO), args);
        p.write(senha + '\n');
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed()};
    };
    const QString estrangeiro = QStringLiteral(VELORA_TESTES_DADOS "/estrangeiro.ics");
    const QString exportado = base.pasta.filePath(QStringLiteral("exportado.ics"));

    EXPECT_EQ(velora({"--usuario", "ze", "--importar-ics", estrangeiro}, "errada"), std::pair(1, QStringLiteral("Senha não confere !")));
    EXPECT_EQ(velora({"--usuario", "ze", "--importar-ics", QStringLiteral(VELORA_TESTES_DADOS "/../teste_dados.cpp")}, "segredo").first, 1);
    EXPECT_EQ(linhas(ze), QString());

    const auto [codigo, texto] = velora({"--usuario", "ze", "--importar-ics", estrangeiro}, "segredo");
    EXPECT_EQ(codigo, 0);
    EXPECT_EQ(texto, QStringLiteral("Importação concluída: 3 eventos lidos, 16 registros gravados, 0 já importados antes e atualizados."));
    const QString doArquivo = linhas(ze);
    EXPECT_TRUE(doArquivo.startsWith(QStringLiteral("2026-12-14 11:00-12:00 Reunião"))) << doArquivo.toStdString();

    EXPECT_EQ(velora({"--usuario", "ze", "--exportar-ics", exportado}, "segredo").first, 0);
    EXPECT_EQ(velora({"--usuario", "OUTRO", "--importar-ics", exportado}).first, 0);
    EXPECT_EQ(linhas(outro), doArquivo);
    // Again into the first user: replaced, not doubled.
    EXPECT_EQ(velora({"--usuario", "ze", "--importar-ics", exportado}, "segredo").second,
              QStringLiteral("Importação concluída: 3 eventos lidos, 16 registros gravados, 3 já importados antes e atualizados."));
    EXPECT_EQ(linhas(ze), doArquivo);

    const QString vcf = base.pasta.filePath(QStringLiteral("e.vcf"));
    Contato c;
    c.nome = QStringLiteral("Ana");
    GravarContato(c);
    EXPECT_EQ(velora({"--usuario", "eu", "--exportar-vcf", vcf}).first, 0);
    EXPECT_EQ(velora({"--usuario", "OUTRO", "--importar-vcf", vcf}).first, 0);
    EXPECT_EQ(base.Valor(QStringLiteral("Select Nome from Enderecos Where Usuario = %1").arg(outro)), QStringLiteral("Ana"));
    const auto csv = velora({"--usuario", "eu", "--exportar-csv", "2026-12"});
    EXPECT_EQ(csv, std::pair(0, QStringLiteral("Data;Descrição;Recebido;Pago;Efetuado\r\n;Saldo Inicial;0,00;;\r\n;Saldo Atual;0,00;;")));
    EXPECT_EQ(velora({"--usuario", "eu", "--exportar-csv", "2026-13"}).first, 1);

    // A password saved by the profile is stored hashed, and signs the command on just the same.
    base.InserirUsuario(QStringLiteral("LIA"), GuardarSenha(QStringLiteral("chave")));
    EXPECT_EQ(velora({"--usuario", "lia", "--exportar-vcf", vcf}, "errada"), std::pair(1, QStringLiteral("Senha não confere !")));
    EXPECT_EQ(velora({"--usuario", "lia", "--exportar-vcf", vcf}, "chave").first, 0);
}
