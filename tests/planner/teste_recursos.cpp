// The pictures and sounds the generator makes for the planner.

#include "resources/recursos.h"

#include <QImage>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr QRgb CorTransparente = 0xffff00ff;

QImage Imagem(const char *nome)
{
    return recursos::Figura(QString::fromLatin1(nome)).toImage();
}

const char *const IconesDaGrade[] = {"alarme",   "executado", "aniversario",
                                     "anexado",  "bloqueado", "compartilhado"};

const struct {
    const char *nome;
    int largura;
} Abas[] = {{"aba_compromissos", 99}, {"aba_enderecos", 72}, {"aba_financas", 63},
            {"aba_tarefas", 56},      {"aba_notas", 46},     {"aba_inicial", 20}};

} // namespace

TEST(RecursosFiguras, CadaNomeComSeuTamanho)
{
    const struct {
        const char *nome;
        int largura, altura;
    } figuras[] = {
        {"agenda", 752, 522},      {"logon", 260, 131},      {"msgbox", 324, 124},
        {"aguarde", 230, 64},      {"pergunta", 32, 32},     {"informacao", 32, 32},
        {"grave", 32, 32},         {"fechar", 16, 16},       {"velora", 64, 64},
        {"impressora", 24, 24},    {"configuracao", 24, 24}, {"ajuda", 24, 24},
        {"sair", 24, 24},          {"minimizar", 24, 24},    {"inicial", 160, 160},
        {"backup", 24, 24},        {"restaurar", 24, 24},
        {"dia_anterior", 18, 18},  {"dia_seguinte", 18, 18}, {"calendario", 24, 24},
        {"calculadora", 24, 24},   {"relogio_centro", 33, 33}, {"tecla_0", 97, 28},
        {"email", 24, 24},
        {"saldo_anterior", 24, 24},
        {"calendario_mes", 24, 24}, {"lembrete", 420, 300},
    };
    for (const auto &f : figuras)
        EXPECT_EQ(recursos::Figura(QString::fromLatin1(f.nome)).size(), QSize(f.largura, f.altura))
            << f.nome;
    for (const char *nome : IconesDaGrade)
        EXPECT_EQ(Imagem(nome).size(), QSize(16, 16)) << nome;
    for (const auto &aba : Abas)
        EXPECT_EQ(Imagem(aba.nome).size(), QSize(aba.largura, 26)) << aba.nome;
}

