#include "tasks/painel_tarefas.h"

#include "appointments/modCompromissos.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "platform/relogio.h"
#include "resources/recursos.h"
#include "tasks/modTarefas.h"

namespace {

QDate lerData(const tk::CaixaTexto *caixa)
{
    return DataDoTexto(caixa->text());
}

} // namespace

PainelTarefas::PainelTarefas(QWidget *parent, Navegacao &nav) : tk::Moldura(parent), nav(nav)
{
    cmdTarefaNova = new tk::Botao(this, QStringLiteral("&Nova Tarefa"));
    cmdTarefaNova->setGeometry(0, 1, 120, 25);

    // Header and eighteen one-line rows exactly, so the rule that narrows the description for
    // the scroll bar fires with the row that brings the bar.
    grdTarefas = new tk::Grade(this);
    const int moldura = 2 * grdTarefas->frameWidth();
    grdTarefas->setGeometry(0, 32, tk::Px(5600) + moldura, tk::Px(240) + 18 * tk::Px(AlturaLinhaTarefa) + moldura);
    // A task of more lines than the grid shows can still be read to its end.
    grdTarefas->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    txtTarefasSemCadastro = new tk::CaixaTexto(this);
    txtTarefasSemCadastro->setGeometry(grdTarefas->geometry());
    txtTarefasSemCadastro->setText(QStringLiteral("Sem Tarefas Cadastradas"));
    txtTarefasSemCadastro->setAlignment(Qt::AlignCenter);
    txtTarefasSemCadastro->setEnabled(false);
    txtTarefasSemCadastro->hide();

    // The task form, laid over the grid.
    frmTarefasDados = new tk::Moldura(this, QColor(0xfb, 0xf8, 0xf1));
    frmTarefasDados->setGeometry(0, 32, 390, 388);
    QWidget *d = frmTarefasDados;
    new tk::Rotulo(d, QStringLiteral("Data Início :"), 10, 8, 120);
    txtTarefaDataInicio = new tk::CaixaTexto(d, 10);
    txtTarefaDataInicio->setGeometry(10, 30, 90, 21);
    txtTarefaDataInicio->setEnabled(false);
    cmdCalTarefaInicio = new tk::BotaoFigura(d, recursos::Figura(QStringLiteral("calendario")), QStringLiteral("Exibir Calendário"));
    cmdCalTarefaInicio->move(104, 27);
    new tk::Rotulo(d, QStringLiteral("Data Final :"), 201, 8, 120);
    txtTarefaDataFim = new tk::CaixaTexto(d, 10);
    txtTarefaDataFim->setGeometry(201, 30, 90, 21);
    txtTarefaDataFim->setEnabled(false);
    cmdCalTarefaFim = new tk::BotaoFigura(d, recursos::Figura(QStringLiteral("calendario")), QStringLiteral("Exibir Calendário"));
    cmdCalTarefaFim->move(295, 27);
    new tk::Rotulo(d, QStringLiteral("Descrição da Tarefa :"), 10, 60, 200);
    // Stored with CR LF breaks: each line break counts two of the 255 characters.
    txtTarefaDescricao = new tk::CaixaTextoMultilinha(d, 255);
    txtTarefaDescricao->setGeometry(10, 82, 370, 130);
    txtTarefaDescricao->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    new tk::Rotulo(d, QStringLiteral("Prioridade :"), 10, 222, 80);
    optTarefaAlta = new tk::BotaoOpcao(d, QStringLiteral("Alta"));
    optTarefaAlta->setGeometry(96, 222, 70, 21);
    optTarefaNormal = new tk::BotaoOpcao(d, QStringLiteral("Normal"));
    optTarefaNormal->setGeometry(170, 222, 80, 21);
    optTarefaBaixa = new tk::BotaoOpcao(d, QStringLiteral("Baixa"));
    optTarefaBaixa->setGeometry(254, 222, 70, 21);
    chkTarefaExecutado = new tk::CaixaSelecao(d, QStringLiteral("Tarefa Executada"));
    chkTarefaExecutado->setGeometry(10, 252, 200, 22);
    cmdTarefaSalvar = new tk::Botao(d, QStringLiteral("&Salvar Tarefa"));
    cmdTarefaExcluir = new tk::Botao(d, QStringLiteral("&Excluir Tarefa"));
    cmdTarefaVoltar = new tk::Botao(d, QStringLiteral("&Voltar"));
    cmdTarefaSalvar->setGeometry(10, 352, 140, 26);
    cmdTarefaExcluir->setGeometry(156, 352, 140, 26);
    cmdTarefaVoltar->setGeometry(302, 352, 78, 26);
    calTarefas = new tk::Calendario(d);
    calTarefas->setGeometry(9, 54, 180, 170);
    calTarefas->hide();

    cmdTarefaNova->Click = [this] { frmAgenda_cmdTarefaNova_Click(); };
    grdTarefas->DblClick = [this] { frmAgenda_grdTarefas_DblClick(); };
    cmdTarefaSalvar->Click = [this] { frmAgenda_cmdTarefaSalvar_Click(); };
    cmdTarefaExcluir->Click = [this] { frmAgenda_cmdTarefaExcluir_Click(); };
    cmdTarefaVoltar->Click = [this] { frmAgenda_cmdTarefaVoltar_Click(); };
    cmdCalTarefaInicio->Click = [this] { frmAgenda_cmdCalTarefaInicio_Click(); };
    cmdCalTarefaFim->Click = [this] { frmAgenda_cmdCalTarefaFim_Click(); };
    calTarefas->DateClick = [this] { frmAgenda_calTarefas_DateClick(); };
    txtTarefaDescricao->KeyPress = [this](int k) { return frmAgenda_txtTarefaDescricao_KeyPress(k); };
}

