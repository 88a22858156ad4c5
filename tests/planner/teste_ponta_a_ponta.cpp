// The real velora program on a desktop of its own (Xvfb + openbox), driven as a user drives
// it: starting, a second start, a new account through the profile, an appointment, the
// calculator and the clock, the ledger, the reminders and the month calendar, the address book,
// and two users' tasks and notes, a backup and its restore.

#include "XTestClient.h"
#include "XTestMain.h"
#include "XTestServer.h"
#include "esquema.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QString>
#include <QTemporaryDir>
#include <QTime>
#include <QtMath>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A value read straight from the database file ("" for none or a file still locked).
QString valor(const QString &arquivo, const char *sql)
{
    sqlite3 *db = nullptr;
    QString v;
    if (sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW &&
            sqlite3_column_type(st, 0) != SQLITE_NULL)
            v = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return v;
}

// Every row of every table, in key order: two files with the same text hold the same data.
QString conteudo(const QString &arquivo)
{
    sqlite3 *db = nullptr;
    QString texto;
    sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *tabelas = nullptr;
    sqlite3_prepare_v2(db, "Select name from sqlite_schema Where type = 'table' Order By name", -1, &tabelas, nullptr);
    while (sqlite3_step(tabelas) == SQLITE_ROW) {
        const QByteArray tabela(reinterpret_cast<const char *>(sqlite3_column_text(tabelas, 0)));
        texto += QString::fromUtf8(tabela) + u':';
        sqlite3_stmt *linhas = nullptr;
        sqlite3_prepare_v2(db, "Select * from \"" + tabela + "\" Order By rowid", -1, &linhas, nullptr);
        while (sqlite3_step(linhas) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(linhas); ++i)
                texto += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(linhas, i))) + u'|';
        sqlite3_finalize(linhas);
    }
    sqlite3_finalize(tabelas);
    sqlite3_close(db);
    return texto;
}

void executar(const QString &arquivo, const char *sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(arquivo.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

constexpr const char *usuario = "Insert into Usuarios (Login,Nome,Email,FoneRes,FoneCel,Aniversario) values ('%1','%1','a@b.c',' ',' ','1900-01-01');"
                                "Insert into Configuracao (Usuario,InicioGrade,FinalGrade,Intervalos,PosicaoAniversarios,SomCompromisso,ChecagemGeral,VisualizarCompartilhamento) "
                                "Select max(Codigo),'08:00','17:00',60,'A','Nenhum',1,'S' from Usuarios;";

struct PontaAPonta : ::testing::Test {
    QTemporaryDir dados, execucao;
    QString arquivo;
    xtest::XClient x{xtest::testServer().display()};
    // The desktop the helpers below start programs on and drive: the test's own unless a test
    // opens a second one.
    std::string tela = xtest::testServer().display();
    xtest::XClient *cliente = &x;
    std::string pastaDeExecucao;

    void SetUp() override
    {
        QFile::setPermissions(execucao.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        arquivo = dados.filePath(QStringLiteral("dadosu.lst"));
        pastaDeExecucao = execucao.path().toStdString();
        ASSERT_TRUE(CriarBaseVazia(arquivo).isEmpty());
    }
    void inserirUsuario(const char *login)
    {
        executar(arquivo, QString::fromLatin1(usuario).arg(QLatin1String(login)).toUtf8().constData());
    }
    xtest::ChildProcess iniciar(const std::string &localidade = {})
    {
        return iniciarCom({}, localidade.empty() ? std::vector<std::string>{} : std::vector<std::string>{"LC_ALL=" + localidade});
    }
    // The program with arguments and further environment variables.
    xtest::ChildProcess iniciarCom(std::vector<std::string> argumentos, std::vector<std::string> ambiente)
    {
        argumentos.insert(argumentos.begin(), VELORA_BINARIO);
        ambiente.insert(ambiente.end(), {"VELORA_DADOS=" + dados.path().toStdString(), "XDG_RUNTIME_DIR=" + pastaDeExecucao,
                                         "QT_QPA_PLATFORM=xcb", "DISPLAY=" + tela});
        return xtest::spawnProgram(argumentos, ambiente);
    }
    // The program's shown window with this title, or none.
    xcb_window_t janela(const std::string &titulo)
    {
        for (xcb_window_t w : cliente->clientList())
            if (cliente->text(w, "_NET_WM_NAME") == titulo && cliente->viewable(w))
                return w;
        return XCB_NONE;
    }
    xcb_window_t esperarJanela(const std::string &titulo)
    {
        xcb_window_t w = XCB_NONE;
        EXPECT_TRUE(cliente->waitUntil([&] { return (w = janela(titulo)) != XCB_NONE; }, 20s)) << "sem a janela " << titulo;
        return w;
    }
    bool esperarSumir(const std::string &titulo)
    {
        return cliente->waitUntil([&] { return janela(titulo) == XCB_NONE; }, 20s);
    }
    // Runs xdotool with the arguments and waits for it.
    void xdotool(std::vector<std::string> argumentos)
    {
        argumentos.insert(argumentos.begin(), "xdotool");
        xtest::ChildProcess p = xtest::spawnProgram(argumentos, {"DISPLAY=" + tela});
        ASSERT_TRUE(p.waitForExit(20s)) << "xdotool não terminou";
    }
    void ativar(xcb_window_t w) { xdotool({"windowactivate", "--sync", std::to_string(w)}); }
    void clicar(xcb_window_t w, int px, int py, int vezes = 1, int botao = 1)
    {
        xdotool({"mousemove", "--window", std::to_string(w), std::to_string(px), std::to_string(py), "click", "--repeat",
                 std::to_string(vezes), "--delay", "60", std::to_string(botao)});
    }
    void digitar(const std::string &texto) { xdotool({"type", "--delay", "20", texto}); }
    void tecla(const std::string &t) { xdotool({"key", t}); }
    // The window manager's frame around a window (the root while it is not managed).
    xcb_window_t moldura(xcb_window_t w)
    {
        xcb_query_tree_reply_t *r = xcb_query_tree_reply(cliente->connection(), xcb_query_tree(cliente->connection(), w), nullptr);
        const xcb_window_t pai = r ? r->parent : XCB_NONE;
        std::free(r);
        return pai;
    }
    // Answers the message box with Enter and waits until that showing is over: the box is gone,
    // or already shown again for the next message, in a new frame.
    void responderMensagem()
    {
        const xcb_window_t caixa = esperarJanela("Mensagem do Velora");
        const xcb_window_t frame = moldura(caixa);
        ativar(caixa);
        tecla("Return");
        EXPECT_TRUE(cliente->waitUntil([&] { return !cliente->viewable(caixa) || moldura(caixa) != frame; }, 20s));
    }
};

} // namespace

TEST_F(PontaAPonta, ComecaNoLogonSoUmaCopiaRodaEOUsuarioEntra)
{
    inserirUsuario("ANA");
    inserirUsuario("BIA");
    xtest::ChildProcess primeira = iniciar();
    const xcb_window_t logon = esperarJanela("Velora");
    EXPECT_EQ(janela("Agenda Velora"), XCB_NONE);

    xtest::ChildProcess segunda = iniciar();
    EXPECT_TRUE(segunda.waitForExit(20s)) << "a segunda cópia continuou rodando";
    EXPECT_TRUE(primeira.running());
    int logons = 0;
    for (xcb_window_t w : x.clientList())
        logons += x.text(w, "_NET_WM_NAME") == "Velora" && x.viewable(w);
    EXPECT_EQ(logons, 1);

    ativar(logon);
    clicar(logon, 140, 48);
    digitar("bia");
    tecla("Return");
    esperarJanela("Agenda Velora");
    EXPECT_TRUE(esperarSumir("Velora"));
}

TEST_F(PontaAPonta, UnicoUsuarioSemSenhaVaiDiretoParaAAgenda)
{
    inserirUsuario("ANA");
    xtest::ChildProcess velora = iniciar();
    esperarJanela("Agenda Velora");
    EXPECT_EQ(janela("Velora"), XCB_NONE);
}

TEST_F(PontaAPonta, NovaContaEUmCompromissoRepetido)
{
    xtest::ChildProcess velora = iniciar();
    responderMensagem();  // first run: no user yet
    const xcb_window_t logon = esperarJanela("Velora");
    ativar(logon);
    clicar(logon, 140, 48);  // the login box
    digitar("caio");
    tecla("alt+n");
    const xcb_window_t agenda = esperarJanela("Agenda Velora");
    ASSERT_NE(agenda, XCB_NONE);
    ativar(agenda);
    clicar(agenda, 560, 78);  // name
    digitar("Caio Prado");
    clicar(agenda, 560, 198);  // e-mail
    digitar("caio@exemplo.com.br");
    tecla("alt+g");
    responderMensagem();  // "Dados Gravados e Atualizados com Sucesso !"
    ASSERT_TRUE(x.waitUntil([&] { return valor(arquivo, "Select Nome from Usuarios Where Login='CAIO'") == "Caio Prado"; }, 20s));
    EXPECT_EQ(valor(arquivo, "Select count(*) from Configuracao"), QStringLiteral("1"));

    // Appointments: the 09:00 slot of today, until 10:30, on every weekday left in the week.
    clicar(agenda, 343 + 49, 472 + 13);  // the appointments tab
    ASSERT_TRUE(x.waitUntil([&] { return valor(arquivo, "Select Pastinha from Usuarios") == "Compromissos"; }, 20s));
    clicar(agenda, 560, 120, 2);  // the 09:00 row (08:00 to 17:00, hourly)
    clicar(agenda, 344 + 300 + 28, 48 + 32 + 38 + 10);  // end time
    digitar("1030");
    clicar(agenda, 544, 48 + 32 + 68 + 50);  // description
    digitar("Dentista");
    clicar(agenda, 344 + 114 + 130, 48 + 32 + 240 + 14);  // repeat choice
    tecla("Down");
    tecla("Return");
    tecla("alt+s");

    int dias = 1;
    for (QDate d = QDate::currentDate().addDays(1); d.dayOfWeek() != Qt::Saturday; d = d.addDays(1))
        ++dias;
    const QString esperado = QString::number(3 * dias);
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, "Select count(*) from Compromissos Where Compromisso='Dentista'") == esperado; }, 20s))
        << "compromissos gravados: " << valor(arquivo, "Select count(*) from Compromissos").toStdString();
    const char *hoje = "Select group_concat(substr(Hora,1,5)) from (Select Hora from Compromissos Where Data = date('now','localtime') Order By Hora)";
    EXPECT_EQ(valor(arquivo, hoje), QStringLiteral("09:00,10:00,10:30"));

    // Today's one moves to 14:00-15:00: its continuation rows follow.
    clicar(agenda, 560, 120, 2);
    clicar(agenda, 344 + 124 + 28, 48 + 32 + 38 + 10);  // start time
    tecla("ctrl+a");
    digitar("1400");
    clicar(agenda, 344 + 300 + 28, 48 + 32 + 38 + 10);
    tecla("ctrl+a");
    digitar("1500");
    tecla("alt+s");
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, hoje) == "14:00,15:00"; }, 20s)) << valor(arquivo, hoje).toStdString();

    // And is deleted, with its continuation row.
    clicar(agenda, 560, 96 + 6 * 16 + 8, 2);  // the 14:00 row
    tecla("alt+e");
    responderMensagem();  // "Você Confirma Exclusão desse Compromisso?"
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, hoje).isEmpty(); }, 20s)) << valor(arquivo, hoje).toStdString();
}

