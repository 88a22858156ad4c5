#include "tasks/modTarefas.h"

#include "appointments/modCompromissos.h"
#include "core/frmAgenda.h"
#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"
#include "tasks/painel_tarefas.h"

#include <QRegularExpression>

namespace {

// Running sum of the data rows' heights, in twips; each load starts it again.
int AlturaLinhasTarefas = 0;
QVector<LinhaTarefa> exibidas;

} // namespace

QString TextoPrioridade(int prioridade)
{
    return prioridade == 0 ? QStringLiteral("Alta") : prioridade == 1 ? QStringLiteral("Normal") : QStringLiteral("Baixa");
}

QColor CorPrioridade(int prioridade)
{
    return prioridade == 0 ? QColor(255, 255, 192) : prioridade == 1 ? QColor(255, 192, 255) : QColor(255, 255, 255);
}

QStringList LinhasDaDescricao(const QString &descricao)
{
    static const QRegularExpression quebra(QStringLiteral("\r\n|\r|\n"));
    return descricao.split(quebra);
}

std::optional<FalhaTarefa> VerificarTarefa(const QDate &data, const QDate &dataFim, const QString &descricao)
{
    if (dataFim < data)
        return FalhaTarefa{QStringLiteral("Data Final não pode ser menor que Data Início!"), 3, false};
    // Line breaks alone describe nothing either.
    if (descricao.trimmed().isEmpty())
        return FalhaTarefa{QStringLiteral("Informe a Descrição da Tarefa!"), 2, true};
    return std::nullopt;
}

namespace {

QVector<LinhaTarefa> lerTarefas(const QString &condicao)
{
    QVector<LinhaTarefa> linhas;
    RecordSet rs = Consultar(QStringLiteral("Select * from Tarefas Saldos Where Usuario = ") + QString::number(Sessao.Codigo) + condicao);
    linhas.reserve(rs.RecordCount());
    for (; !rs.Eof(); rs.MoveNext())
        linhas.append({rs(QStringLiteral("Chave")).Inteiro(), rs(QStringLiteral("Status")).Texto(),
                       rs(QStringLiteral("Data")).Data(), rs(QStringLiteral("DataFim")).Data(),
                       rs(QStringLiteral("Descricao")).Texto(), int(rs(QStringLiteral("Prioridade")).Inteiro())});
    return linhas;
}

} // namespace

QVector<LinhaTarefa> LinhasTarefas()
{
    // Dates are stored YYYY-MM-DD, so the text order is the date order; the key settles ties.
    return lerTarefas(QStringLiteral(" Order By DataFim,Prioridade,Chave"));
}

void CarregarTarefas()
{
    // Read first: a failed read leaves the grid as it was.
    exibidas = LinhasTarefas();
    PainelTarefas &p = *frmAgenda().frmTarefas;
    tk::Grade &g = *p.grdTarefas;
    g.setUpdatesEnabled(false);
    g.DefinirCabecalho({
        {"  ", Qt::AlignCenter, 250},
        {"Início", Qt::AlignCenter, 1050},
        {"Prior", Qt::AlignCenter, 700},
        {"  Tarefa", Qt::AlignLeft | Qt::AlignVCenter, 2541},
        {"Final", Qt::AlignCenter, 1050},
    });
    AlturaLinhasTarefas = 0;
    for (const LinhaTarefa &t : std::as_const(exibidas))
        AdicionarLinhaTarefa(t.chave, t.status, t.data, t.dataFim, t.descricao, t.prioridade);
    // No row stays selected over its priority's colour.
    g.DefinirCol(0);
    g.DefinirRow(0);
    g.setEnabled(!exibidas.isEmpty());
    p.txtTarefasSemCadastro->setVisible(exibidas.isEmpty());
    g.setUpdatesEnabled(true);
}

const QVector<LinhaTarefa> &TarefasExibidas()
{
    return exibidas;
}

