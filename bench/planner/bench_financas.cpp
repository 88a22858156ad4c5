// Cost of showing a month of the ledger with 500 entries: the rows and both balances read from
// the file, and the whole panel load to a filled grid (target: 20 ms). The file holds five years
// of such months for user 1 and the entries of 99 other users. Run by hand:
//   build/bin/bench_velora_financas [--benchmark_repetitions=5]
// The file is made once in the temporary folder (VELORA_BENCH_BASE names another place).

#include "base_de_bench.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "finances/modFinancas.h"
#include "finances/painel_financas.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int mesCheio = 6, anoCheio = 2026, porMes = 500, outros = 99, porOutro = 2000;

// User 1: 500 entries in every month of 2023 to 2027, a third of them receipts, every fifth
// one planned, with an opening balance per month; 99 other users with 2000 entries each.
QString carga()
{
    const QString sql =
        QStringLiteral("BEGIN;"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(outros + 1) +
        QStringLiteral(") INSERT INTO Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario,Pastinha) "
                       "SELECT printf('U%03d',i),'Usuário '||i,'u'||i||'@exemplo.com.br',' ',' ','1900-01-01','Financas' FROM n;"
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(60 * porMes - 1) +
        QStringLiteral(") INSERT INTO Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) "
                       "SELECT 1, date('2023-01-01', '+' || (i / ") + QString::number(porMes) +
        QStringLiteral(") || ' months', '+' || (i % 28) || ' days'), 'Lançamento ' || i, "
                       "CASE WHEN i % 3 = 0 THEN (i % 997) + 0.25 END, CASE WHEN i % 3 <> 0 THEN (i % 389) + 0.1 END, "
                       "CASE WHEN i % 5 = 0 THEN 'N' ELSE 'S' END FROM n;"
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(outros * porOutro - 1) +
        QStringLiteral(") INSERT INTO Financas(Usuario,Data,Descricao,Recebido,Pago,Efetuado) "
                       "SELECT 2 + i % ") + QString::number(outros) +
        QStringLiteral(", date('2023-01-01', '+' || (i % 1800) || ' days'), 'Outro ' || i, NULL, (i % 500) + 0.5, 'S' FROM n;"
                       "INSERT INTO Saldos(Usuario,Ano,M1,M2,M3,M4,M5,M6,M7,M8,M9,M10,M11,M12) "
                       "SELECT 1, y, 1, 2, 3, 4, 5, 6.5, 7, 8, 9, 10, 11, 12 FROM (SELECT 2023 y UNION SELECT 2024 UNION SELECT 2025 "
                       "UNION SELECT 2026 UNION SELECT 2027);"
                       "COMMIT;ANALYZE;");
    return sql;
}

void BM_LerMes500(benchmark::State &state)
{
    Sessao.Codigo = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(LerMes(mesCheio, anoCheio).saldoAtual);
    state.counters["linhas"] = double(LerMes(mesCheio, anoCheio).linhas.size());
}
BENCHMARK(BM_LerMes500)->Unit(benchmark::kMillisecond);

void BM_CarregarMes500(benchmark::State &state)
{
    Sessao.Codigo = 1;
    PainelFinancas &p = *frmAgenda().frmFinancas;
    for (auto _ : state)
        p.CarregarMes(mesCheio, anoCheio);
    state.counters["linhas"] = p.grdFinancas->Rows() - 1;
}
BENCHMARK(BM_CarregarMes500)->Unit(benchmark::kMillisecond);

void BM_SaldoImportado500(benchmark::State &state)
{
    Sessao.Codigo = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(SaldoImportado(mesCheio + 1, anoCheio));
}
BENCHMARK(BM_SaldoImportado500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RodarBenchmarks(argc, argv, "velora-bench-financas", carga());
}