void PainelTarefas::mostrarDados()
{
    calTarefas->hide();
    frmTarefasDados->raise();
    frmTarefasDados->show();
    txtTarefaDescricao->setFocus();
}

void PainelTarefas::frmAgenda_cmdTarefaNova_Click()
{
    nav.RetirarFoco();
    nav.MostrarImpressora(false);
    Sessao.ChaveTarefa = 0;
    // A new task cannot start as executed.
    chkTarefaExecutado->setChecked(false);
    chkTarefaExecutado->setEnabled(false);
    optTarefaNormal->setChecked(true);
    const QString hoje = TextoDaData(relogio::Hoje());
    txtTarefaDataInicio->setText(hoje);
    txtTarefaDescricao->setText(QString());
    txtTarefaDataFim->setText(hoje);
    cmdTarefaExcluir->hide();
    mostrarDados();
}

void PainelTarefas::frmAgenda_grdTarefas_DblClick()
{
    if (grdTarefas->MouseRow() > 0)
        AbrirLinha(grdTarefas->MouseRow());
}

void PainelTarefas::AbrirLinha(int linha)
{
    tk::Grade &g = *grdTarefas;
    Sessao.ChaveTarefa = g.TextMatrix(linha, 0).toLongLong();
    aberta = {};
    for (const LinhaTarefa &t : TarefasExibidas())
        if (t.chave == Sessao.ChaveTarefa)
            aberta = t;
    g.DefinirRow(linha);
    g.DefinirCol(1);
    nav.MostrarImpressora(false);
    chkTarefaExecutado->setEnabled(true);
    chkTarefaExecutado->setChecked(!g.CellPicture().isNull());
    txtTarefaDataInicio->setText(g.TextMatrix(linha, 2));
    const QString prioridade = g.TextMatrix(linha, 3);
    (prioridade == QLatin1String("Alta")     ? optTarefaAlta
     : prioridade == QLatin1String("Normal") ? optTarefaNormal
                                             : optTarefaBaixa)
        ->setChecked(true);
    txtTarefaDescricao->setText(g.TextMatrix(linha, 4));
    txtTarefaDataFim->setText(g.TextMatrix(linha, 5));
    cmdTarefaExcluir->show();
    mostrarDados();
}

void PainelTarefas::frmAgenda_cmdTarefaSalvar_Click()
{
    nav.RetirarFoco();
    const QDate inicio = lerData(txtTarefaDataInicio), fim = lerData(txtTarefaDataFim);
    const QString descricao = txtTarefaDescricao->text();
    if (const auto falha = VerificarTarefa(inicio, fim, descricao)) {
        Mensagem(falha->texto, 1, falha->icone);
        if (falha->focoNaDescricao)
            txtTarefaDescricao->setFocus();
        return;
    }
    Gravacao gravacao = Gravacao::Gravada;
    {
        tk::EsperaNaTela espera;
        const QString status = chkTarefaExecutado->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        const int prioridade = optTarefaAlta->isChecked() ? 0 : optTarefaNormal->isChecked() ? 1 : 2;
        if (Sessao.ChaveTarefa == 0)
            GravarTarefa(0, inicio, fim, descricao, status, prioridade);
        else
            gravacao = AlterarTarefa(aberta, inicio, fim, descricao, status, prioridade);
        CarregarTarefas();
    }
    // Only once written: a failed write leaves the form open as it was.
    nav.MostrarImpressora(true);
    frmTarefasDados->hide();
    if (gravacao == Gravacao::Excluida)
        Mensagem(QStringLiteral("Essa Tarefa não Existe Mais, foi Excluída!"), 1, 2);
    else if (gravacao == Gravacao::Alterada)
        Mensagem(QStringLiteral("Essa Tarefa foi Alterada depois de Aberta, nada foi Gravado! Abra-a Novamente."), 1, 2);
}

