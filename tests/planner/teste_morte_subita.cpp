// The planner killed at random moments while it writes: the file stays sound and every group
// of rows that must stand together is wholly there or wholly absent.

#include "apoio.h"
#include "appointments/modCompromissos.h"

#include <QProcess>
#include <QTime>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

// Rows that break a group, by kind; each query counts them.
const struct {
    const char *grupo, *sql;
} violacoes[] = {
    {"usuário sem preferências", "Select count(*) from Usuarios u Where (Select count(*) from Configuracao c Where c.Usuario = u.Codigo) <> 1"},
    {"preferências sem usuário", "Select count(*) from Configuracao c Where not exists (Select 1 from Usuarios u Where u.Codigo = c.Usuario)"},
    {"compromisso sem usuário", "Select count(*) from Compromissos c Where not exists (Select 1 from Usuarios u Where u.Codigo = c.Usuario)"},
    {"continuação sem cabeça", "Select count(*) from Compromissos c Where ChavePai <> 0 and not exists "
                               "(Select 1 from Compromissos h Where h.Chave = c.ChavePai and h.ChavePai = 0 and h.Data = c.Data)"},
    // An appointment repeated over the rest of the week: Wednesday to Sunday, all five days or none.
    {"semana incompleta", "Select count(*) from (Select Compromisso from Compromissos Where ChavePai = 0 Group By Usuario, Compromisso "
                          "Having count(*) <> 5)"},
};

} // namespace

TEST(MorteSubita, CadaGrupoFicaInteiroOuAusente)
{
    BaseDeTeste base;
    const int mortes = qEnvironmentVariableIntValue("VELORA_MORTES") > 0 ? qEnvironmentVariableIntValue("VELORA_MORTES") : 300;
    std::mt19937 sorte(20261208);
    std::uniform_int_distribution<int> passos(0, 5), atraso(0, 15000);
    auto ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("VELORA_DADOS"), base.pasta.path());
    int passosVistos = 0;

    for (int morte = 0; morte < mortes; ++morte) {
        QProcess filho;
        filho.setProcessEnvironment(ambiente);
        filho.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        filho.start(QStringLiteral(FILHO_MORTE_SUBITA), {});
        ASSERT_TRUE(filho.waitForStarted(10000));
        // Let it finish some operations, then kill it a random moment into the next one; the
        // pause only places the kill, nothing waits on it.
        for (int n = passos(sorte); n > 0; --n) {
            while (!filho.canReadLine())
                ASSERT_TRUE(filho.waitForReadyRead(30000)) << "o filho parou sem terminar um passo: " << filho.exitCode();
            ASSERT_EQ(filho.readLine(), QByteArray("passo\n"));
            ++passosVistos;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(atraso(sorte)));
        filho.kill();
        ASSERT_TRUE(filho.waitForFinished(10000));
        ASSERT_EQ(filho.exitStatus(), QProcess::CrashExit) << "o filho terminou sozinho: " << filho.exitCode();

        ASSERT_EQ(base.Valor(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok")) << morte;
        for (const auto &v : violacoes)
            ASSERT_EQ(base.Valor(QString::fromUtf8(v.sql)), QStringLiteral("0")) << v.grupo << ", morte " << morte;
        // Every head row has the continuation rows its times call for (a step of 30 minutes).
        const QString incompletas = base.Valor(QStringLiteral(
            "Select count(*) from Compromissos h Where ChavePai = 0 and HoraFim is not null and "
            "(Select count(*) from Compromissos c Where c.ChavePai = h.Chave) <> "
            "case when HoraFim = '10:00:00' then 2 else 4 end"));
        ASSERT_EQ(incompletas, QStringLiteral("0")) << morte;
    }
    RecordProperty("passos", passosVistos);
    // The kills reached every operation, not only the start.
    EXPECT_GT(passosVistos, mortes);
    EXPECT_GT(base.Valor(QStringLiteral("Select count(*) from Usuarios")).toInt(), 0);
}