// The calculator's keys fill the cells of its grid, and no two look alike.
TEST(RecursosFiguras, TeclasDaCalculadoraDistintas)
{
    std::vector<QImage> teclas;
    for (const char *nome : {"tecla_1", "tecla_2", "tecla_3", "tecla_4", "tecla_5", "tecla_6", "tecla_7", "tecla_8",
                             "tecla_9", "tecla_ponto", "tecla_somar", "tecla_subtrair", "tecla_multiplicar",
                             "tecla_dividir", "tecla_igual", "tecla_percentual", "tecla_c", "tecla_ce", "tecla_mc",
                             "tecla_mr", "tecla_mmais", "tecla_mmenos"}) {
        teclas.push_back(Imagem(nome).convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(teclas.back().size(), QSize(46, 28)) << nome;
        EXPECT_EQ(qAlpha(teclas.back().pixel(23, 14)), 255) << nome;
        EXPECT_EQ(qAlpha(teclas.back().pixel(0, 0)), 0) << nome;
    }
    for (size_t i = 0; i < teclas.size(); ++i)
        for (size_t j = i + 1; j < teclas.size(); ++j)
            EXPECT_NE(teclas[i], teclas[j]) << i << " = " << j;
}

// The window outline is cut from every pixel that differs from the top-left one: the corners
// must fall outside, the middle of every side inside, and no blend of the transparent colour
// may remain at the rim (it would show as a pink fringe).
TEST(RecursosFiguras, FacesDeJanelaRecortaveis)
{
    for (const char *nome : {"agenda", "logon", "msgbox", "aguarde", "lembrete"}) {
        const QImage f = Imagem(nome);
        const int d = f.width() - 1, b = f.height() - 1;
        for (const QPoint canto : {QPoint(0, 0), QPoint(d, 0), QPoint(0, b), QPoint(d, b)})
            EXPECT_EQ(f.pixel(canto), CorTransparente) << nome << " canto " << canto.x() << "," << canto.y();
        for (const QPoint dentro : {QPoint(d / 2, b / 2), QPoint(d / 2, 0), QPoint(d / 2, b),
                                    QPoint(0, b / 2), QPoint(d, b / 2)})
            EXPECT_NE(f.pixel(dentro), CorTransparente) << nome << " " << dentro.x() << "," << dentro.y();
        int franja = 0;
        for (int y = 0; y <= b; ++y)
            for (int x = 0; x <= d; ++x) {
                const QRgb c = f.pixel(x, y);
                franja += c != CorTransparente && qRed(c) > 160 && qBlue(c) > 160 && qGreen(c) < 120;
            }
        EXPECT_EQ(franja, 0) << nome;
    }
}

// The program lays the panels on the paper and hangs the tabs from its bottom edge, row 472;
// covering a tab's top row with the paper's white opens it, so both lines share one colour.
TEST(RecursosFiguras, PapelEAbasDaAgenda)
{
    const QImage agenda = Imagem("agenda");
    const QRgb borda = agenda.pixel(540, 472);
    EXPECT_NE(agenda.pixel(540, 471), borda);
    EXPECT_NE(agenda.pixel(540, 473), borda);
    for (int x = 343; x < 704; ++x)
        ASSERT_EQ(agenda.pixel(x, 472), borda) << x;
    int manchas = 0;
    for (int y = 48; y <= 468; ++y)
        for (int x = 344; x <= 734; ++x)
            manchas += agenda.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(manchas, 0) << "the panels' area must be clear paper";

    for (const auto &aba : Abas) {
        const QImage f = Imagem(aba.nome);
        for (int x = 0; x < aba.largura; ++x)
            ASSERT_EQ(f.pixel(x, 0), borda) << aba.nome << " " << x;
        EXPECT_EQ(qAlpha(f.pixel(0, 25)), 0) << aba.nome;
        EXPECT_EQ(qAlpha(f.pixel(aba.largura - 1, 25)), 0) << aba.nome;
        EXPECT_EQ(qAlpha(f.pixel(aba.largura / 2, 13)), 255) << aba.nome;
    }
}

// The appointment editor tells row kinds apart by the picture in a grid cell; each is a
// figure on a transparent ground, neither blank nor a filled square.
TEST(RecursosFiguras, IconesDaGradeDistintos)
{
    std::vector<QImage> icones;
    for (const char *nome : IconesDaGrade) {
        icones.push_back(Imagem(nome).convertToFormat(QImage::Format_ARGB32));
        int opacos = 0, vazios = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                opacos += qAlpha(icones.back().pixel(x, y)) == 255;
                vazios += qAlpha(icones.back().pixel(x, y)) == 0;
            }
        EXPECT_GT(opacos, 25) << nome;
        EXPECT_GT(vazios, 60) << nome;
    }
    for (size_t i = 0; i < icones.size(); ++i)
        for (size_t j = i + 1; j < icones.size(); ++j)
            EXPECT_NE(icones[i], icones[j]) << IconesDaGrade[i] << " = " << IconesDaGrade[j];
}

