#include "sons.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace sons {

namespace {

using Sinal = std::vector<double>;
constexpr double Taxa = TaxaDeAmostragem;
constexpr double DoisPi = 2 * M_PI;

Sinal silencio(double segundos)
{
    return Sinal(size_t(std::lround(segundos * Taxa)), 0.0);
}

// Seeded noise (xorshift), so every build embeds the very same clips.
class Ruido
{
public:
    explicit Ruido(std::uint32_t semente) : estado(semente) {}
    double operator()()
    {
        estado ^= estado << 13;
        estado ^= estado >> 17;
        estado ^= estado << 5;
        return estado / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t estado;
};

// Two-pole resonator with zeros at 0 Hz and at the Nyquist frequency: lets through a band
// `banda` Hz wide around its frequency, which may move, at unit gain wherever it is tuned.
class Ressonador
{
public:
    Ressonador(double frequencia, double banda) : r(std::exp(-M_PI * banda / Taxa))
    {
        Sintonizar(frequencia);
    }
    void Sintonizar(double frequencia) { a1 = 2 * r * std::cos(DoisPi * frequencia / Taxa); }
    double operator()(double x)
    {
        const double y = (1 - r * r) / 2 * (x - x2) + a1 * y1 - r * r * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double r, a1 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Soft rise and fall of a note of `duracao` seconds, at time t.
double envoltoria(double t, double duracao, double subida, double queda)
{
    if (t < 0 || t > duracao)
        return 0;
    return std::min({1.0, t / subida, (duracao - t) / queda});
}

// Adds to `s`, from `inicio` seconds, a tone of `duracao` seconds: `frequencia(t)` in Hz and
// `volume(t)` as t runs from 0; `onda(fase, frequencia)` gives the wave at a phase in radians,
// left unwrapped so that waves built from several ratios of it stay continuous.
void tom(Sinal &s, double inicio, double duracao, const std::function<double(double)> &frequencia,
         const std::function<double(double)> &volume,
         const std::function<double(double, double)> &onda)
{
    const size_t primeira = size_t(std::lround(inicio * Taxa));
    const size_t ultima = std::min(s.size(), primeira + size_t(std::lround(duracao * Taxa)));
    double fase = 0;
    for (size_t n = primeira; n < ultima; ++n) {
        const double t = (n - primeira) / Taxa;
        const double f = frequencia(t);
        s[n] += volume(t) * onda(fase, f);
        fase += DoisPi * f / Taxa;
    }
}

double seno(double fase, double)
{
    return std::sin(fase);
}

// "a-ha": a voice's harmonics shaped by the formants of an open "a", the second syllable higher
// and breathier, with the "h" between them as breath through the same formants.
Sinal aha()
{
    Sinal s = silencio(0.85);
    struct Formante {
        double frequencia, banda, ganho;
    };
    const Formante formantes[] = {{780, 130, 1.0}, {1180, 150, 0.55}, {2500, 200, 0.2}};
    // The glottis' harmonics fall off as 1/k; the formants lift those near them.
    const auto voz = [&formantes](double fase, double f) {
        double amostra = 0;
        for (int k = 1; k * f < 4000; ++k) {
            double filtro = 0;
            for (const Formante &F : formantes) {
                const double d = (k * f - F.frequencia) / (F.banda / 2);
                filtro += F.ganho / (1 + d * d);
            }
            amostra += filtro / k * std::sin(k * fase);
        }
        return amostra;
    };
    const auto vogal = [&](double inicio, double duracao, double f0, double f1) {
        tom(s, inicio, duracao,
            [=](double t) {
                return (f0 + (f1 - f0) * t / duracao) * (1 + 0.012 * std::sin(DoisPi * 5.5 * t));
            },
            [=](double t) { return envoltoria(t, duracao, 0.03, 0.08); }, voz);
    };
    vogal(0.02, 0.24, 175, 150);
    vogal(0.39, 0.40, 215, 265);

    Ruido ruido(0xa4a);
    Ressonador f1(780, 200), f2(1180, 250), f3(2500, 300);
    for (size_t n = size_t(0.26 * Taxa); n < size_t(0.45 * Taxa); ++n) {
        const double t = n / Taxa - 0.26;
        const double x = ruido();
        s[n] += 0.6 * envoltoria(t, 0.19, 0.04, 0.08) * (f1(x) + 0.6 * f2(x) + 0.3 * f3(x));
    }
    return s;
}

// A struck bell, twice: inharmonic partials, each dying away at its own pace, the high ones first.
Sinal campainha()
{
    Sinal s = silencio(2.3);
    struct Parcial {
        double razao, ganho, decaimento;
    };
    const Parcial parciais[] = {{0.56, 1.0, 0.9},  {0.92, 0.67, 0.7}, {1.19, 1.0, 0.5},
                                {1.71, 0.9, 0.35}, {2.0, 0.7, 0.28},  {2.74, 0.6, 0.2},
                                {3.0, 0.5, 0.15},  {3.76, 0.4, 0.1},  {4.07, 0.35, 0.08}};
    constexpr double base = 1100;
    for (double batida : {0.0, 0.7})
        for (const Parcial &p : parciais)
            tom(s, batida, 2.3 - batida, [&](double) { return base * p.razao; },
                [&](double t) {
                    return p.ganho * std::min(1.0, t / 0.002) * std::exp(-t / p.decaimento);
                },
                seno);
    return s;
}

// A cuckoo clock's call, twice: a whistled falling third, each note sagging a little at its end.
Sinal cuco()
{
    Sinal s = silencio(1.4);
    const auto nota = [](double altura) {
        return [altura](double t) { return altura * (1 - 0.03 * std::max(0.0, t - 0.1) / 0.1); };
    };
    const auto flauta = [](double fase, double) {
        return std::sin(fase) + 0.18 * std::sin(2 * fase) + 0.06 * std::sin(3 * fase);
    };
    for (double inicio : {0.02, 0.72}) {
        tom(s, inicio, 0.2, nota(784), [](double t) { return envoltoria(t, 0.2, 0.015, 0.06); },
            flauta);
        tom(s, inicio + 0.26, 0.3, nota(659),
            [](double t) { return envoltoria(t, 0.3, 0.015, 0.15); }, flauta);
    }
    return s;
}

// A spaceship passing: a warbling tone gliding up and back down, over a whoosh of noise whose
// band follows it.
Sinal nave()
{
    constexpr double duracao = 2.2;
    Sinal s = silencio(duracao);
    const auto altura = [](double t) {
        const double x = t / duracao;
        return 260 + 1000 * std::sin(M_PI * x) * std::sin(M_PI * x) * (1 - 0.3 * x);
    };
    const auto volume = [](double t) { return envoltoria(t, duracao, 0.35, 0.6); };
    tom(s, 0, duracao, [&](double t) { return altura(t) * (1 + 0.04 * std::sin(DoisPi * 7 * t)); },
        volume, [](double fase, double) { return std::sin(fase + 0.8 * std::sin(1.5 * fase)); });

    Ruido ruido(0x5a7e);
    Ressonador banda(500, 350);
    for (size_t n = 0; n < s.size(); ++n) {
        const double t = n / Taxa;
        banda.Sintonizar(altura(t) * 1.8);
        s[n] += 1.5 * volume(t) * banda(ruido());
    }
    return s;
}

// A siren's wail: a brassy tone sweeping up and down twice.
Sinal sirene()
{
    constexpr double duracao = 2.4, ciclo = 1.2;
    Sinal s = silencio(duracao);
    tom(s, 0, duracao,
        [](double t) { return 620 + 480 * (0.5 - 0.5 * std::cos(DoisPi * t / ciclo)); },
        [](double t) { return envoltoria(t, duracao, 0.08, 0.2); },
        [](double fase, double) {
            return std::sin(fase) + 0.5 * std::sin(2 * fase) + 0.3 * std::sin(3 * fase) +
                   0.15 * std::sin(4 * fase);
        });
    return s;
}

// A telephone ringing twice: bursts of 440 and 480 Hz together.
Sinal telefone()
{
    Sinal s = silencio(2.05);
    const auto par = [](double fase, double) {
        return std::sin(fase) + std::sin(fase * 480.0 / 440.0);
    };
    for (double inicio : {0.0, 1.2})
        tom(s, inicio, 0.8, [](double) { return 440.0; },
            [](double t) { return envoltoria(t, 0.8, 0.01, 0.02); }, par);
    return s;
}

// A gunshot: a sharp crack of noise, a low thump falling in pitch, and a short rumbling tail.
Sinal tiro()
{
    Sinal s = silencio(0.9);
    Ruido ruido(0x7150);
    double grave = 0;
    for (size_t n = 0; n < s.size(); ++n) {
        const double t = n / Taxa;
        const double x = ruido();
        grave += 0.06 * (x - grave);
        s[n] = x * std::exp(-t / 0.012) + 2.5 * grave * std::exp(-t / 0.09) +
               0.8 * grave * std::exp(-t / 0.3);
    }
    tom(s, 0, 0.9, [](double t) { return 45 + 70 * std::exp(-t / 0.05); },
        [](double t) { return 0.9 * std::exp(-t / 0.12); }, seno);
    return s;
}

// Brings the loudest sample to 90 % of full scale, fades both ends so nothing clicks, and
// writes the samples as a WAVE file image.
QByteArray wave(Sinal s)
{
    const double pico = std::max(1e-9, std::abs(*std::max_element(
        s.begin(), s.end(), [](double a, double b) { return std::abs(a) < std::abs(b); })));
    const size_t entrada = size_t(0.003 * Taxa), saida = size_t(0.03 * Taxa);
    for (size_t n = 0; n < s.size(); ++n) {
        double ganho = 0.9 / pico;
        if (n < entrada)
            ganho *= 0.5 - 0.5 * std::cos(M_PI * n / entrada);
        if (s.size() - 1 - n < saida)
            ganho *= 0.5 - 0.5 * std::cos(M_PI * (s.size() - 1 - n) / saida);
        s[n] *= ganho;
    }

    const quint32 bytesDeDados = quint32(s.size() * 2);
    QByteArray arquivo;
    QDataStream saidaWave(&arquivo, QIODevice::WriteOnly);
    saidaWave.setByteOrder(QDataStream::LittleEndian);
    saidaWave.writeRawData("RIFF", 4);
    saidaWave << quint32(36 + bytesDeDados);
    saidaWave.writeRawData("WAVEfmt ", 8);
    saidaWave << quint32(16) << quint16(1) << quint16(1) << quint32(TaxaDeAmostragem)
              << quint32(TaxaDeAmostragem * 2) << quint16(2) << quint16(16);
    saidaWave.writeRawData("data", 4);
    saidaWave << bytesDeDados;
    for (double amostra : s)
        saidaWave << qint16(std::lround(amostra * 32767));
    return arquivo;
}

} // namespace

std::vector<std::pair<QString, QByteArray>> TodosOsSons()
{
    return {
        {QStringLiteral("AHA"), wave(aha())},
        {QStringLiteral("CAMPAINHA"), wave(campainha())},
        {QStringLiteral("CUCO"), wave(cuco())},
        {QStringLiteral("NAVE"), wave(nave())},
        {QStringLiteral("SIRENE"), wave(sirene())},
        {QStringLiteral("TELEFONE"), wave(telefone())},
        {QStringLiteral("TIRO"), wave(tiro())},
    };
}

} // namespace sons
