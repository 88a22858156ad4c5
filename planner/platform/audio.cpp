#include "platform/audio.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QtEndian>

#include <memory>
#include <optional>

namespace audio {

namespace {

Falso *falso = nullptr;

struct Reproducao {
    QByteArray bytes;  // shares the caller's buffer, so it lives as long as the playback
    QBuffer leitura;
    std::unique_ptr<QAudioSink> saida;
};
std::unique_ptr<Reproducao> atual;

struct FormatoWave {
    QAudioFormat formato;
    qsizetype inicio = 0, tamanho = 0;
};

// Finds the format and the sample data of a PCM WAVE image; nothing for anything else.
std::optional<FormatoWave> lerWave(const QByteArray &w)
{
    if (w.size() < 12 || !w.startsWith("RIFF") || w.mid(8, 4) != "WAVE")
        return std::nullopt;
    FormatoWave r;
    bool temFormato = false;
    qsizetype p = 12;
    while (p + 8 <= w.size()) {
        const QByteArray id = w.mid(p, 4);
        const quint32 tamanho = qFromLittleEndian<quint32>(w.constData() + p + 4);
        const qsizetype dados = p + 8;
        if (tamanho > quint32(w.size() - dados))
            return std::nullopt;
        if (id == "fmt " && tamanho >= 16) {
            const auto *f = reinterpret_cast<const uchar *>(w.constData() + dados);
            const quint16 codificacao = qFromLittleEndian<quint16>(f);
            const quint16 canais = qFromLittleEndian<quint16>(f + 2);
            const quint32 taxa = qFromLittleEndian<quint32>(f + 4);
            const quint16 bits = qFromLittleEndian<quint16>(f + 14);
            if (codificacao != 1 || canais < 1 || canais > 2 || (bits != 8 && bits != 16) || taxa == 0)
                return std::nullopt;
            r.formato.setSampleRate(int(taxa));
            r.formato.setChannelCount(canais);
            r.formato.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
            temFormato = true;
        } else if (id == "data") {
            r.inicio = dados;
            r.tamanho = tamanho;
            return temFormato ? std::optional(r) : std::nullopt;
        }
        p = dados + tamanho + (tamanho & 1);
    }
    return std::nullopt;
}

} // namespace

bool HaSaida()
{
    if (falso)
        return falso->comSaida;
    return !QMediaDevices::defaultAudioOutput().isNull();
}

void Tocar(const QByteArray &wave)
{
    if (falso) {
        falso->tocados << wave;
        return;
    }
    Parar();
    const auto lido = lerWave(wave);
    const QAudioDevice dispositivo = QMediaDevices::defaultAudioOutput();
    if (!lido || dispositivo.isNull() || !dispositivo.isFormatSupported(lido->formato))
        return;
    atual = std::make_unique<Reproducao>();
    atual->bytes = wave;
    atual->leitura.setData(atual->bytes.mid(lido->inicio, lido->tamanho));
    atual->leitura.open(QIODevice::ReadOnly);
    atual->saida = std::make_unique<QAudioSink>(dispositivo, lido->formato);
    QAudioSink *saida = atual->saida.get();
    QObject::connect(saida, &QAudioSink::stateChanged, saida, [saida](QAudio::State estado) {
        // At the end of the data the sink goes idle: release the device.
        if (estado == QAudio::IdleState)
            saida->stop();
    });
    saida->start(&atual->leitura);
}

void Parar()
{
    if (falso) {
        ++falso->paradas;
        return;
    }
    if (atual && atual->saida)
        atual->saida->stop();
    atual.reset();
}

bool Tocando()
{
    if (falso)
        return false;
    return atual && atual->saida && atual->saida->state() == QAudio::ActiveState;
}

void UsarFalso(Falso *f)
{
    falso = f;
}

} // namespace audio