namespace {

// The text the X clipboard's owner gives as UTF-8, read through a window of the test's own.
struct AreaDeTransferencia {
    xtest::XClient &x;
    xcb_window_t janela;
    explicit AreaDeTransferencia(xtest::XClient &x) : x(x)
    {
        xtest::WindowSpec invisivel;
        invisivel.map = false;
        janela = x.openWindow(invisivel);
    }
    void esquecer() { xcb_delete_property(x.connection(), janela, x.atom("VELORA_AREA")); }
    void pedir()
    {
        xcb_convert_selection(x.connection(), janela, x.atom("CLIPBOARD"), x.atom("UTF8_STRING"), x.atom("VELORA_AREA"),
                              XCB_CURRENT_TIME);
        xcb_flush(x.connection());
    }
    std::string texto() { return x.text(janela, "VELORA_AREA"); }
};

// The screen's pixels under a window, as the user sees them.
// A printed PDF's text as pdftotext lays it out ("" after a failure, which is reported).
QString textoDoPdf(const QString &pdf)
{
    QProcess texto;
    texto.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const bool lido = texto.waitForFinished(30000) && texto.exitCode() == 0;
    EXPECT_TRUE(lido) << pdf.toStdString() << ": " << texto.readAllStandardError().toStdString();
    return lido ? QString::fromUtf8(texto.readAllStandardOutput()) : QString();
}

QImage capturar(xtest::XClient &x, xcb_window_t janela)
{
    const std::optional<xtest::ScreenRect> r = x.screenRect(janela);
    if (!r)
        return {};
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> imagem(
        xcb_get_image_reply(x.connection(), xcb_get_image(x.connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, x.root(), r->x, r->y, r->width, r->height, ~0u),
                            nullptr),
        &std::free);
    if (!imagem || imagem->depth != 24 || xcb_get_image_data_length(imagem.get()) != r->width * r->height * 4)
        return {};
    return QImage(xcb_get_image_data(imagem.get()), r->width, r->height, QImage::Format_RGB32).copy();
}

// Clock angles (degrees, clockwise from 12) at which a circle about the clock's centre crosses
// pixels that are the skin's own combined by XOR with one of the colours.
std::vector<int> angulosCom(const QImage &tela, const QImage &pele, double raio, std::initializer_list<QRgb> cores)
{
    const QPointF centro(92 + 75, 177 + 75);  // the face's place and half its size
    std::vector<int> angulos;
    for (int a = 0; a < 360; ++a) {
        const QPoint p = (centro + raio * QPointF(std::sin(qDegreesToRadians(a)), -std::cos(qDegreesToRadians(a)))).toPoint();
        for (const QRgb cor : cores)
            if ((tela.pixel(p) & 0xffffff) == ((pele.pixel(p) ^ cor) & 0xffffff)) {
                angulos.push_back(a);
                break;
            }
    }
    return angulos;
}

bool perto(int angulo, double de, double ate)
{
    const double d = std::fmod(angulo - de + 720, 360);
    return d <= ate - de;
}

} // namespace