void PainelTarefas::frmAgenda_cmdTarefaExcluir_Click()
{
    nav.RetirarFoco();
    if (!Mensagem(QStringLiteral("Você Confirma Exclusão da Tarefa?"), 0, 1))
        return;
    {
        tk::EsperaNaTela espera;
        ExcluirTarefa(Sessao.ChaveTarefa);
        CarregarTarefas();
    }
    nav.MostrarImpressora(true);
    frmTarefasDados->hide();
}

void PainelTarefas::frmAgenda_cmdTarefaVoltar_Click()
{
    nav.RetirarFoco();
    nav.MostrarImpressora(true);
    frmTarefasDados->hide();
}

void PainelTarefas::abrirCalendario(int fim)
{
    CalendarioTarefaFim = fim;
    calTarefas->DefinirValue(lerData(fim ? txtTarefaDataFim : txtTarefaDataInicio));
    tk::DefinirLeft(*calTarefas, fim ? 3015 : 135);
    calTarefas->raise();
    calTarefas->show();
    nav.RetirarFoco();
}

void PainelTarefas::frmAgenda_cmdCalTarefaInicio_Click()
{
    abrirCalendario(0);
}

void PainelTarefas::frmAgenda_cmdCalTarefaFim_Click()
{
    abrirCalendario(1);
}

void PainelTarefas::frmAgenda_calTarefas_DateClick()
{
    calTarefas->hide();
    const QString dia = TextoDaData(calTarefas->Value());
    // A new start date takes the end date with it.
    if (CalendarioTarefaFim == 0)
        txtTarefaDataInicio->setText(dia);
    txtTarefaDataFim->setText(dia);
}

int PainelTarefas::frmAgenda_txtTarefaDescricao_KeyPress(int tecla)
{
    return tecla == 13 ? tecla : FiltrarTecla(tecla, false);
}

void PainelTarefas::Limpar()
{
    EsquecerTarefas();
    calTarefas->hide();
    frmTarefasDados->hide();
    txtTarefaDescricao->setText(QString());
}

void PainelTarefas::CarregarTarefas()
{
    // Read first: a failed read leaves the grid as it was.
    exibidas = LinhasTarefas();
    tk::Grade &g = *grdTarefas;
    g.setUpdatesEnabled(false);
    g.DefinirCabecalho({
        {"  ", Qt::AlignCenter, 250},
        {"Início", Qt::AlignCenter, 1050},
        {"Prior", Qt::AlignCenter, 700},
        {"  Tarefa", Qt::AlignLeft | Qt::AlignVCenter, 2541},
        {"Final", Qt::AlignCenter, 1050},
    });
    alturaDasLinhas = 0;
    for (const LinhaTarefa &t : std::as_const(exibidas))
        AdicionarLinhaTarefa(t.chave, t.status, t.data, t.dataFim, t.descricao, t.prioridade);
    // No row stays selected over its priority's colour.
    g.DefinirCol(0);
    g.DefinirRow(0);
    g.setEnabled(!exibidas.isEmpty());
    txtTarefasSemCadastro->setVisible(exibidas.isEmpty());
    g.setUpdatesEnabled(true);
}

const QVector<LinhaTarefa> &PainelTarefas::TarefasExibidas() const
{
    return exibidas;
}

void PainelTarefas::EsquecerTarefas()
{
    exibidas.clear();
    grdTarefas->DefinirRows(1);
}

void PainelTarefas::AdicionarLinhaTarefa(qint64 chave, const QString &status, const QDate &data, const QDate &dataFim,
                                         const QString &descricao, int prioridade)
{
    tk::Grade &g = *grdTarefas;
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
    alturaDasLinhas += altura;
    celula(5, TextoDaData(dataFim));
    // The rows no longer fit: the vertical scroll bar takes its width from the description.
    if (alturaDasLinhas > tk::Height(g) - 125)
        g.DefinirColWidth(4, 2280);
}
