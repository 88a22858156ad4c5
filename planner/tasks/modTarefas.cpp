#include "tasks/modTarefas.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"

#include <QRegularExpression>

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
