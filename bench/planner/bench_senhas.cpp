// What a refused sign-on costs, through the logon form's own handler: an unknown login, a wrong
// password against a stored hash, and against an old encoding not yet migrated. The three should
// take the same time, so a login cannot be guessed by how fast it is refused. Run by hand:
//   build/bin/bench_velora_senhas [--benchmark_repetitions=5]

#include "base_de_bench.h"
#include "core/frmLogon.h"
#include "core/modMsgBox.h"
#include "core/modSenha.h"
#include "platform/modal.h"
#include "platform/toolkit.h"

#include <benchmark/benchmark.h>

namespace {

void recusar(benchmark::State &state, const char *login)
{
    FrmLogon &f = frmLogon();
    f.txtLogin->setText(QString::fromLatin1(login));
    f.txtPass->setText(QStringLiteral("errada"));
    for (auto _ : state)
        f.frmLogon_cmdLogar_Click();
}

void BM_RecusaLoginDesconhecido(benchmark::State &state) { recusar(state, "NINGUEM"); }
void BM_RecusaSenhaErradaHash(benchmark::State &state) { recusar(state, "ANA"); }
void BM_RecusaSenhaErradaAntiga(benchmark::State &state) { recusar(state, "BIA"); }
BENCHMARK(BM_RecusaLoginDesconhecido)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecusaSenhaErradaHash)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecusaSenhaErradaAntiga)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Each refusal's message is answered at once.
    modal::DefinirSemRoteiro([](QWidget &janela) { static_cast<FrmMsgBox &>(janela).cmdMOkay->click(); });
    const QString usuarios =
        QStringLiteral("BEGIN;Insert into Usuarios (Login,Nome,Email,FoneRes,FoneCel,Aniversario,Senha,Pastinha) values "
                       "('ANA','Ana','a@exemplo.com.br',' ',' ','1900-01-01','%1','Inicial'),"
                       "('BIA','Bia','b@exemplo.com.br',' ',' ','1900-01-01','%2','Inicial');COMMIT;")
            .arg(GuardarSenha(QStringLiteral("certa")), CodificarSenha(QStringLiteral("certa")));
    return RodarBenchmarks(argc, argv, "velora-bench-senhas", usuarios);
}