TEST_F(PontaAPonta, CalculadoraSobVirgulaEPontoERelogioNaHora)
{
    inserirUsuario("ANA");
    AreaDeTransferencia area(x);
    const QImage pele = QImage(QStringLiteral(VELORA_PELE)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(pele.isNull());
    // Window places of the calculator's display and keys (frame at 16,342; keys 51 apart
    // across, 32 down, from row 34 of the frame).
    const auto clicarTeclas = [&](xcb_window_t agenda, const std::string &teclas) {
        const std::map<char, std::pair<int, int>> lugares = {
            {'7', {1, 0}}, {'8', {2, 0}}, {'9', {3, 0}}, {'/', {4, 0}}, {'C', {5, 0}}, {'4', {1, 1}}, {'5', {2, 1}},
            {'6', {3, 1}}, {'*', {4, 1}}, {'E', {5, 1}}, {'1', {1, 2}}, {'2', {2, 2}}, {'3', {3, 2}}, {'-', {4, 2}},
            {'%', {5, 2}}, {'0', {1, 3}}, {'.', {3, 3}}, {'+', {4, 3}}, {'=', {5, 3}}};
        for (const char t : teclas) {
            const auto [coluna, linha] = lugares.at(t);
            clicar(agenda, 16 + coluna * 51 + 23, 342 + 34 + linha * 32 + 14);
        }
    };
    // What the display shows, selected and copied as a user would.
    const auto display = [&](xcb_window_t agenda, const std::string &esperado) {
        area.esquecer();
        clicar(agenda, 200, 357);
        tecla("End");
        tecla("shift+Home");
        tecla("ctrl+c");
        const bool visto = x.waitUntil([&] {
            if (area.texto() == esperado)
                return true;
            area.pedir();
            return false;
        }, 20s);
        EXPECT_TRUE(visto) << "esperava " << esperado << ", o display tem " << area.texto();
    };

    for (const auto &[locale, separador] : {std::pair{"pt_BR.UTF-8", ","}, std::pair{"en_US.UTF-8", "."}}) {
        QTemporaryDir execucaoPropria;
        QFile::setPermissions(execucaoPropria.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        xtest::ChildProcess velora = xtest::spawnProgram(
            {VELORA_BINARIO}, {"VELORA_DADOS=" + dados.path().toStdString(), "XDG_RUNTIME_DIR=" + execucaoPropria.path().toStdString(),
                               "QT_QPA_PLATFORM=xcb", "DISPLAY=" + xtest::testServer().display(), std::string("LC_ALL=") + locale,
                               std::string("LANG=") + locale});
        const xcb_window_t agenda = esperarJanela("Agenda Velora");
        ASSERT_NE(agenda, XCB_NONE);
        ativar(agenda);
        const auto numero = [&](const char *comPonto) { return QString::fromLatin1(comPonto).replace(u'.', QLatin1String(separador)).toStdString(); };

        // 600 + 600, then + 1: typed and clicked the one way under the comma, the other way
        // under the point.
        clicar(agenda, 200, 357);
        if (std::string(separador) == ",") {
            digitar("600+600");
            tecla("Return");
            clicarTeclas(agenda, "+1=");
        } else {
            clicarTeclas(agenda, "600+600=");
            digitar("+1");
            tecla("Return");
        }
        display(agenda, numero("1201.00"));
        tecla("Escape");
        digitar("200+10%");
        display(agenda, numero("220.00"));
        clicarTeclas(agenda, "C200/10%");
        display(agenda, numero("2000.00"));
        tecla("Escape");
        digitar("10/0");
        tecla("Return");
        display(agenda, ". . . Erro . . .");

        // The hands where the time says: the minute hand alone reaches radius 44, and it went
        // by as much as 6 degrees further for the seconds when it was drawn; the hour hand is
        // at radius 28, over the minute hand where they cross. A sample point rounded to whole
        // pixels at radius 28 is up to 2 degrees off, beside the hand's own width.
        std::string relato;
        const bool naHora = x.waitUntil([&] {
            const QTime antes = QTime::currentTime();
            const QImage tela = capturar(x, agenda);
            if (tela.isNull() || QTime::currentTime().minute() != antes.minute())
                return false;
            const double minutos = antes.minute() * 6.0, horas = (antes.hour() % 12) * 30.0 + antes.minute() * 0.5;
            const QRgb minuto = qRgb(255, 255, 128), hora = qRgb(0, 192, 192);
            const std::vector<int> m = angulosCom(tela, pele, 44, {minuto}), h = angulosCom(tela, pele, 28, {hora, hora ^ minuto});
            relato = antes.toString().toStdString() + ": ponteiro dos minutos em";
            for (int a : m)
                relato += " " + std::to_string(a);
            relato += "; das horas em";
            for (int a : h)
                relato += " " + std::to_string(a);
            return !m.empty() && !h.empty() && std::all_of(m.begin(), m.end(), [&](int a) { return perto(a, minutos - 3, minutos + 9); }) &&
                   std::all_of(h.begin(), h.end(), [&](int a) { return perto(a, horas - 6, horas + 6); });
        }, 20s);
        EXPECT_TRUE(naHora) << relato;
    }
}

// The pixels of a part of a window, to see that what it shows changed or came back.
std::vector<std::uint8_t> pixels(xtest::XClient &x, xcb_window_t w, int px, int py, int largura, int altura)
{
    xcb_get_image_reply_t *r = xcb_get_image_reply(
        x.connection(), xcb_get_image(x.connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, w, px, py, largura, altura, ~0u), nullptr);
    if (!r)
        return {};
    const std::uint8_t *dados = xcb_get_image_data(r);
    std::vector<std::uint8_t> copia(dados, dados + xcb_get_image_data_length(r));
    std::free(r);
    return copia;
}

TEST_F(PontaAPonta, LivroCaixaComSaldosNasLocalidadesDeVirgulaEDePonto)
{
    const int ano = QDate::currentDate().year();
    const std::string saldoDezembro = "Select M12 from Saldos Where Ano = " + std::to_string(ano);
    const std::string saldoJaneiro = "Select M1 from Saldos Where Ano = " + std::to_string(ano + 1);
    const char *lancamentos = "Select group_concat(Descricao||':'||ifnull(Recebido,'-')||':'||ifnull(Pago,'-')||':'||Efetuado, ' ') "
                              "from (Select * from Financas Order By Chave)";
    for (const char *localidade : {"pt_BR.UTF-8", "en_US.UTF-8"}) {
        SCOPED_TRACE(localidade);
        QFile::remove(arquivo);
        ASSERT_TRUE(CriarBaseVazia(arquivo).isEmpty());
        inserirUsuario("ANA");
        executar(arquivo, "Update Usuarios set Pastinha = 'Financas'");
        xtest::ChildProcess velora = iniciar(localidade);
        const xcb_window_t agenda = esperarJanela("Agenda Velora");
        ASSERT_NE(agenda, XCB_NONE);
        ativar(agenda);
        // The panel stands at (344, 48) of the window; the current balance box at (154, 297) of it.
        const auto saldoAtual = [&] { return pixels(x, agenda, 344 + 156, 48 + 299, 96, 17); };
        const auto valorDe = [&](const std::string &sql) { return valor(arquivo, sql.c_str()).toStdString(); };
        // The number boxes drop control keys (Ctrl+A among them): the text is selected with Shift.
        const auto selecionarTudo = [&] { xdotool({"key", "End", "shift+Home"}); };
        const auto recusado = [&] {
            responderMensagem();
            ativar(agenda);
        };

        // December of this year, after the year box refused an empty year and 2100.
        clicar(agenda, 409, 61);
        tecla("End");
        tecla("Return");
        clicar(agenda, 506, 61);
        selecionarTudo();
        tecla("BackSpace");
        clicar(agenda, 588, 61);
        recusado();  // "Informe o Ano!"
        digitar("2100");
        clicar(agenda, 588, 61);
        recusado();  // "Informe um Ano Válido!"
        selecionarTudo();
        digitar(std::to_string(ano));
        clicar(agenda, 588, 61);
        const auto semSaldo = saldoAtual();

        // The opening balance, stored on leaving the box; a text that is no number is refused.
        clicar(agenda, 548, 327);
        selecionarTudo();
        digitar("1500.75");
        tecla("Tab");
        ASSERT_TRUE(x.waitUntil([&] { return valorDe(saldoDezembro) == "1500.75"; }, 20s)) << valorDe(saldoDezembro);
        ASSERT_TRUE(x.waitUntil([&] { return saldoAtual() != semSaldo; }, 20s));
        const auto abertura = saldoAtual();
        clicar(agenda, 548, 327);
        selecionarTudo();
        digitar("1.2.3");
        tecla("Tab");
        recusado();  // "Informe um Valor Válido para o Saldo Inicial!"
        EXPECT_EQ(valorDe(saldoDezembro), "1500.75");
        EXPECT_EQ(valorDe("Select count(*) from Saldos"), "1");

        // A carried-out receipt, after the refusals of the entry panel (which covers the box).
        clicar(agenda, 419, 394);  // "&Novo Lançamento"
        ASSERT_TRUE(x.waitUntil([&] { return saldoAtual() != abertura; }, 20s));
        const auto coberto = saldoAtual();
        // The box shown again, once the entry panel is gone, holding what the condition wants.
        const auto saldoMostrado = [&](const std::function<bool(const std::vector<std::uint8_t> &)> &condicao) {
            return x.waitUntil([&] {
                const auto agora = saldoAtual();
                return agora != coberto && condicao(agora);
            }, 20s);
        };
        tecla("alt+s");
        recusado();  // "Informe uma Descrição para o Lançamento!"
        digitar("Salario");
        for (const char *refusado : {"0", "-"}) {
            clicar(agenda, 661, 280);  // the amount
            selecionarTudo();
            digitar(refusado);
            tecla("alt+s");
            recusado();  // "Informe um Valor para o Lançamento!"
        }
        EXPECT_EQ(valorDe("Select count(*) from Financas"), "0");
        clicar(agenda, 661, 280);
        selecionarTudo();
        digitar("250.5");
        tecla("alt+s");
        ASSERT_TRUE(x.waitUntil([&] { return valorDe(lancamentos) == "Salario:250.5:-:S"; }, 20s)) << valorDe(lancamentos);
        ASSERT_TRUE(saldoMostrado([&](const auto &p) { return p != abertura; }));
        const auto comRecebido = saldoAtual();

        // A planned payment: listed, not counted.
        clicar(agenda, 419, 394);
        digitar("Aluguel");
        clicar(agenda, 480, 281);  // "Pago"
        clicar(agenda, 400, 311);  // "Lançamento Efetuado" off
        clicar(agenda, 661, 280);
        selecionarTudo();
        digitar("100");
        tecla("alt+s");
        ASSERT_TRUE(x.waitUntil([&] { return valorDe(lancamentos) == "Salario:250.5:-:S Aluguel:-:100.0:N"; }, 20s)) << valorDe(lancamentos);
        EXPECT_TRUE(saldoMostrado([&](const auto &p) { return p == comRecebido; }));
        // Edited into a carried-out payment, the balance follows; back to planned, it returns.
        for (const char *efetuado : {"S", "N"}) {
            clicar(agenda, 494, 48 + 32 + 42, 2);  // the second row
            clicar(agenda, 400, 311);
            tecla("alt+s");
            const std::string esperado = std::string("Salario:250.5:-:S Aluguel:-:100.0:") + efetuado;
            ASSERT_TRUE(x.waitUntil([&] { return valorDe(lancamentos) == esperado; }, 20s)) << valorDe(lancamentos);
            EXPECT_TRUE(saldoMostrado([&](const auto &p) { return (p == comRecebido) == (*efetuado == 'N'); }));
        }

        // The receipt deleted: the balance is the opening one again.
        clicar(agenda, 494, 48 + 32 + 26, 2);  // the first row
        tecla("alt+e");
        responderMensagem();  // "Você Confirma Exclusão desse Lançamento?"
        ASSERT_TRUE(x.waitUntil([&] { return valorDe(lancamentos) == "Aluguel:-:100.0:N"; }, 20s)) << valorDe(lancamentos);
        EXPECT_TRUE(saldoMostrado([&](const auto &p) { return p == abertura; }));

        // Imported into January of the next year: December's opening plus all its entries.
        clicar(agenda, 409, 61);
        tecla("Home");
        tecla("Return");
        clicar(agenda, 506, 61);
        selecionarTudo();
        digitar(std::to_string(ano + 1));
        clicar(agenda, 588, 61);
        clicar(agenda, 617, 327);  // "Importar o Saldo Atual do Mês Anterior"
        EXPECT_TRUE(x.waitUntil([&] { return valorDe(saldoJaneiro) == "1400.75"; }, 20s)) << valorDe(saldoJaneiro);
        velora.stop();
    }
}

namespace {

// A cell's day drawn in the colour of a marked day: dark blue, or dark red on Sundays.
bool diaMarcado(const QImage &celula, bool domingo)
{
    for (int y = 0; y < celula.height(); ++y)
        for (int x = 0; x < celula.width(); ++x) {
            const QRgb c = celula.pixel(x, y);
            const int r = qRed(c), g = qGreen(c), b = qBlue(c);
            if (domingo ? r >= 90 && r <= 170 && g < 50 && b < 50 : b - std::max(r, g) > 60)
                return true;
        }
    return false;
}

} // namespace

// The program starts hidden in the tray with the one-minute interval and the scan every half
// second (VELORA_CHECAGEM_MS). Five rows are due: the reminder comes in front of the program the
// user is in, once per row, in order, and each button changes the rows it should; then the month
// calendar marks the days and opens one in the grid; the end from the tray with a reminder open
// ends the program.
TEST_F(PontaAPonta, LembretesEmOrdemECalendarioDoMes)
{
    xtest::ChildProcess bandeja = xtest::spawnProgram({"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                                       "--width", "120", "--height", "24"},
                                                      {"DISPLAY=" + xtest::testServer().display()});
    ASSERT_TRUE(x.waitUntil([&] { return x.selectionOwner("_NET_SYSTEM_TRAY_S0") != XCB_NONE; }, 20s)) << "trayer não ofereceu a bandeja";
    inserirUsuario("ANA");
    executar(arquivo,
             "Update Usuarios set Pastinha='Compromissos'; Update Configuracao set SomCompromisso='Cuco';"
             "Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) values "
             "(1,date('now','localtime'),NULL,NULL,'Aniversário de Bia',0,'2','N'),"
             "(1,date('now','localtime','-1 day'),'08:00:00',NULL,'Ligar',0,'0','N'),"
             "(1,date('now','localtime','-1 day'),'09:00:00','10:00:00','Reunião',0,'0','N'),"
             "(1,date('now','localtime','-1 day'),'10:00:00',NULL,'Reunião',3,'0','N'),"
             "(1,date('now','localtime','-1 day'),'11:00:00','12:00:00','Viagem',0,'0','N'),"
             "(1,date('now','localtime','-1 day'),'12:00:00',NULL,'Viagem',5,'0','N'),"
             "(1,date('now','localtime'),time('now','localtime'),NULL,'Agora',0,'0','N');");
    xtest::WindowSpec especificacao;
    especificacao.title = "Outro programa";
    especificacao.width = 700;
    especificacao.height = 500;
    const xcb_window_t outro = x.openWindow(especificacao);
    ativar(outro);

    xtest::ChildProcess velora = iniciarCom({"bandeja"}, {"VELORA_CHECAGEM_MS=500"});
    xcb_window_t lembrete = esperarJanela("Lembrete Velora");
    ASSERT_NE(lembrete, XCB_NONE);
    x.watch(lembrete);
    EXPECT_EQ(janela("Agenda Velora"), XCB_NONE) << "a agenda devia continuar na bandeja";
    const auto posicao = [&](xcb_window_t w) {
        const std::vector<xcb_window_t> pilha = x.clientList();
        return std::find(pilha.begin(), pilha.end(), w) - pilha.begin();
    };
    EXPECT_TRUE(x.waitUntil([&] { return posicao(lembrete) > posicao(outro); }, 20s)) << "o lembrete ficou atrás de outra janela";

    // Each showing may be a new X window (the topmost step makes the toolkit recreate it): the
    // next reminder is a window other than the last one, or the last one mapped again.
    int mapas = x.mapCount(lembrete);
    const auto proximo = [&] {
        xcb_window_t novo = XCB_NONE;
        EXPECT_TRUE(x.waitUntil([&] {
            novo = janela("Lembrete Velora");
            return novo != XCB_NONE && (novo != lembrete || x.mapCount(lembrete) > mapas);
        }, 20s)) << "o lembrete seguinte não veio";
        lembrete = novo;
        x.watch(lembrete);
        mapas = x.mapCount(lembrete);
    };
    const auto ate = [&](const char *sql, const QString &esperado) {
        EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, sql) == esperado; }, 20s))
            << sql << ": " << valor(arquivo, sql).toStdString() << " em vez de " << esperado.toStdString();
    };
    const QDate hoje = QDate::currentDate(), amanha = hoje.addDays(1);
    const auto reagendar = [&] {  // the first entry of the list, then "&ReAgendar"
        clicar(lembrete, 254, 230);
        tecla("Home");
        tecla("Return");
        clicar(lembrete, 362, 230);
    };

    clicar(lembrete, 311, 272);  // "Avisar &Próximo Ano"
    ate("Select Data from Compromissos Where Chave = 1", hoje.addYears(1).toString(Qt::ISODate));
    proximo();
    clicar(lembrete, 311, 272);  // "&Compromisso Executado" on the 08:00 of yesterday
    ate("Select Status from Compromissos Where Chave = 2", QStringLiteral("1"));
    proximo();
    clicar(lembrete, 109, 272);  // "&Excluir Compromisso" on 09:00-10:00, ordered by its end
    ate("Select count(*) from Compromissos Where Compromisso = 'Reunião'", QStringLiteral("0"));
    proximo();
    reagendar();  // 11:00-12:00 by "   1 dia": from today, with its continuation row
    ate("Select group_concat(Data || ' ' || Hora) from Compromissos Where Compromisso = 'Viagem'",
        amanha.toString(Qt::ISODate) + QStringLiteral(" 11:00:00,") + amanha.toString(Qt::ISODate) + QStringLiteral(" 12:00:00"));
    proximo();
    reagendar();  // the one due now, by "   5 minutos"
    ate("Select Status || (datetime(Data || ' ' || Hora) > datetime('now', 'localtime')) from Compromissos Where Chave = 7", QStringLiteral("01"));
    EXPECT_TRUE(esperarSumir("Lembrete Velora"));

    // The tray icon shows the main window, on the appointments panel.
    xcb_window_t icone = XCB_NONE;
    ASSERT_TRUE(x.waitUntil([&] {
        for (xcb_window_t t : x.descendants(x.root()))
            if (x.wmClass(t).second == "trayer" || x.wmClass(t).second == "Trayer")
                for (xcb_window_t w : x.descendants(t))
                    if (x.wmClass(w).first == "velora" && x.viewable(w))
                        return (icone = w) != XCB_NONE;
        return false;
    }, 20s)) << "sem o ícone na bandeja";
    clicar(icone, 8, 8);
    const xcb_window_t agenda = esperarJanela("Agenda Velora");
    ASSERT_NE(agenda, XCB_NONE);
    ativar(agenda);
    clicar(agenda, 359, 447);  // the month calendar
    if (amanha.month() != hoje.month())
        clicar(agenda, 374, 101);  // ">>"
    clicar(agenda, 539, 373);  // "&Negritar os Dias com Compromissos"
    const auto celula = [&](const QDate &d) {
        const int i = QDate(d.year(), d.month(), 1).dayOfWeek() % 7 + d.day() - 1;
        return QPoint(344 + 13 + i % 7 * 52, 80 + 64 + i / 7 * 34);
    };
    QDate livre = QDate(amanha.year(), amanha.month(), 1);
    while (livre >= hoje.addDays(-1) && livre <= amanha.addDays(1))
        livre = livre.addDays(1);
    const auto marcado = [&](const QDate &d) {
        const QPoint c = celula(d);
        return diaMarcado(capturar(x, agenda).copy(c.x(), c.y(), 48, 32), d.dayOfWeek() == 7);
    };
    EXPECT_TRUE(x.waitUntil([&] { return marcado(amanha); }, 20s)) << "o dia de amanhã não ficou em negrito";
    EXPECT_FALSE(marcado(livre)) << livre.toString(Qt::ISODate).toStdString() << " não tem compromissos";

    // Tomorrow opens in the grid: its 11:00 row is the rescheduled trip, deleted from there.
    const QPoint c = celula(amanha);
    clicar(agenda, c.x() + 24, c.y() + 16, 2);
    clicar(agenda, 560, 152, 2);  // the 11:00 row
    tecla("alt+e");
    responderMensagem();  // "Você Confirma Exclusão desse Compromisso?"
    ate("Select count(*) from Compromissos Where Compromisso = 'Viagem'", QStringLiteral("0"));

    // A reminder open when the program is ended from the tray: it ends, the row as it was.
    executar(arquivo, "Insert into Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                      "values (1,date('now','localtime','-1 day'),'15:00:00','Pagar conta',0,'0','N')");
    esperarJanela("Lembrete Velora");
    clicar(icone, 8, 8, 1, 3);
    tecla("e");  // "&Encerrar"
    ASSERT_TRUE(velora.waitForExit(20s)) << "a agenda não terminou";
    EXPECT_TRUE(WIFEXITED(velora.exitStatus()) && WEXITSTATUS(velora.exitStatus()) == 0);
    EXPECT_EQ(valor(arquivo, "Select Status from Compromissos Where Compromisso = 'Pagar conta'"), QStringLiteral("0"));
}

