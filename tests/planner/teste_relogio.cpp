// The analog clock: its geometry and hands, the line control that draws them, and the main
// window's clock timer turning with the minute.

#include "accessories/modRelogio.h"
#include "accessories/relogio_analogico.h"
#include "apoio.h"
#include "core/frmAgenda.h"
#include "platform/bandeja.h"
#include "platform/graficos.h"
#include "platform/relogio.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Points of the clock are single precision.
constexpr double Folga = 0.01;

void esperarPerto(const QPointF &p, double x, double y, const char *onde)
{
    EXPECT_NEAR(p.x(), x, Folga) << onde;
    EXPECT_NEAR(p.y(), y, Folga) << onde;
}

} // namespace

TEST(RelogioGeometria, FacesDeCadaFormato)
{
    const struct {
        float largura, altura;
        bool preparado;
        float R;
        int T;
    } faces[] = {
        {550, 550, true, 181.25f, 46},                   // square: s 0.1 → 0.23
        {800, 400, true, 181.25f, 46},                   // wide: as the square
        {400, 800, true, 400 / 2.4f - 0.25f * 300, 50},  // tall: s = 400 / 1600
        {300, 1000, true, 125 - 0.23f * 300, 46},        // narrow: s 0.15 → 0.23
        {550, 0, false, 0, 0},                           // no height: nothing prepared
    };
    for (const auto &f : faces) {
        modRelogio::Relogio r;
        EXPECT_EQ(r.Preparar(f.largura, f.altura), f.preparado) << f.largura << "x" << f.altura;
        EXPECT_EQ(r.preparado, f.preparado);
        EXPECT_FLOAT_EQ(r.cx, f.largura / 2);
        EXPECT_NEAR(r.R, f.R, 1e-3) << f.largura << "x" << f.altura;
        EXPECT_EQ(r.T, f.T) << f.largura << "x" << f.altura;
        EXPECT_EQ(r.T2, f.T) << f.largura << "x" << f.altura;
    }
}

TEST(RelogioGeometria, PonteirosNaHora)
{
    const struct {
        QTime hora;
        float segundo, minuto, horas;  // clock angles, degrees
    } casos[] = {
        {QTime(15, 30, 0), 0, 180, 105},   {QTime(12, 0, 0), 0, 0, 360},
        {QTime(0, 0, 0), 0, 0, 0},          {QTime(9, 41, 7), 42, 246.7f, 290.5f},
        {QTime(23, 59, 59), 354, 359.9f, 359.5f},
    };
    for (const auto &c : casos) {
        modRelogio::Relogio r;
        ASSERT_TRUE(r.Preparar(550, 550));
        r.Ler(c.hora);
        const modRelogio::Ponteiro s = r.Segundos(), m = r.Minutos(), h = r.Horas();
        const std::string onde = c.hora.toString().toStdString();
        EXPECT_NEAR(r.anguloSegundo, c.segundo, 1e-3) << onde;
        EXPECT_NEAR(r.anguloMinuto, c.minuto, 1e-3) << onde;
        EXPECT_NEAR(r.anguloHora, c.horas, 1e-3) << onde;
        // Each hand from its tail through the centre to its tip, at its own length.
        for (const auto &[p, comprimento, cauda] : {std::tuple{s, 181.25, 46.0}, std::tuple{m, 181.25, 46.0}, std::tuple{h, 136.0, 46.0}}) {
            EXPECT_NEAR(QLineF(QPointF(275, 275), p.ponta).length(), comprimento, Folga) << onde;
            EXPECT_NEAR(QLineF(QPointF(275, 275), p.cauda).length(), cauda, Folga) << onde;
            EXPECT_NEAR(QLineF(p.cauda, p.ponta).length(), comprimento + cauda, Folga) << onde;
        }
    }
    // At 15:30 the minute hand points straight down, the hour hand between 3 and 4.
    modRelogio::Relogio r;
    r.Preparar(550, 550);
    r.Ler(QTime(15, 30));
    esperarPerto(r.Minutos().ponta, 275, 275 + 181.25, "15:30 minutos");
    esperarPerto(r.Horas().ponta, 275 + 136 * std::sin(qDegreesToRadians(105.0)), 275 - 136 * std::cos(qDegreesToRadians(105.0)), "15:30 horas");
    r.Ler(QTime(12, 0));
    esperarPerto(r.Horas().ponta, 275, 275 - 136, "12:00");
    esperarPerto(r.Horas().cauda, 275, 275 + 46, "12:00 cauda");
}

TEST(RelogioGeometria, EsperaAteAViradaDoMinuto)
{
    const QDate d(2003, 10, 14);
    EXPECT_EQ(modRelogio::MsAteOProximoMinuto(QDateTime(d, QTime(9, 41, 7, 250))), 52750);
    EXPECT_EQ(modRelogio::MsAteOProximoMinuto(QDateTime(d, QTime(9, 41, 59, 999))), 1);
    EXPECT_EQ(modRelogio::MsAteOProximoMinuto(QDateTime(d, QTime(9, 42, 0, 0))), 60000);
}

