// The real velora program on a desktop of its own (Xvfb + openbox), driven as a user drives
// it: starting, a second start, a new account through the profile, and an appointment.

#include "XTestClient.h"
#include "XTestMain.h"
#include "esquema.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zlib.h>

#include <chrono>

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
    xtest::ChildProcess iniciar(std::vector<std::string> ambiente = {})
    {
        ambiente.insert(ambiente.end(), {"VELORA_DADOS=" + dados.path().toStdString(), "XDG_RUNTIME_DIR=" + execucao.path().toStdString(),
                                         "QT_QPA_PLATFORM=xcb", "DISPLAY=" + xtest::testServer().display()});
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
    // The window manager's frame around a window (the root while it is not managed).
    xcb_window_t moldura(xcb_window_t w)
    {
        xcb_query_tree_reply_t *r = xcb_query_tree_reply(x.connection(), xcb_query_tree(x.connection(), w), nullptr);
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
        EXPECT_TRUE(x.waitUntil([&] { return !x.viewable(caixa) || moldura(caixa) != frame; }, 20s));
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

TEST_F(PontaAPonta, BackupPelaAgendaERestauracaoPeloLoginReservado)
{
    inserirUsuario("ANA");
    executar(arquivo, "Insert into Compromissos (Usuario, Data, Compromisso, ChavePai, Status, Compartilhado) "
                      "Values (1, '2030-01-01', 'Guardado no backup', 0, '3', 'N')");
    QTemporaryDir midia;
    const QString backup = midia.filePath(QStringLiteral("Velora.Bck"));
    xtest::ChildProcess velora = iniciar({"VELORA_DRIVE_A=" + midia.path().toStdString()});
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
