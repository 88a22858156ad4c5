// The contact list on a file of 10,000 contacts of 10 users, half of them shared, seen by a user
// who views shared data: a letter tab and the all-contacts search, each to a filled grid, and
// the rows alone (query and alphabetical order). Run by hand:
//   build/bin/bench_velora_enderecos [--benchmark_repetitions=5]
// The file is made once in the temporary folder (VELORA_BENCH_BASE names another place).

#include "base_de_bench.h"
#include "contacts/modEndereco.h"
#include "contacts/painel_enderecos.h"
#include "core/frmAgenda.h"
#include "core/sessao.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int usuarios = 10, contatos = 10000;
constexpr int letraM = 13;

// First names over the alphabet, accented ones and a firm starting with a digit among them.
QString carga()
{
    return
        QStringLiteral("BEGIN;"
                       "CREATE TEMP TABLE Prenomes(i INTEGER PRIMARY KEY, p TEXT);"
                       "INSERT INTO Prenomes(p) VALUES ('Ana'),('Ângela'),('Bruno'),('Beatriz'),('Carlos'),('Cecília'),('Daniel'),"
                       "('Débora'),('Eduardo'),('Élen'),('Fábio'),('Gabriela'),('Heitor'),('Íris'),('João'),('Karina'),('Lucas'),"
                       "('Márcia'),('Marcos'),('Maria'),('Nuno'),('Otávio'),('Óscar'),('Paula'),('Quitéria'),('Rafael'),('Sílvia'),"
                       "('Tiago'),('Úrsula'),('Vânia'),('Walter'),('Xavier'),('Yara'),('Zé'),('3M do Brasil'),('luiza');"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(usuarios) +
        QStringLiteral(") INSERT INTO Usuarios(Login,Nome,Email,FoneRes,FoneCel,Aniversario,Pastinha) "
                       "SELECT 'U'||i,'Usuário '||i,'u'||i||'@exemplo.com.br',' ',' ','1900-01-01','Enderecos' FROM n;"
                       "INSERT INTO Configuracao(Usuario,InicioGrade,FinalGrade,Intervalos,PosicaoAniversarios,SomCompromisso,ChecagemGeral,VisualizarCompartilhamento) "
                       "SELECT Codigo,'08:00','18:00',30,'A','Cuco',1,'S' FROM Usuarios;"
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i+1 FROM n WHERE i < ") + QString::number(contatos - 1) +
        QStringLiteral(") INSERT INTO Enderecos(Usuario,Nome,Empresa,Endereco,Cidade,Estado,Cep,Email,FoneRes,FoneCel,FoneCom,Observacao,"
                       "Aniversario,Compartilhado,ChaveAniversario) "
                       "SELECT 1 + i % ") + QString::number(usuarios) +
        QStringLiteral(", (SELECT p FROM Prenomes WHERE i = 1 + (n.i * 7) % 36) || ' Contato ' || (n.i * 7919 % 10007), "
                       "'Empresa ' || (n.i % 97), 'Rua ' || n.i, 'São Paulo', 'SP', printf('%08d', n.i * 37), "
                       "'contato' || n.i || '@exemplo.com.br', CASE WHEN n.i % 3 = 0 THEN NULL ELSE '3333-' || (1000 + n.i % 9000) END, "
                       "'9' || (10000000 + n.i), '4444-' || (1000 + n.i % 9000), NULL, printf('%02d/%02d', 1 + n.i % 28, 1 + n.i % 12), "
                       "CASE WHEN n.i % 2 = 0 THEN 'S' ELSE 'N' END, 0 FROM n;"
                       "COMMIT;ANALYZE;");
}

void entrarComoUsuario1()
{
    Sessao.Codigo = 1;
    Sessao.VisualizarCompartilhamento = true;
}

// The panel on screen, so each load is timed up to the grid painted.
PainelEnderecos &painelVisivel()
{
    frmAgenda().show();
    frmAgenda().frmEndereco->show();
    return *frmAgenda().frmEndereco;
}

void BM_LinhasTodosOsContatos(benchmark::State &state)
{
    entrarComoUsuario1();
    const QString todos = CondicaoDaPesquisa(QString(), QString(), QString(), QString());
    for (auto _ : state)
        benchmark::DoNotOptimize(LinhasContatos(todos).size());
}
BENCHMARK(BM_LinhasTodosOsContatos)->Unit(benchmark::kMillisecond);

void BM_AbaDeLetra(benchmark::State &state)
{
    entrarComoUsuario1();
    PainelEnderecos &p = painelVisivel();
    for (auto _ : state) {
        p.frmAgenda_cmdLetra_Click(letraM);
        p.grdEndereco->repaint();
    }
    state.counters["linhas"] = p.grdEndereco->Rows() - 1;
}
BENCHMARK(BM_AbaDeLetra)->Unit(benchmark::kMillisecond);

void BM_PesquisaTodosOsContatos(benchmark::State &state)
{
    entrarComoUsuario1();
    PainelEnderecos &p = painelVisivel();
    for (auto _ : state) {
        p.frmAgenda_cmdEnderecoPesquisar_Click();
        p.grdEndereco->repaint();
    }
    state.counters["linhas"] = p.grdEndereco->Rows() - 1;
}
BENCHMARK(BM_PesquisaTodosOsContatos)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RodarBenchmarks(argc, argv, "velora-bench-enderecos", carga());
}