TEST_F(PontaAPonta, EnderecosComAniversarioCompartilhamentoEEmail)
{
    inserirUsuario("ANA");
    inserirUsuario("BIA");
    // The mail program: a stand-in for xdg-open that notes its arguments, one per line.
    QTemporaryDir programas;
    const QString emails = programas.filePath(QStringLiteral("emails.txt"));
    {
        QFile abridor(programas.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(abridor.open(QIODevice::WriteOnly));
        abridor.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" >> '%1'\n").arg(emails).toUtf8());
        abridor.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const auto lerEmails = [&] {
        QFile f(emails);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    xtest::ChildProcess velora = xtest::spawnProgram(
        {VELORA_BINARIO}, {"VELORA_DADOS=" + dados.path().toStdString(), "XDG_RUNTIME_DIR=" + execucao.path().toStdString(),
                           "QT_QPA_PLATFORM=xcb", "DISPLAY=" + xtest::testServer().display(),
                           "PATH=" + programas.path().toStdString() + ":" + qEnvironmentVariable("PATH").toStdString()});
    xcb_window_t agenda = XCB_NONE;
    const auto entrar = [&](const char *login) {
        const xcb_window_t logon = esperarJanela("Velora");
        ativar(logon);
        clicar(logon, 140, 48);
        tecla("End");
        tecla("shift+Home");  // the planner's boxes drop control keys, ctrl+a among them
        digitar(login);
        tecla("Return");
        agenda = esperarJanela("Agenda Velora");
        // Shown again after a logout, the window may stand partly off the screen: bring it
        // where every click below can reach.
        xdotool({"windowmove", "--sync", std::to_string(agenda), "0", "0"});
        ativar(agenda);
        clicar(agenda, 479, 485);  // the address book's tab
        ASSERT_TRUE(x.waitUntil([&] {
            return valor(arquivo, QStringLiteral("Select Pastinha from Usuarios Where Login='%1'").arg(QString::fromLatin1(login).toUpper()).toUtf8()) ==
                   "Enderecos";
        }, 20s));
    };
    const auto sair = [&] {
        clicar(agenda, 637, 21);
        EXPECT_TRUE(esperarSumir("Agenda Velora"));
    };
    // Buttons are clicked with the mouse where a step depends on them at once (a key's
    // mnemonic presses its button a moment later).
    const auto pesquisar = [&] { clicar(agenda, 464, 447); };
    const auto novoContato = [&] { clicar(agenda, 665, 447); };
    const auto primeiraLinha = [&] { clicar(agenda, 420, 121, 2); };
    const auto email = [&] { clicar(agenda, 711, 244); };
    const auto caixa = [&](int px, int py, const std::string &texto) {
        clicar(agenda, px, py);
        tecla("End");
        tecla("shift+Home");
        digitar(texto);
    };
    const auto nome = [&](const std::string &t) { caixa(560, 138, t); };
    const auto aniversario = [&](const std::string &t) { caixa(641, 294, t); };
    const char *contato = "Select Nome||'|'||ifnull(Aniversario,'')||'|'||Compartilhado||'|'||ChaveAniversario from Enderecos "
                          "Where Usuario = (Select Codigo from Usuarios Where Login = 'ANA')";
    const char *linhaDeAniversario = "Select Chave||'|'||Data||'|'||Compromisso||'|'||Compartilhado||'|'||ifnull(Hora,'-') from Compromissos Where Status = '2'";
    const auto dia = [](int dias) {
        const QDate d = QDate::currentDate().addDays(dias);
        return d.month() == 2 && d.day() == 29 ? d.addDays(1) : d;
    };

    entrar("ana");
    // An empty name and 29/02 are refused with nothing written.
    novoContato();
    tecla("alt+s");
    responderMensagem();  // "Informe o Nome do Contato!"
    nome("maria souza");
    aniversario("2902");
    tecla("alt+s");
    responderMensagem();  // "Informe o Aniversário em DD/MM!"
    EXPECT_EQ(valor(arquivo, "Select (Select count(*) from Enderecos) + (Select count(*) from Compromissos)"), QStringLiteral("0"));

    const QDate primeiro = dia(1), segundo = dia(3);
    aniversario(primeiro.toString(QStringLiteral("ddMM")).toStdString());
    caixa(560, 242, "maria@exemplo.com.br");
    tecla("alt+s");
    ASSERT_TRUE(x.waitUntil([&] { return !valor(arquivo, linhaDeAniversario).isEmpty(); }, 20s));
    const QString chave = valor(arquivo, linhaDeAniversario).section(u'|', 0, 0);
    EXPECT_EQ(valor(arquivo, linhaDeAniversario),
              chave + QStringLiteral("|%1|Aniversário Maria souza|N|-").arg(primeiro.toString(Qt::ISODate)));
    EXPECT_EQ(valor(arquivo, contato), QStringLiteral("Maria souza|%1|N|%2").arg(primeiro.toString(QStringLiteral("dd/MM")), chave));

    // Found under its letter (M) and changed: the birthday row follows the name, the date and
    // the share box.
    clicar(agenda, 358, 80);
    primeiraLinha();
    nome("Mariana Souza");
    aniversario(segundo.toString(QStringLiteral("ddMM")).toStdString());
    clicar(agenda, 440, 403);  // share
    tecla("alt+s");
    const QString movida = chave + QStringLiteral("|%1|Aniversário Mariana Souza|S|-").arg(segundo.toString(Qt::ISODate));
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, linhaDeAniversario) == movida; }, 20s)) << valor(arquivo, linhaDeAniversario).toStdString();

    // Found by a search; its e-mail button hands the address to the mail program as one argument.
    caixa(566, 362, "SOUZA");
    pesquisar();
    primeiraLinha();
    email();
    EXPECT_TRUE(x.waitUntil([&] { return lerEmails() == "1\nmailto:maria@exemplo.com.br\n"; }, 20s)) << lerEmails().toStdString();
    sair();

    // Another user sees it shared and read-only: its e-mail works, saving and deleting do not
    // (a message box or a failed save would stand in the way of the own contact saved after).
    entrar("bia");
    pesquisar();
    primeiraLinha();
    email();
    EXPECT_TRUE(x.waitUntil([&] { return lerEmails().count(QStringLiteral("mailto:maria@")) == 2; }, 20s));
    tecla("alt+s");
    tecla("alt+e");
    clicar(agenda, 685, 443);  // back
    novoContato();
    nome("Zuleica");
    caixa(560, 242, "zuleica@exemplo.com.br");
    tecla("alt+s");
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, "Select count(*) from Enderecos Where Nome = 'Zuleica'") == "1"; }, 20s));
    EXPECT_EQ(valor(arquivo, contato), QStringLiteral("Mariana Souza|%1|S|%2").arg(segundo.toString(QStringLiteral("dd/MM")), chave));
    sair();

    // Without the preference the shared contact is not listed: the first row is her own.
    executar(arquivo, "Update Configuracao set VisualizarCompartilhamento = 'N' Where Usuario = (Select Codigo from Usuarios Where Login = 'BIA')");
    entrar("bia");
    pesquisar();
    primeiraLinha();
    email();
    EXPECT_TRUE(x.waitUntil([&] { return lerEmails().count(QStringLiteral("mailto:zuleica@")) == 1; }, 20s)) << lerEmails().toStdString();
    EXPECT_EQ(lerEmails().count(QStringLiteral("mailto:maria@")), 2);
    sair();

    // Deleted by its owner, with its birthday row.
    entrar("ana");
    pesquisar();
    primeiraLinha();
    tecla("alt+e");
    responderMensagem();  // "Você Confirma Exclusão desse Contato?"
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, contato).isEmpty() && valor(arquivo, "Select count(*) from Compromissos") == "0"; }, 20s));
}

