// The real velora program on a desktop of its own (Xvfb + openbox), driven as a user drives
// it: starting, a second start, a new account through the profile, an appointment, the
// calculator and the clock.

#include "XTestClient.h"
#include "XTestMain.h"
#include "esquema.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <QTime>
#include <QtMath>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>

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

namespace {

// The text the X clipboard's owner gives as UTF-8, read through a window of the test's own.
struct AreaDeTransferencia {
    xtest::XClient &x;
    xcb_window_t janela;
    explicit AreaDeTransferencia(xtest::XClient &x) : x(x)
    {
        xtest::WindowSpec spec;
        spec.map = false;
        janela = x.openWindow(spec);
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
        // at radius 28, over the minute hand where they cross.
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
                   std::all_of(h.begin(), h.end(), [&](int a) { return perto(a, horas - 4, horas + 4); });
        }, 20s);
        EXPECT_TRUE(naHora) << relato;
    }
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