namespace {

// What a WAVE file image holds, read the way a player reads it.
struct Wave {
    QString erro;
    quint16 formato = 0, canais = 0, bits = 0;
    quint32 taxa = 0;
    std::vector<double> amostras;  // -1 .. 1
};

Wave LerWave(const QByteArray &b)
{
    Wave w;
    const auto u32 = [&b](qsizetype i) { return qFromLittleEndian<quint32>(b.constData() + i); };
    const auto u16 = [&b](qsizetype i) { return qFromLittleEndian<quint16>(b.constData() + i); };
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return w.erro = QStringLiteral("sem cabeçalho RIFF/WAVE"), w;
    if (u32(4) != quint32(b.size() - 8))
        return w.erro = QStringLiteral("tamanho RIFF difere do arquivo"), w;
    for (qsizetype i = 12; i + 8 <= b.size();) {
        const QByteArray id = b.mid(i, 4);
        const quint32 tamanho = u32(i + 4);
        const qsizetype corpo = i + 8;
        if (corpo + qsizetype(tamanho) > b.size())
            return w.erro = QStringLiteral("bloco %1 passa do fim").arg(QString::fromLatin1(id)), w;
        if (id == "fmt ") {
            w.formato = u16(corpo);
            w.canais = u16(corpo + 2);
            w.taxa = u32(corpo + 4);
            w.bits = u16(corpo + 14);
            if (u32(corpo + 8) != w.taxa * w.canais * w.bits / 8 || u16(corpo + 12) != w.canais * w.bits / 8)
                return w.erro = QStringLiteral("bytes por segundo ou por quadro incoerentes"), w;
        } else if (id == "data") {
            if (corpo + qsizetype(tamanho) != b.size())
                return w.erro = QStringLiteral("bloco de dados não chega ao fim do arquivo"), w;
            for (qsizetype k = corpo; k < b.size(); k += w.bits / 8)
                w.amostras.push_back(w.bits == 8 ? (quint8(b[k]) - 128) / 128.0
                                                 : qFromLittleEndian<qint16>(b.constData() + k) / 32768.0);
            return w;
        }
        i = corpo + tamanho + (tamanho & 1);
    }
    return w.erro = QStringLiteral("sem bloco de dados"), w;
}

// Loud stretches of a sound (10 ms windows above a tenth of the loudest), told apart by at
// least 40 ms of near silence: the rings of a telephone, the notes of a cuckoo.
int Rajadas(const std::vector<double> &amostras, quint32 taxa)
{
    const size_t janela = taxa / 100;
    std::vector<double> volumes;
    for (size_t i = 0; i + janela <= amostras.size(); i += janela) {
        double energia = 0;
        for (size_t k = i; k < i + janela; ++k)
            energia += amostras[k] * amostras[k];
        volumes.push_back(std::sqrt(energia / janela));
    }
    const double limiar = *std::max_element(volumes.begin(), volumes.end()) / 10;
    int rajadas = 0, quietas = 4;
    for (double v : volumes) {
        if (v <= limiar) {
            ++quietas;
            continue;
        }
        rajadas += quietas >= 4;
        quietas = 0;
    }
    return rajadas;
}

} // namespace

TEST(RecursosSons, CadaSomUmaWavePcmMonoAudivel)
{
    const struct {
        const char *nome;
        int rajadas;
    } sons[] = {{"AHA", 1},    {"CAMPAINHA", 1}, {"CUCO", 4}, {"NAVE", 1},
                {"SIRENE", 1}, {"TELEFONE", 2},  {"TIRO", 1}};
    for (const auto &[nome, rajadas] : sons) {
        const Wave w = LerWave(recursos::Som(QString::fromLatin1(nome)));
        ASSERT_TRUE(w.erro.isEmpty()) << nome << ": " << w.erro.toStdString();
        EXPECT_EQ(w.formato, 1) << nome;
        EXPECT_EQ(w.canais, 1) << nome;
        EXPECT_TRUE(w.bits == 8 || w.bits == 16) << nome;
        EXPECT_TRUE(w.taxa == 11025 || w.taxa == 22050) << nome;
        const double segundos = double(w.amostras.size()) / w.taxa;
        EXPECT_GE(segundos, 0.3) << nome;
        EXPECT_LE(segundos, 2.5) << nome;

        double pico = 0, energia = 0;
        for (double a : w.amostras) {
            pico = std::max(pico, std::abs(a));
            energia += a * a;
        }
        EXPECT_LT(pico, 0.99) << nome << " clips";
        EXPECT_GT(std::sqrt(energia / w.amostras.size()), 0.05) << nome << " is nearly silent";
        // Faded at both ends, so starting and stopping it never clicks.
        EXPECT_LT(std::abs(w.amostras.front()), 0.01) << nome;
        EXPECT_LT(std::abs(w.amostras.back()), 0.01) << nome;
        EXPECT_EQ(Rajadas(w.amostras, w.taxa), rajadas) << nome;
    }
}

TEST(RecursosSons, NomeSemSomDaVazio)
{
    for (const char *nome : {"", "NENHUM", "cuco", "Cuco"})
        EXPECT_TRUE(recursos::Som(QString::fromLatin1(nome)).isEmpty()) << nome;
}