TEST_F(PontaAPonta, TarefasENotaDeCadaUsuario)
{
    inserirUsuario("ANA");
    inserirUsuario("BIA");
    xtest::ChildProcess velora = iniciar();
    const auto entrar = [&](const char *login) {
        const xcb_window_t logon = esperarJanela("Velora");
        ativar(logon);
        clicar(logon, 140, 48);
        tecla("End");  // the last login stays in the box
        xdotool({"key", "--repeat", "8", "BackSpace"});
        digitar(login);
        tecla("Return");
        EXPECT_TRUE(esperarSumir("Velora"));
        const xcb_window_t agenda = esperarJanela("Agenda Velora");
        ativar(agenda);
        return agenda;
    };
    const auto contar = [&](const char *sql, const char *esperado) {
        return x.waitUntil([&] { return valor(arquivo, sql) == QLatin1String(esperado); }, 20s);
    };
    const char *tarefasDaAna = "Select count(*) from Tarefas Where Usuario = (Select Codigo from Usuarios Where Login='ANA')";
    xcb_window_t agenda = entrar("ana");
    // The colour of one of the main window's pixels on the screen, as 0xRRGGBB.
    const auto pixel = [&](int px, int py) {
        const QImage tela = capturar(x, agenda);
        return tela.isNull() ? 0xFFFFFFFFu : tela.pixel(px, py) & 0xFFFFFFu;
    };

    // Tasks: the grid's rows start under its header; each one-line row is 19 pixels high.
    const auto linha = [](int n) { return 97 + (n - 1) * 19 + 9; };
    const int calendarioInicio = 344 + 9 + 13, calendarioFim = 344 + 201 + 13, primeiroDia = 80 + 54 + 23 + 21 + 10;
    clicar(agenda, 608, 485);  // the tasks tab
    ASSERT_TRUE(contar("Select Pastinha from Usuarios Where Login='ANA'", "Tarefas"));
    // The task form is up (its background shows right of the options) before anything is typed.
    const auto abrirFormulario = [&](int cliques, int y) {
        if (cliques)
            clicar(agenda, 544, y, cliques);
        else
            tecla("alt+n");
        EXPECT_TRUE(x.waitUntil([&] { return pixel(724, 320) == 0xFBF8F1; }, 20s)) << "sem o formulário da tarefa";
    };
    const auto nova = [&](const char *texto, int prioridadeX, int diaInicioX) {
        abrirFormulario(0, 0);
        digitar(texto);
        if (prioridadeX)
            clicar(agenda, prioridadeX, 312);
        if (diaInicioX) {
            clicar(agenda, 463, 122);  // start date calendar
            clicar(agenda, diaInicioX, primeiroDia);
        }
        tecla("alt+s");
    };
    nova("Baixa hoje", 608, 0);
    ASSERT_TRUE(contar(tarefasDaAna, "1"));
    nova("Alta hoje", 450, 0);
    ASSERT_TRUE(contar(tarefasDaAna, "2"));
    nova("Normal antes", 0, calendarioInicio);  // a day before this month's first
    ASSERT_TRUE(contar(tarefasDaAna, "3"));
    EXPECT_EQ(valor(arquivo, "Select Data = DataFim and DataFim < date('now','localtime') from Tarefas Where Descricao='Normal antes'"),
              QStringLiteral("1"));
    // By end date, then Alta before Baixa: pink, yellow, white.
    xdotool({"mousemove", "0", "0"});
    const QRgb rosa = 0xFFC0FF, amarelo = 0xFFFFC0, branco = 0xFFFFFF;
    EXPECT_TRUE(x.waitUntil([&] {
        return pixel(629, linha(1)) == rosa && pixel(629, linha(2)) == amarelo &&
               pixel(629, linha(3)) == branco;
    }, 20s)) << std::hex << pixel(629, linha(1)) << " " << pixel(629, linha(2)) << " " << pixel(629, linha(3));

    // The Baixa one is carried out.
    abrirFormulario(2, linha(3));
    clicar(agenda, 362, 343);  // "Tarefa Executada"
    tecla("alt+s");
    EXPECT_TRUE(contar("Select Status from Tarefas Where Descricao='Baixa hoje'", "1"));

    // An end date before the start is refused, and nothing is written.
    abrirFormulario(0, 0);
    digitar("Errada");
    clicar(agenda, 654, 122);  // end date calendar
    clicar(agenda, calendarioFim, primeiroDia);
    tecla("alt+s");
    responderMensagem();  // "Data Final não pode ser menor que Data Início!"
    tecla("alt+v");
    EXPECT_TRUE(x.waitUntil([&] { return pixel(724, 320) != 0xFBF8F1; }, 20s)) << "o formulário continua aberto";
    EXPECT_EQ(valor(arquivo, tarefasDaAna), QStringLiteral("3"));

    // The Alta one is deleted.
    abrirFormulario(2, linha(2));
    tecla("alt+e");
    responderMensagem();  // "Você Confirma Exclusão da Tarefa?"
    EXPECT_TRUE(contar(tarefasDaAna, "2"));
    EXPECT_EQ(valor(arquivo, "Select count(*) from Tarefas Where Descricao='Alta hoje'"), QStringLiteral("0"));

    // The note: saved, then found again after signing out and on.
    const char *notaDaAna = "Select Notas from Notas Where Usuario = (Select Codigo from Usuarios Where Login='ANA')";
    clicar(agenda, 660, 485);  // the notes tab
    ASSERT_TRUE(contar("Select Pastinha from Usuarios Where Login='ANA'", "Notas"));
    digitar("Minha nota");
    tecla("alt+s");
    ASSERT_TRUE(contar(notaDaAna, "Minha nota"));
    clicar(agenda, 637, 21);  // log out
    agenda = entrar("ana");
    clicar(agenda, 544, 300);
    tecla("ctrl+End");
    digitar(" e mais");
    tecla("alt+s");
    EXPECT_TRUE(contar(notaDaAna, "Minha nota e mais"));

    // Another user finds an empty note box and an empty task list.
    clicar(agenda, 637, 21);
    agenda = entrar("bia");
    clicar(agenda, 660, 485);
    ASSERT_TRUE(contar("Select Pastinha from Usuarios Where Login='BIA'", "Notas"));
    clicar(agenda, 544, 300);
    digitar("b");
    tecla("alt+s");
    EXPECT_TRUE(contar("Select group_concat(Notas) from Notas Where Usuario = (Select Codigo from Usuarios Where Login='BIA')", "b"));
    clicar(agenda, 608, 485);
    ASSERT_TRUE(contar("Select Pastinha from Usuarios Where Login='BIA'", "Tarefas"));
    xdotool({"mousemove", "0", "0"});
    EXPECT_TRUE(x.waitUntil([&] { return pixel(350, 70) != branco; }, 20s)) << "o painel de tarefas não foi pintado";
    for (int n : {1, 2})
        EXPECT_TRUE(pixel(629, linha(n)) != rosa && pixel(629, linha(n)) != amarelo) << n;

    // Back to the first user, whose note is cleared.
    clicar(agenda, 637, 21);
    agenda = entrar("ana");
    tecla("alt+l");
    responderMensagem();  // "Você Confirma Limpeza das Anotações?"
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, (QByteArray("Select Notas is Null from (") + notaDaAna + ")").constData()) == "1"; }, 20s));
    EXPECT_EQ(valor(arquivo, "Select count(*) from Notas"), QStringLiteral("2"));
}

