// The alert sounds: played from the program's own resources, silent without a device.

#include "appointments/modSons.h"
#include "platform/audio.h"
#include "resources/recursos.h"

#include <gtest/gtest.h>

TEST(Sons, TocaDaMemoriaOuSeCalaSemDispositivo)
{
    audio::Falso falso;
    audio::UsarFalso(&falso);
    for (const char *nome : {"AHA", "CAMPAINHA", "CUCO", "NAVE", "SIRENE", "TELEFONE", "TIRO"}) {
        TocarSom(QString::fromLatin1(nome), QStringLiteral("SOM"));
        ASSERT_FALSE(falso.tocados.isEmpty()) << nome;
        EXPECT_EQ(falso.tocados.last(), recursos::Som(QString::fromLatin1(nome))) << nome;
        EXPECT_FALSE(falso.tocados.last().isEmpty()) << nome;
    }
    PararSom();
    EXPECT_EQ(falso.paradas, 1);

    falso.tocados.clear();
    falso.comSaida = false;
    TocarSom(QStringLiteral("CUCO"), QStringLiteral("SOM"));
    EXPECT_TRUE(falso.tocados.isEmpty());
    audio::UsarFalso(nullptr);
}

TEST(Sons, CamadaRealNuncaPrendeOPrograma)
{
    // Whatever the machine has (usually no device here), the calls return and stopping is harmless.
    TocarSom(QStringLiteral("SIRENE"), QStringLiteral("SOM"));
    PararSom();
    PararSom();
    EXPECT_FALSE(audio::Tocando());
    audio::Tocar(QByteArray("RIFF\x04\0\0\0WAVE", 12));  // no format, no data: nothing plays
    EXPECT_FALSE(audio::Tocando());
}
