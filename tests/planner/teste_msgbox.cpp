// The planner's message box and the window helpers.

#include "apoio.h"
#include "core/modMsgBox.h"
#include "platform/modal.h"

#include <QImage>
#include <QWindow>

#include <gtest/gtest.h>

TEST(Mensagem, BotoesERespostas)
{
    auto okay = ResponderMensagem();
    EXPECT_TRUE(Mensagem(QStringLiteral("Aviso"), 1, 2));
    EXPECT_EQ(okay->botoes, 1);

    auto confirmar = ResponderMensagem(true);
    EXPECT_TRUE(Mensagem(QStringLiteral("Confirma?"), 0, 1));
    EXPECT_EQ(confirmar->botoes, 0);

    ResponderMensagem(false);
    EXPECT_FALSE(Mensagem(QStringLiteral("Confirma?"), 0, 1));

    // A window closed without a button answers False, whatever the previous answer was.
    ResponderMensagem(true);
    EXPECT_TRUE(Mensagem(QStringLiteral("Confirma?"), 0, 1));
    modal::Enfileirar([](QWidget &janela) { janela.close(); });
    EXPECT_FALSE(Mensagem(QStringLiteral("Confirma?"), 0, 1));
    EXPECT_EQ(modal::RoteirosPendentes(), 0);
    EXPECT_FALSE(frmMsgBox().isVisible());
    EXPECT_TRUE(frmMsgBox().lblMsg->text().isEmpty());
}

TEST(Mensagem, IconeEPosicaoDoTexto)
{
    const struct {
        int icone, mostrado, left, width;
    } casos[] = {{0, 0, 270, 4290}, {1, 1, 855, 3705}, {2, 2, 855, 3705}, {3, 3, 855, 3705}, {7, 0, 855, 3705}};
    for (const auto &c : casos) {
        auto vista = ResponderMensagem();
        Mensagem(QStringLiteral("Texto"), 1, c.icone);
        EXPECT_EQ(vista->icone, c.mostrado) << c.icone;
        EXPECT_EQ(vista->left, c.left) << c.icone;
        EXPECT_EQ(vista->width, c.width) << c.icone;
    }
}

TEST(Mensagem, TextoCentradoPelaAltura)
{
    const struct {
        QString texto;
        int height, top;
    } casos[] = {
        {QStringLiteral("Uma linha."), 225, 585},
        {QStringLiteral("Linha um\nLinha dois"), 450, 470},
        {QStringLiteral("1\n2\n3"), 675, 360},
        {QStringLiteral("1\n2\n3\n4"), 900, 280},
    };
    for (const auto &c : casos) {
        auto vista = ResponderMensagem();
        Mensagem(c.texto, 1, 2);
        EXPECT_EQ(vista->height, c.height) << c.texto.toStdString();
        EXPECT_EQ(vista->top, c.top) << c.texto.toStdString();
    }
    // Longer texts stay clear of the buttons.
    auto longa = ResponderMensagem();
    Mensagem(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8"), 1, 2);
    EXPECT_LE(longa->top + longa->height, 1305);
}

TEST(Mensagem, BipaENoTopoACadaAtivacao)
{
    const int antes = tk::BipesEmitidos();
    auto primeira = ResponderMensagem();
    Mensagem(QStringLiteral("Um"), 1, 0);
    auto segunda = ResponderMensagem();
    Mensagem(QStringLiteral("Dois"), 1, 0);
    EXPECT_EQ(primeira->beeps, antes + 1);
    EXPECT_EQ(segunda->beeps, antes + 2);
    EXPECT_TRUE(segunda->noTopo);
    EXPECT_FALSE(frmMsgBox().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(RegiaoDaImagem, CortaOsPixelsDaCorDoCanto)
{
    const QRgb t = qRgb(255, 0, 255), o = qRgb(10, 20, 30);
    QImage tres(3, 1, QImage::Format_RGB32);
    tres.setPixel(0, 0, t);
    tres.setPixel(1, 0, o);
    tres.setPixel(2, 0, o);
    EXPECT_EQ(RegiaoDaImagem(tres), QRegion(1, 0, 2, 1));

    // Two runs on one row, a run closed at the row's end on another.
    QImage dois(5, 2, QImage::Format_RGB32);
    const QRgb linhas[2][5] = {{t, o, t, o, o}, {t, t, o, o, o}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            dois.setPixel(x, y, linhas[y][x]);
    EXPECT_EQ(RegiaoDaImagem(dois), QRegion(1, 0, 1, 1) + QRegion(3, 0, 2, 1) + QRegion(2, 1, 3, 1));

    QImage lisa(4, 4, QImage::Format_RGB32);
    lisa.fill(o);
    EXPECT_TRUE(RegiaoDaImagem(lisa).isEmpty());
    QWidget janela;
    janela.resize(4, 4);
    AplicarRegiao(janela, RegiaoDaImagem(lisa));
    EXPECT_TRUE(janela.mask().isEmpty());  // not clipped
}

TEST(ManterNoTopo, IdaEVoltaNaoMoveNemRedimensiona)
{
    tk::Formulario janela(QStringLiteral("teste"));
    janela.setGeometry(100, 120, 200, 150);
    janela.show();
    const QRect antes = janela.geometry();
    ManterNoTopo(janela, true);
    EXPECT_TRUE(janela.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(janela.isVisible());
    ManterNoTopo(janela, false);
    EXPECT_FALSE(janela.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(janela.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(janela.isVisible());
    EXPECT_EQ(janela.geometry(), antes);
}
