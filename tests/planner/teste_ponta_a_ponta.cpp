// The real velora program on a desktop of its own (Xvfb + openbox), driven as a user drives
// it: starting, a second start, a new account through the profile, an appointment, and two
// users' tasks and notes.

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
#include <cstdint>
#include <cstdlib>

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
    xtest::ChildProcess iniciar()
    {
        return xtest::spawnProgram({VELORA_BINARIO},
                                   {"VELORA_DADOS=" + dados.path().toStdString(), "XDG_RUNTIME_DIR=" + execucao.path().toStdString(),
                                    "QT_QPA_PLATFORM=xcb", "DISPLAY=" + xtest::testServer().display()});
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

namespace {

// The colour of one pixel of a window on the screen, as 0xRRGGBB.
std::uint32_t pixel(xtest::XClient &x, xcb_window_t janela, int px, int py)
{
    xcb_get_image_reply_t *r = xcb_get_image_reply(
        x.connection(), xcb_get_image(x.connection(), XCB_IMAGE_FORMAT_Z_PIXMAP, janela, px, py, 1, 1, ~0u), nullptr);
    std::uint32_t v = 0xFFFFFFFF;
    if (r && xcb_get_image_data_length(r) >= 4) {
        const std::uint8_t *b = xcb_get_image_data(r);
        v = std::uint32_t(b[2]) << 16 | std::uint32_t(b[1]) << 8 | b[0];
    }
    std::free(r);
    return v;
}

} // namespace

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
        EXPECT_TRUE(x.waitUntil([&] { return pixel(x, agenda, 724, 320) == 0xFBF8F1; }, 20s)) << "sem o formulário da tarefa";
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
    const std::uint32_t rosa = 0xFFC0FF, amarelo = 0xFFFFC0, branco = 0xFFFFFF;
    EXPECT_TRUE(x.waitUntil([&] {
        return pixel(x, agenda, 629, linha(1)) == rosa && pixel(x, agenda, 629, linha(2)) == amarelo &&
               pixel(x, agenda, 629, linha(3)) == branco;
    }, 20s)) << std::hex << pixel(x, agenda, 629, linha(1)) << " " << pixel(x, agenda, 629, linha(2)) << " " << pixel(x, agenda, 629, linha(3));

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
    EXPECT_TRUE(x.waitUntil([&] { return pixel(x, agenda, 724, 320) != 0xFBF8F1; }, 20s)) << "o formulário continua aberto";
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
    EXPECT_TRUE(x.waitUntil([&] { return pixel(x, agenda, 350, 70) != branco; }, 20s)) << "o painel de tarefas não foi pintado";
    for (int n : {1, 2})
        EXPECT_TRUE(pixel(x, agenda, 629, linha(n)) != rosa && pixel(x, agenda, 629, linha(n)) != amarelo) << n;

    // Back to the first user, whose note is cleared.
    clicar(agenda, 637, 21);
    agenda = entrar("ana");
    tecla("alt+l");
    responderMensagem();  // "Você Confirma Limpeza das Anotações?"
    EXPECT_TRUE(x.waitUntil([&] { return valor(arquivo, (QByteArray("Select Notas is Null from (") + notaDaAna + ")").constData()) == "1"; }, 20s));
    EXPECT_EQ(valor(arquivo, "Select count(*) from Notas"), QStringLiteral("2"));
}
