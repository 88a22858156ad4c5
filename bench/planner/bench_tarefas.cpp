// Cost of loading the task list: 1,000 tasks of one user into the task grid, on a file of
// 100,000 tasks of 100 users. Run by hand:
//   build/bin/bench_velora_tarefas [--benchmark_repetitions=5]
// The file is made once in the temporary folder (VELORA_BENCH_BASE names another place).

#include "base_de_bench.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"
#include "tasks/modTarefas.h"
#include "tasks/painel_tarefas.h"

namespace {

constexpr int usuarios = 100, tarefasPorUsuario = 1000;

// Every user's tasks over about two years, one to three lines each, priorities and executed
// marks mixed, end dates shared by several tasks so the priority and key orders count.
QString carga()
{
    return QStringLiteral("BEGIN;WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(usuarios) +
        QStringLiteral(") INSERT INTO Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario,Pastinha) "
                       "SELECT printf('U%03d',i),'Usuário '||i,'u'||i||'@exemplo.com.br',' ',' ','1900-01-01','Tarefas' FROM n;"
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < ") +
        QString::number(usuarios * tarefasPorUsuario - 1) +
        QStringLiteral(") INSERT INTO Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) "
                       "SELECT 1 + i % ") + QString::number(usuarios) +
        QStringLiteral(", date('2026-01-01', '+' || (i * 7 % 700) || ' days'), date('2026-01-01', '+' || (i * 7 % 700 + i % 5) || ' days'), "
                       "CASE i % 3 WHEN 0 THEN 'Tarefa ' || i WHEN 1 THEN 'Tarefa ' || i || char(13,10) || 'segunda linha' "
                       "ELSE 'Tarefa ' || i || char(13,10) || 'segunda' || char(13,10) || 'terceira' END, "
                       "CASE WHEN i % 4 = 0 THEN '1' ELSE '0' END, i % 3 FROM n;COMMIT;ANALYZE;");
}

void BM_LinhasTarefas(benchmark::State &state)
{
    Sessao.Codigo = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(LinhasTarefas().size());
}
BENCHMARK(BM_LinhasTarefas)->Unit(benchmark::kMillisecond);

// The loader as the panel switch calls it: read, then fill the grid over the last load's rows.
void BM_CarregarTarefas(benchmark::State &state)
{
    Sessao.Codigo = 1;
    frmAgenda();
    for (auto _ : state)
        frmAgenda().frmTarefas->CarregarTarefas();
    state.counters["linhas"] = frmAgenda().frmTarefas->grdTarefas->Rows() - 1;
}
BENCHMARK(BM_CarregarTarefas)->Unit(benchmark::kMillisecond);

// The same on the shown panel, until the window has laid out and painted the grid.
void BM_CarregarTarefasExibidas(benchmark::State &state)
{
    Sessao.Codigo = 1;
    FrmAgenda &agenda = frmAgenda();
    agenda.show();
    agenda.frmTarefas->show();
    QApplication::processEvents();
    for (auto _ : state) {
        frmAgenda().frmTarefas->CarregarTarefas();
        QApplication::processEvents();
    }
    agenda.hide();
}
BENCHMARK(BM_CarregarTarefasExibidas)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RodarBenchmarks(argc, argv, "velora-bench-tarefas", carga());
}
