// Costs of the planner's database operations and of building a busy day's grid, on a file of
// 1,000,000 appointments of 100 users. Run by hand:
//   build/bin/bench_velora_banco [--benchmark_repetitions=5]
// The file is made once in the temporary folder (VELORA_BENCH_BASE names another place).

#include "appointments/modCompromissos.h"
#include "appointments/painel_compromissos.h"
#include "base_de_bench.h"
#include "core/frmAgenda.h"
#include "core/modDb.h"
#include "core/sessao.h"

#include <benchmark/benchmark.h>

namespace {

const QDate diaCheio(2026, 6, 15);
constexpr int usuarios = 100, linhas = 1000000;

// 100 users; appointments spread over about 3 years, the busy day's 30 of user 1 among them,
// a fifth of all rows shared.
QString carga()
{
    // Built by concatenation: the SQL's own printf patterns must not meet QString::arg.
    const QString sql =
        QStringLiteral("BEGIN;"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(usuarios) +
        QStringLiteral(") INSERT INTO Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario,Pastinha) "
                       "SELECT printf('U%03d',i),'Usuário '||i,'u'||i||'@exemplo.com.br',' ',' ','1900-01-01','Compromissos' FROM n;"
                       "INSERT INTO Configuracao(Usuario,InicioGrade,FinalGrade,Intervalos,PosicaoAniversarios,SomCompromisso,ChecagemGeral,VisualizarCompartilhamento) "
                       "SELECT Codigo,'07:00','20:00',30,'A','Cuco',1,'S' FROM Usuarios;"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(linhas - 30) +
        QStringLiteral(") INSERT INTO Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
                       "SELECT 1 + i % ") + QString::number(usuarios) +
        QStringLiteral(", date('2025-01-01', '+' || ((i * 7919 % 1100 + i / 1100) % 1100) || ' days'), "
                       "printf('%02d:%02d:00', 7 + i % 13, (i % 4) * 15), NULL, 'Compromisso ' || i, 0, "
                       "CASE WHEN i % 10 = 0 THEN '1' ELSE '0' END, CASE WHEN i % 5 = 0 THEN 'S' ELSE 'N' END FROM n;"
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < 29) "
                       "INSERT INTO Compromissos(Usuario,Data,Hora,Compromisso,ChavePai,Status,Compartilhado) "
                       "SELECT 1, '") + diaCheio.toString(Qt::ISODate) +
        QStringLiteral("', printf('%02d:%02d:00', 7 + i / 3, (i % 3) * 20), 'Dia cheio ' || i, 0, '0', 'N' FROM n;"
                       "COMMIT;ANALYZE;");
    return sql;
}

void entrarComoUsuario1()
{
    Sessao.Codigo = 1;
    Sessao.InicioGrade = QTime(7, 0);
    Sessao.FinalGrade = QTime(20, 0);
    Sessao.Intervalos = 30;
    Sessao.PosicaoAniversarios = QStringLiteral("A");
    Sessao.VisualizarCompartilhamento = true;
}

void BM_Consultar(benchmark::State &state)
{
    for (auto _ : state) {
        RecordSet rs = Consultar(QStringLiteral("Select * from usuarios Where Login = 'U050'"));
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(BM_Consultar)->Unit(benchmark::kMicrosecond);

void BM_Executar(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Executar(QStringLiteral("Update Usuarios set Pastinha = '%1' Where Codigo = 7")
                                              .arg(++i % 2 ? QStringLiteral("Notas") : QStringLiteral("Tarefas"))));
}
BENCHMARK(BM_Executar)->Unit(benchmark::kMicrosecond);

void BM_LinhasDoDiaCheio(benchmark::State &state)
{
    entrarComoUsuario1();
    for (auto _ : state)
        benchmark::DoNotOptimize(LinhasDoDia(diaCheio).size());
}
BENCHMARK(BM_LinhasDoDiaCheio)->Unit(benchmark::kMicrosecond);

void BM_MontarGradeDiaCheio(benchmark::State &state)
{
    entrarComoUsuario1();
    frmAgenda();
    for (auto _ : state)
        frmAgenda().frmCompromissos->MontarGrade(diaCheio);
    state.counters["linhas"] = frmAgenda().frmCompromissos->grdCompromissos->Rows();
}
BENCHMARK(BM_MontarGradeDiaCheio)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return RodarBenchmarks(argc, argv, "velora-bench", carga());
}
