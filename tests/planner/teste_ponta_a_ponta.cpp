// The real velora program on a desktop of its own (Xvfb + openbox), driven as a user drives
// it: starting, a second start, a new account through the profile, and an appointment.

#include "XTestClient.h"
#include "XTestMain.h"
#include "esquema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <functional>
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

    void SetUp() override
    {
        QFile::setPermissions(execucao.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        arquivo = dados.filePath(QStringLiteral("dadosu.lst"));
        ASSERT_TRUE(CriarBaseVazia(arquivo).isEmpty());
    }
    void inserirUsuario(const char *login)
    {
        executar(arquivo, QString::fromLatin1(usuario).arg(QLatin1String(login)).toUtf8().constData());
    }
    xtest::ChildProcess iniciar(const std::string &localidade = {})
    {
        std::vector<std::string> ambiente{"VELORA_DADOS=" + dados.path().toStdString(), "XDG_RUNTIME_DIR=" + execucao.path().toStdString(),
                                          "QT_QPA_PLATFORM=xcb", "DISPLAY=" + xtest::testServer().display()};
        if (!localidade.empty())
            ambiente.push_back("LC_ALL=" + localidade);
        return xtest::spawnProgram({VELORA_BINARIO}, ambiente);
    }
    // The program's shown window with this title, or none.
    xcb_window_t janela(const std::string &titulo)
    {
        for (xcb_window_t w : x.clientList())
            if (x.text(w, "_NET_WM_NAME") == titulo && x.viewable(w))
                return w;
        return XCB_NONE;
    }
    xcb_window_t esperarJanela(const std::string &titulo)
    {
        xcb_window_t w = XCB_NONE;
        EXPECT_TRUE(x.waitUntil([&] { return (w = janela(titulo)) != XCB_NONE; }, 20s)) << "sem a janela " << titulo;
        return w;
    }
    bool esperarSumir(const std::string &titulo)
    {
        return x.waitUntil([&] { return janela(titulo) == XCB_NONE; }, 20s);
    }
    // Runs xdotool with the arguments and waits for it.
    void xdotool(std::vector<std::string> argumentos)
    {
        argumentos.insert(argumentos.begin(), "xdotool");
        xtest::ChildProcess p = xtest::spawnProgram(argumentos, {"DISPLAY=" + xtest::testServer().display()});
        ASSERT_TRUE(p.waitForExit(20s)) << "xdotool não terminou";
    }
    void ativar(xcb_window_t w) { xdotool({"windowactivate", "--sync", std::to_string(w)}); }
    void clicar(xcb_window_t w, int px, int py, int vezes = 1)
    {
        xdotool({"mousemove", "--window", std::to_string(w), std::to_string(px), std::to_string(py), "click", "--repeat",
                 std::to_string(vezes), "--delay", "60", "1"});
    }
    void digitar(const std::string &texto) { xdotool({"type", "--delay", "20", texto}); }
    void tecla(const std::string &t) { xdotool({"key", t}); }
    // Answers the message box with Enter and waits until it is gone.
    void responderMensagem()
    {
        ativar(esperarJanela("Mensagem do Velora"));
        tecla("Return");
        EXPECT_TRUE(esperarSumir("Mensagem do Velora"));
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