TEST_F(PontaAPonta, BackupPelaAgendaERestauracaoPeloLoginReservado)
{
    inserirUsuario("ANA");
    executar(arquivo, "Insert into Compromissos (Usuario, Data, Compromisso, ChavePai, Status, Compartilhado) "
                      "Values (1, '2030-01-01', 'Guardado no backup', 0, '3', 'N')");
    QTemporaryDir midia;
    const QString backup = midia.filePath(QStringLiteral("Velora.Bck"));
    xtest::ChildProcess velora = iniciarCom({}, {"VELORA_DRIVE_A=" + midia.path().toStdString()});
    const xcb_window_t agenda = esperarJanela("Agenda Velora");
    ASSERT_NE(agenda, XCB_NONE);
    const QString noBackup = conteudo(arquivo);
    ativar(agenda);
    clicar(agenda, 458 + 12, 6 + 12);  // the backup button
    responderMensagem();  // "Backup Realizado com Sucesso!"

    // The stream before the trailer is zlib's, read back here with zlib's one-shot call.
    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    f.close();
    ASSERT_GT(b.size(), 17);
    const QByteArray trailer = b.right(17);
    EXPECT_EQ(trailer.left(5), QByteArray(5, '\0'));
    uLongf tamanho = uLongf(trailer.mid(5).left(11).toLongLong());
    ASSERT_GT(tamanho, 0u);
    EXPECT_EQ(trailer.at(16), trailer.at(15));
    QByteArray base(qsizetype(tamanho), '\0');
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef *>(base.data()), &tamanho, reinterpret_cast<const Bytef *>(b.constData()),
                         uLong(b.size() - 17)), Z_OK);
    EXPECT_EQ(qsizetype(tamanho), base.size());
    QFile descompactado(midia.filePath(QStringLiteral("descompactado.lst")));
    ASSERT_TRUE(descompactado.open(QIODevice::WriteOnly));
    descompactado.write(base);
    descompactado.close();
    EXPECT_EQ(conteudo(descompactado.fileName()), noBackup);
    descompactado.remove();

    // Data changed afterwards; the user logs out and restores from the logon window.
    executar(arquivo, "Delete from Compromissos");
    clicar(agenda, 622 + 12, 6 + 12);  // log out
    const xcb_window_t logon = esperarJanela("Velora");
    ASSERT_TRUE(esperarSumir("Agenda Velora"));
    const auto restaurar = [&] {
        ativar(logon);
        clicar(logon, 140, 48);  // the login box
        digitar("daradovezudi");
        tecla("Return");
        responderMensagem();  // "Você Confirma Restaução do Backup?": Enter confirms
        responderMensagem();  // the outcome
    };
    restaurar();
    EXPECT_TRUE(x.waitUntil([&] { return conteudo(arquivo) == noBackup; }, 20s)) << "os dados não voltaram";
    EXPECT_EQ(janela("Agenda Velora"), XCB_NONE);  // the user must sign on
    EXPECT_NE(janela("Velora"), XCB_NONE);

    // A damaged backup is refused, and the database file stays as it was, byte for byte.
    const auto hash = [&] {
        QFile base(arquivo);
        return base.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(base.readAll(), QCryptographicHash::Sha1) : QByteArray();
    };
    const QByteArray antes = hash();
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(b.size() - 19);  // the stream's checksum
    f.write(QByteArray(1, char(~b.at(b.size() - 19))));
    f.close();
    restaurar();
    EXPECT_EQ(hash(), antes);

    ativar(logon);
    clicar(logon, 140, 48);
    tecla("End");
    xdotool({"key", "--repeat", "15", "BackSpace"});  // the reserved login stays after a failure
    digitar("ana");
    tecla("Return");
    EXPECT_NE(esperarJanela("Agenda Velora"), XCB_NONE);
}