// A line meets what lies below it by its draw mode, in its container's own scale.
TEST(GraficosLinha, ModosDeDesenhoSobreOFundo)
{
    const QRgb fundo = qRgb(0x2f, 0x66, 0x90), caneta = qRgb(0, 192, 192);
    const struct {
        tk::ModoDesenho modo;
        QRgb esperado;
    } modos[] = {
        {tk::ModoDesenho::XorCaneta, qRgb(0x2f, 0x66 ^ 192, 0x90 ^ 192)},
        {tk::ModoDesenho::Inverter, qRgb(0xff - 0x2f, 0xff - 0x66, 0xff - 0x90)},
        {tk::ModoDesenho::CopiarCaneta, caneta},
    };
    for (const auto &m : modos) {
        QWidget recipiente;
        recipiente.resize(50, 50);
        recipiente.setAutoFillBackground(true);
        recipiente.setPalette(QPalette(QColor(fundo)));
        tk::DefinirEscala(recipiente, 100, 100);
        tk::Linha linha(&recipiente);
        linha.DefinirCor(QColor(caneta));
        linha.DefinirLargura(3);
        linha.DefinirModo(m.modo);
        linha.DefinirInicio(QPointF(10, 50));
        linha.DefinirFim(QPointF(90, 50));
        const QImage i = recipiente.grab().toImage();
        for (const QPoint sobre : {QPoint(6, 25), QPoint(25, 24), QPoint(40, 26)})
            EXPECT_EQ(i.pixel(sobre), m.esperado) << int(m.modo) << " " << sobre.x();
        for (const QPoint fora : {QPoint(25, 20), QPoint(25, 30), QPoint(2, 25), QPoint(48, 25)})
            EXPECT_EQ(i.pixel(fora), fundo) << int(m.modo) << " " << fora.x() << "," << fora.y();
    }
}

TEST(RelogioTela, PrepararETique)
{
    relogio::DefinirAgora(QDateTime(QDate(2003, 10, 14), QTime(15, 30, 0)));
    QWidget janela;
    janela.resize(200, 200);
    RelogioAnalogico r(&janela, QRect(10, 10, 150, 150));
    r.Preparar();
    esperarPerto(r.linMinute->Fim(), 275, 456.25, "minutos");
    EXPECT_NEAR(r.Estado().anguloHora, 105, 1e-3);
    esperarPerto(r.linSecond->Inicio(), 275, 275, "segundos antes do primeiro tique");
    // The hour hand on top, then the centre picture, then the minute and second hands.
    const QObjectList filhos = r.children();
    const QObjectList topo(filhos.end() - 4, filhos.end());
    EXPECT_EQ(topo, (QObjectList{r.linSecond, r.linMinute, r.imgNice, r.linHourx}));
    EXPECT_EQ(r.linMinute->Modo(), tk::ModoDesenho::XorCaneta);
    EXPECT_EQ(r.linHourx->Modo(), tk::ModoDesenho::XorCaneta);
    EXPECT_EQ(r.linSecond->Modo(), tk::ModoDesenho::Inverter);
    EXPECT_TRUE(r.linSecond->isHidden());
    EXPECT_EQ(r.linHourx->Cor(), QColor(0, 192, 192));
    EXPECT_EQ(r.linMinute->Cor(), QColor(255, 255, 128));

    relogio::Avancar(15 * 60 + 15);  // 15:45:15
    r.Tick();
    esperarPerto(r.linMinute->Fim(), 275 - 181.25 * std::cos(qDegreesToRadians(1.5)), 275 - 181.25 * std::sin(qDegreesToRadians(1.5)), "15:45:15 minutos");
    esperarPerto(r.linSecond->Fim(), 275 + 181.25, 275, "15:45:15 segundos");
    EXPECT_NEAR(r.Estado().anguloHora, 112.5, 1e-3);

    // A face without height is never prepared: its hands stay where they were made.
    RelogioAnalogico achatado(&janela, QRect(0, 0, 150, 0));
    achatado.Preparar();
    achatado.Tick();
    for (tk::Linha *l : {achatado.linHourx, achatado.linMinute, achatado.linSecond}) {
        EXPECT_EQ(l->Inicio(), QPointF());
        EXPECT_EQ(l->Fim(), QPointF());
    }
    relogio::Liberar();
}

// The main window's clock ticks as the minute turns, not a whole minute after it opened.
TEST(RelogioTela, PrimeiroTiqueNaViradaDoMinuto)
{
    BaseDeTeste base;
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    bandeja::DefinirDisponivel(true);
    relogio::DefinirAgora(QDateTime(QDate(2003, 10, 14), QTime(9, 41, 59, 900)));
    Entrar(QStringLiteral("ANA"));
    FrmAgenda &f = frmAgenda();
    EXPECT_EQ(f.lblHora->text(), QStringLiteral("09:41"));
    EXPECT_EQ(f.picRelogio->Estado().minuto, 41);
    EXPECT_EQ(f.tmrRelogio->Intervalo(), 60000);
    relogio::Avancar(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.lblHora->text() == QLatin1String("09:42"); }, 10000));
    EXPECT_EQ(f.picRelogio->Estado().minuto, 42);
    EXPECT_NEAR(f.picRelogio->Estado().anguloHora, 291, 1e-3);
    relogio::Liberar();
}
