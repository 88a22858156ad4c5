// Cost of the data files: 100,000 appointments of one user to iCalendar and the same file read
// back into another user, and 10,000 contacts to vCard and back. Run by hand:
//   build/bin/bench_velora_dados [--benchmark_repetitions=3]
// The file is made once in the temporary folder (VELORA_BENCH_BASE names another place). The
// imports run inside a transaction that is undone, so every round starts from the same file.

#include "base_de_bench.h"
#include "core/sessao.h"
#include "dados/modICal.h"
#include "dados/modVCard.h"

namespace {

constexpr int compromissos = 100000, contatos = 10000;

// Two users; the first has appointments over about three years (every other one with an end
// time and its continuation row, every third with a reminder) and contacts with a birthday each.
QString carga()
{
    return QStringLiteral(
               "BEGIN;INSERT INTO Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario,Pastinha) VALUES "
               "('U1','Um','u1@exemplo.com.br',' ',' ','1900-01-01','Inicial'),('U2','Dois','u2@exemplo.com.br',' ',' ','1900-01-01','Inicial');"
               "INSERT INTO Configuracao(Usuario,InicioGrade,FinalGrade,Intervalos,PosicaoAniversarios,SomCompromisso,ChecagemGeral,"
               "VisualizarCompartilhamento) VALUES (1,'08:00','17:00',30,'A','Cuco',1,'S'),(2,'08:00','17:00',30,'A','Cuco',1,'S');"
               "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < {C}) "
               "INSERT INTO Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
               "SELECT 1, date('2026-01-01', '+' || (i % 1100) || ' days'), printf('%02d:%02d:00', 7 + i % 12, (i % 2) * 30), "
               "CASE WHEN i % 2 = 0 THEN printf('%02d:30:00', 7 + i % 12) END, 'Compromisso número ' || i || ', sala ' || (i % 40), 0, "
               "CASE WHEN i % 3 = 0 THEN '0' ELSE '3' END, 'N' FROM n;"
               "INSERT INTO Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) "
               "SELECT 1, Data, HoraFim, NULL, Compromisso, Chave, Status, 'N' FROM Compromissos WHERE HoraFim IS NOT NULL;"
               "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < {E}) "
               "INSERT INTO Enderecos(Usuario,Nome,Empresa,Endereco,Cidade,Estado,Cep,Email,FoneRes,FoneCel,Aniversario,Compartilhado,"
               "ChaveAniversario) SELECT 1, 'Contato ' || i, 'Empresa ' || (i % 100), 'Rua ' || i || ', ' || (i % 900), 'São Paulo', 'SP', "
               "'01000000', 'c' || i || '@exemplo.com.br', '(11)3333-' || i, '(11)99999-' || i, printf('%02d/%02d', 1 + i % 28, 1 + i % 12), "
               "'N', 0 FROM n;COMMIT;ANALYZE;")
        .replace(QStringLiteral("{C}"), QString::number(compromissos - 1))
        .replace(QStringLiteral("{E}"), QString::number(contatos - 1));
}

void BM_ExportarICal(benchmark::State &state)
{
    Sessao.Codigo = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportarICal().size());
}
BENCHMARK(BM_ExportarICal)->Unit(benchmark::kMillisecond);

void BM_ImportarICal(benchmark::State &state)
{
    Sessao.Codigo = 1;
    const QByteArray arquivo = ExportarICal();
    Sessao.Codigo = 2;
    Sessao.Intervalos = 30;
    for (auto _ : state) {
        Transacao desfeita;
        const ResultadoImportacao r = ImportarICal(arquivo);
        if (r.itens != compromissos)
            state.SkipWithError(qPrintable(r.erro));
    }
}
BENCHMARK(BM_ImportarICal)->Unit(benchmark::kMillisecond);

void BM_VCardIdaEVolta(benchmark::State &state)
{
    for (auto _ : state) {
        Sessao.Codigo = 1;
        const QByteArray arquivo = ExportarVCard();
        Sessao.Codigo = 2;
        Transacao desfeita;
        const ResultadoImportacao r = ImportarVCard(arquivo);
        if (r.itens != contatos)
            state.SkipWithError(qPrintable(r.erro));
    }
}
BENCHMARK(BM_VCardIdaEVolta)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RodarBenchmarks(argc, argv, "velora-bench-dados", carga());
}