TEST_F(PontaAPonta, CadaPainelImprimeNoPdfPelaFiguraDaImpressora)
{
    inserirUsuario("ANA");
    executar(arquivo, "Insert into Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                      "values (1,date('now','localtime'),'09:00:00','Consulta marcada',0,'3','N')");
    executar(arquivo, "Insert into Enderecos(Usuario,Nome,Cidade,Compartilhado) values (1,'Maria Lima','Recife','N')");
    executar(arquivo, "Insert into Financas(Usuario,Data,Descricao,Recebido,Efetuado) values (1,date('now','localtime'),'Salario',250.5,'S')");
    executar(arquivo, "Insert into Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) "
                      "values (1,date('now','localtime'),date('now','localtime'),'Revisar contrato','0',0)");
    QTemporaryDir saida;
    const QString pdf = saida.filePath(QStringLiteral("relatorio.pdf"));
    xtest::ChildProcess velora = iniciarCom({}, {"VELORA_PDF=" + pdf.toStdString()});
    const xcb_window_t agenda = esperarJanela("Agenda Velora");
    ASSERT_NE(agenda, XCB_NONE);
    ativar(agenda);

    const struct {
        int abaX;
        const char *pastinha, *cabecalho, *linha;
    } paineis[] = {
        {343 + 49, "Compromissos", "Compromissos do Dia :", "Consulta marcada"},
        {443 + 36, "Enderecos", "Endereços da Agenda do", "Maria Lima"},
        {516 + 32, "Financas", "Financas do Mês de", "Salario"},
        {580 + 28, "Tarefas", "Tarefas da Agenda do", "Revisar contrato"},
    };
    for (const auto &p : paineis) {
        clicar(agenda, p.abaX, 485);
        ASSERT_TRUE(x.waitUntil([&] { return valor(arquivo, "Select Pastinha from Usuarios Where Login='ANA'") == QLatin1String(p.pastinha); }, 20s))
            << p.pastinha;
        clicar(agenda, 526 + 12, 9 + 12);  // the print picture
        responderMensagem();  // "Documento Impresso com Sucesso", shown once the PDF is written
        const QString lido = textoDoPdf(pdf);
        EXPECT_TRUE(lido.contains(QString::fromUtf8(p.cabecalho)) && lido.contains(QString::fromUtf8(p.linha)) &&
                    lido.contains(QStringLiteral("Página : 01")))
            << lido.toStdString();
        QFile::remove(pdf);
    }
}

// One PostgreSQL database made by the schema tool, two planners on two X displays, one user on
// each: each shares an appointment and finds the other's in the day grid, read back through the
// grid's printed report.
TEST_F(PontaAPonta, DuasTelasNoMesmoPostgresVeemOCompartilhadoUmDoOutro)
{
    const QString servidor = qEnvironmentVariable("VELORA_TESTE_POSTGRES");
    ASSERT_FALSE(servidor.isEmpty()) << "sem o servidor PostgreSQL dos testes";
    const auto psql = [&](const QString &base, const QString &sql) {
        QProcess p;
        p.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-A"), QStringLiteral("-t"),
                                         QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"), servidor,
                                         QStringLiteral("-U"), QStringLiteral("velora"), QStringLiteral("-d"), base, QStringLiteral("-c"), sql});
        EXPECT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    };
    const QString nome = QStringLiteral("velora_duas_telas_%1").arg(::getpid());
    psql(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE ") + nome);
    const auto apagar = qScopeGuard([&] { psql(QStringLiteral("postgres"), QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(nome)); });
    const QString uri = QStringLiteral("postgresql:///%1?host=%2&user=velora").arg(nome, servidor);
    ASSERT_EQ(CriarBaseVazia(uri), QString());
    for (const char *login : {"ANA", "BIA"})
        psql(nome, QString::fromLatin1(usuario).arg(QLatin1String(login)));

    QTemporaryDir pdfs, execucaoDaSegunda;
    QFile::setPermissions(execucaoDaSegunda.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto pdf = [&](const char *login) { return pdfs.filePath(QLatin1String(login) + QStringLiteral(".pdf")); };
    const auto iniciarComo = [&](const char *login) {
        return iniciarCom({}, {"VELORA_BANCO=" + uri.toStdString(), "VELORA_PDF=" + pdf(login).toStdString()});
    };
    // Signs on and books a shared appointment of today in the grid's row at y (hourly rows from
    // 08:00, 16 pixels apart).
    const auto entrarEAgendar = [&](const char *login, int y, const char *texto) {
        const xcb_window_t logon = esperarJanela("Velora");
        ativar(logon);
        clicar(logon, 140, 48);
        digitar(login);
        tecla("Return");
        const xcb_window_t agenda = esperarJanela("Agenda Velora");
        ativar(agenda);
        clicar(agenda, 343 + 49, 472 + 13);  // the appointments tab
        const QString pastinha = QStringLiteral("Select Pastinha from Usuarios Where Login = upper('%1')").arg(QLatin1String(login));
        EXPECT_TRUE(cliente->waitUntil([&] { return psql(nome, pastinha) == QLatin1String("Compromissos"); }, 20s));
        clicar(agenda, 560, y, 2);
        clicar(agenda, 544, 48 + 32 + 68 + 50);  // description
        digitar(texto);
        clicar(agenda, 344 + 20, 48 + 32 + 212 + 11);  // "Compartilhar esse Compromisso com outros usuários."
        tecla("alt+s");
        const QString compartilhado = QStringLiteral("Select Compartilhado from Compromissos Where Compromisso = '%1'").arg(QLatin1String(texto));
        EXPECT_TRUE(cliente->waitUntil([&] { return psql(nome, compartilhado) == QLatin1String("S"); }, 20s)) << texto;
        return agenda;
    };
    // The day grid printed from its picture, as text.
    const auto gradeImpressa = [&](xcb_window_t agenda, const char *login) {
        ativar(agenda);
        clicar(agenda, 344 + 114 + 73, 48 + 13);  // "Ir para o Dia de Hoje" builds the grid again
        clicar(agenda, 526 + 12, 9 + 12);
        responderMensagem();  // "Documento Impresso com Sucesso"
        return textoDoPdf(pdf(login));
    };

    xtest::ChildProcess ana = iniciarComo("ana");
    const xcb_window_t agendaDaAna = entrarEAgendar("ana", 120, "Consulta da Ana");

    xtest::XServer segunda;
    xtest::XClient y(segunda.display());
    tela = segunda.display();
    cliente = &y;
    pastaDeExecucao = execucaoDaSegunda.path().toStdString();
    xtest::ChildProcess bia = iniciarComo("bia");
    const xcb_window_t agendaDaBia = entrarEAgendar("bia", 136, "Reuniao da Bia");
    const QString daBia = gradeImpressa(agendaDaBia, "bia");
    EXPECT_TRUE(daBia.contains(QStringLiteral("Consulta da Ana [ANA]")) && daBia.contains(QStringLiteral("Reuniao da Bia"))) << daBia.toStdString();

    tela = xtest::testServer().display();
    cliente = &x;
    const QString daAna = gradeImpressa(agendaDaAna, "ana");
    EXPECT_TRUE(daAna.contains(QStringLiteral("Reuniao da Bia [BIA]")) && daAna.contains(QStringLiteral("Consulta da Ana"))) << daAna.toStdString();
    ana.stop();
    bia.stop();
}