void EsquecerTarefas()
{
    exibidas.clear();
    frmAgenda().frmTarefas->grdTarefas->DefinirRows(1);
}

void AdicionarLinhaTarefa(qint64 chave, const QString &status, const QDate &data, const QDate &dataFim,
                          const QString &descricao, int prioridade)
{
    tk::Grade &g = *frmAgenda().frmTarefas->grdTarefas;
    g.DefinirRows(g.Rows() + 1);
    const int r = g.Rows() - 1;
    g.DefinirRow(r);
    const QColor fundo = CorPrioridade(prioridade);
    const auto celula = [&](int coluna, const QString &texto) {
        g.DefinirCol(coluna);
        g.DefinirCellBackColor(fundo);
        g.DefinirText(texto);
    };
    g.DefinirTextMatrix(r, 0, QString::number(chave));
    celula(1, QString());
    if (status.trimmed().toInt() == 1)
        g.DefinirCellPicture(Figuras().imgExecutado);
    celula(2, TextoDaData(data));
    celula(3, TextoPrioridade(prioridade));
    const QStringList linhas = LinhasDaDescricao(descricao);
    celula(4, linhas.join(u'\n'));
    const int altura = int(linhas.size()) * AlturaLinhaTarefa;
    g.DefinirRowHeight(r, altura);
    AlturaLinhasTarefas += altura;
    celula(5, TextoDaData(dataFim));
    // The rows no longer fit: the vertical scroll bar takes its width from the description.
    if (AlturaLinhasTarefas > tk::Height(g) - 125)
        g.DefinirColWidth(4, 2280);
}

void GravarTarefa(qint64 chave, const QDate &data, const QDate &dataFim, const QString &descricao,
                  const QString &status, int prioridade)
{
    const QString usuario = QString::number(Sessao.Codigo);
    const QString texto = SqlTexto(LinhasDaDescricao(AparaEspacos(descricao)).join(QStringLiteral("\r\n")));
    if (chave == 0) {
        Executar(QStringLiteral("Insert into Tarefas(Usuario,Data,DataFim,Descricao,Status,Prioridade) values (") + usuario +
                 QStringLiteral(",cdate('") + TextoDaData(data) + QStringLiteral("'),cdate('") + TextoDaData(dataFim) +
                 QStringLiteral("'),'") + texto + QStringLiteral("','") + SqlTexto(status) + QStringLiteral("',") +
                 QString::number(prioridade) + QStringLiteral(")"));
        return;
    }
    Executar(QStringLiteral("Update Tarefas set Data = cdate('") + TextoDaData(data) + QStringLiteral("'),DataFim = cdate('") +
             TextoDaData(dataFim) + QStringLiteral("'),Descricao = '") + texto + QStringLiteral("',Status = '") + SqlTexto(status) +
             QStringLiteral("',Prioridade = ") + QString::number(prioridade) + QStringLiteral(" Where Usuario = ") + usuario +
             QStringLiteral(" and Chave = ") + QString::number(chave));
}

Gravacao AlterarTarefa(const LinhaTarefa &aberta, const QDate &data, const QDate &dataFim, const QString &descricao,
                       const QString &status, int prioridade)
{
    Transacao t;
    const QVector<LinhaTarefa> atual = lerTarefas(QStringLiteral(" and Chave = ") + QString::number(aberta.chave));
    if (atual.isEmpty())
        return Gravacao::Excluida;
    if (atual.first() != aberta)
        return Gravacao::Alterada;
    GravarTarefa(aberta.chave, data, dataFim, descricao, status, prioridade);
    t.Confirmar();
    return Gravacao::Gravada;
}

void ExcluirTarefa(qint64 chave)
{
    Executar(QStringLiteral("Delete from Tarefas Where Usuario = ") + QString::number(Sessao.Codigo) +
             QStringLiteral(" and Chave = ") + QString::number(chave));
}
