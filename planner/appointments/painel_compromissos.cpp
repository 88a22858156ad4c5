#include "appointments/painel_compromissos.h"

#include "appointments/calendario_mes.h"
#include "appointments/modCompromissos.h"
#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "platform/localidade.h"
#include "platform/relogio.h"
#include "resources/recursos.h"

#include <QScopeGuard>

namespace {

const QStringList repeticoes = {
    QStringLiteral("Somente Dia Corrente"), QStringLiteral("Todos os Dias Úteis na Semana "),
    QStringLiteral("Todos os Dias na Semana "), QStringLiteral("Todos os Dias no Mês"),
    QStringLiteral("Todo o Dia do Mês no Ano"),
};

// A legend of the grid's pictures under the grid.
void montarLegenda(QWidget *pai, int y)
{
    const FigurasDaGrade &f = Figuras();
    const std::pair<const QPixmap *, const char *> itens[] = {
        {&f.imgAlarme, "com lembrete"},        {&f.imgExecutado, "executado"},  {&f.imgAniversario, "aniversário"},
        {&f.imgAnexado, "continuação"},        {&f.imgBloqueado, "de outro usuário"}, {&f.imgCompartilhado, "compartilhado"},
    };
    for (int i = 0; i < 6; ++i) {
        const int x = (i % 3) * 130, linha = y + (i / 3) * 20;
        auto *figura = new tk::Imagem(pai, *itens[i].first);
        figura->move(x + 4, linha + 2);
        auto *texto = new tk::Rotulo(pai, QString::fromUtf8(itens[i].second));
        texto->setStyleSheet(QStringLiteral("color: #555555"));
        texto->setGeometry(x + 24, linha, 104, 20);
    }
}

} // namespace

PainelCompromissos::PainelCompromissos(QWidget *parent, Navegacao &nav) : tk::Moldura(parent), nav(nav)
{
    imdDiaAntes = new tk::Imagem(this, recursos::Figura(QStringLiteral("dia_anterior")));
    imdDiaAntes->move(0, 4);
    lblDiaAnterior = new tk::Rotulo(this, QStringLiteral("Dia Anterior"), 22, 3, 90);
    cmdHoje = new tk::Botao(this, QStringLiteral("Ir para o Dia de &Hoje"));
    cmdHoje->setGeometry(114, 1, 146, 25);
    lblProximoDia = new tk::Rotulo(this, QStringLiteral("Próximo Dia >>"), 262, 3, 106);
    lblProximoDia->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    imgDiaApos = new tk::Imagem(this, recursos::Figura(QStringLiteral("dia_seguinte")));
    imgDiaApos->move(372, 4);
    for (QWidget *w : {static_cast<QWidget *>(imdDiaAntes), static_cast<QWidget *>(lblDiaAnterior),
                       static_cast<QWidget *>(imgDiaApos), static_cast<QWidget *>(lblProximoDia)})
        w->setCursor(Qt::PointingHandCursor);

    cmdCompromissoCalendario = new tk::BotaoFigura(this, recursos::Figura(QStringLiteral("calendario_mes")), QStringLiteral("Calendário do Mês"));
    cmdCompromissoCalendario->move(0, 384);
    auto *lblCalendario = new tk::Rotulo(this, QStringLiteral("Calendário do Mês"), 34, 388, 140);
    lblCalendario->setCursor(Qt::PointingHandCursor);
    lblCalendario->Click = [this] { frmAgenda_cmdCompromissoCalendario_Click(); };

    grdCompromissos = new tk::Grade(this);
    grdCompromissos->setGeometry(0, 32, tk::Px(5600) + 4, 18 * tk::Px(240) + 4);

    montarLegenda(this, 32 + 18 * tk::Px(240) + 12);

    // The editing panel, laid over the grid.
    frmDadosCompromisso = new tk::Moldura(this, QColor(0xfb, 0xf8, 0xf1));
    frmDadosCompromisso->setGeometry(0, 32, 390, 388);
    QWidget *d = frmDadosCompromisso;
    new tk::Rotulo(d, QStringLiteral("Data :"), 10, 10, 110);
    txtDataCompromisso = new tk::CaixaTexto(d, 10);
    txtDataCompromisso->setGeometry(124, 10, 96, 21);
    // Filled only by the opening and by the calendar, so it always holds a date.
    txtDataCompromisso->setReadOnly(true);
    cmdExibirCalendarioPequeno = new tk::BotaoFigura(d, recursos::Figura(QStringLiteral("calendario")), QStringLiteral("Exibir Calendário"));
    cmdExibirCalendarioPequeno->move(224, 7);
    new tk::Rotulo(d, QStringLiteral("Horário Inicial :"), 10, 38, 110);
    txtCompromissoInicio = new tk::CaixaTexto(d, 5);
    txtCompromissoInicio->setGeometry(124, 38, 56, 21);
    new tk::Rotulo(d, QStringLiteral("Horário Final :"), 196, 38, 100);
    txtCompromissoFinal = new tk::CaixaTexto(d, 5);
    txtCompromissoFinal->setGeometry(300, 38, 56, 21);
    txtDescricaoCompromisso = new tk::CaixaTextoMultilinha(d, 255);
    txtDescricaoCompromisso->setGeometry(10, 68, 370, 116);
    chkAvisar = new tk::CaixaSelecao(d, QStringLiteral("Avisar Compromisso"));
    chkAvisar->setGeometry(10, 190, 370, 22);
    chkCompartilhar = new tk::CaixaSelecao(d, QStringLiteral("Compartilhar esse Compromisso com outros usuários."));
    chkCompartilhar->setGeometry(10, 212, 370, 22);
    frmCompromissoAgendaPeriodo = new tk::Moldura(d);
    frmCompromissoAgendaPeriodo->setGeometry(10, 240, 370, 28);
    new tk::Rotulo(frmCompromissoAgendaPeriodo, QStringLiteral("Agendar para :"), 0, 3, 100);
    cmbAgendarPara = new tk::CaixaCombinacao(frmCompromissoAgendaPeriodo, repeticoes);
    cmbAgendarPara->setGeometry(104, 2, 262, 24);
    lblExecutado = new tk::Rotulo(d, QStringLiteral("EXECUTADO"));
    QFont destaque = lblExecutado->font();
    destaque.setBold(true);
    destaque.setPixelSize(16);
    lblExecutado->setFont(destaque);
    lblExecutado->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0)"));
    lblExecutado->setAlignment(Qt::AlignCenter);
    lblExecutado->setGeometry(10, 274, 370, 28);
    lblExecutado->hide();
    cmdCompromissoGravar = new tk::Botao(d, QStringLiteral("&Salvar Compromisso"));
    cmdCompromissoExcluir = new tk::Botao(d, QStringLiteral("&Excluir Compromisso"));
    cmdCompromissoVoltar = new tk::Botao(d, QStringLiteral("&Voltar"));
    cmdCompromissoGravar->setGeometry(10, 352, 140, 26);
    cmdCompromissoExcluir->setGeometry(156, 352, 140, 26);
    cmdCompromissoVoltar->setGeometry(302, 352, 78, 26);
    calCompromisso = new tk::Calendario(d);
    calCompromisso->setGeometry(124, 32, 256, 190);
    calCompromisso->hide();

    frmCalendar = new MolduraCalendario(this, nav);
    frmCalendar->AoEscolherDia = [this](const QDate &dia) { MontarGrade(dia); };
    frmCalendar->setGeometry(0, 32, 390, 388);
    frmCalendar->hide();

    imdDiaAntes->Click = [this] { frmAgenda_imdDiaAntes_Click(); };
    lblDiaAnterior->Click = [this] { frmAgenda_imdDiaAntes_Click(); };
    imgDiaApos->Click = [this] { frmAgenda_imgDiaApos_Click(); };
    lblProximoDia->Click = [this] { frmAgenda_imgDiaApos_Click(); };
    cmdHoje->Click = [this] { frmAgenda_cmdHoje_Click(); };
    grdCompromissos->DblClick = [this] { frmAgenda_grdCompromissos_DblClick(); };
    cmdCompromissoGravar->Click = [this] { frmAgenda_cmdCompromissoGravar_Click(); };
    cmdCompromissoExcluir->Click = [this] { frmAgenda_cmdCompromissoExcluir_Click(); };
    cmdCompromissoVoltar->Click = [this] { frmAgenda_cmdCompromissoVoltar_Click(); };
    cmdExibirCalendarioPequeno->Click = [this] { frmAgenda_cmdExibirCalendarioPequeno_Click(); };
    calCompromisso->DateClick = [this] { frmAgenda_calCompromisso_DateClick(); };
    cmdCompromissoCalendario->Click = [this] { frmAgenda_cmdCompromissoCalendario_Click(); };
    txtCompromissoInicio->KeyPress = [this](int k) { return MascaraHora(*txtCompromissoInicio, k); };
    txtCompromissoFinal->KeyPress = [this](int k) { return MascaraHora(*txtCompromissoFinal, k); };
    txtDescricaoCompromisso->KeyPress = [](int k) { return k == 13 ? k : FiltrarTecla(k, false); };
}

void PainelCompromissos::MontarGrade(const QDate &dia)
{
    tk::EsperaNaTela espera;
    tk::Grade &g = *grdCompromissos;
    g.setUpdatesEnabled(false);
    const auto religar = qScopeGuard([&g] { g.setUpdatesEnabled(true); });
    g.DefinirCabecalho({
        {"    ", Qt::AlignCenter, 400},
        {"Horário", Qt::AlignRight | Qt::AlignVCenter, 800},
        {"Compromisso", Qt::AlignCenter, 4400},
    });
    exibidas.clear();
    exibidas = LinhasDoDia(dia);
    for (const LinhaGrade &l : std::as_const(exibidas))
        AdicionarLinhaGrade(l.chave, l.chavePai, l.status, l.compartilhado, l.dono, l.hora, l.horaFim, l.texto);
    g.DefinirCol(0);
    g.DefinirRow(0);
    if (g.Rows() > 18)
        g.DefinirColWidth(3, 4160);
}

const QVector<LinhaGrade> &PainelCompromissos::LinhasExibidas() const
{
    return exibidas;
}

void PainelCompromissos::AdicionarLinhaGrade(qint64 chave, const QString &chavePai, const QString &status, const QString &compartilhado,
                         qint64 dono, const QString &hora, const QString &horaFim, const QString &texto)
{
    tk::Grade &g = *grdCompromissos;
    const FigurasDaGrade &f = Figuras();
    g.DefinirRows(g.Rows() + 1);
    const int r = g.Rows() - 1;
    g.DefinirRow(r);
    g.DefinirTextMatrix(r, 0, QString::number(chave) + u'\t' + status + u'\t' + compartilhado + u'\t' + horaFim);

    const bool deOutro = compartilhado == QLatin1String("S") && dono != Sessao.Codigo;
    g.DefinirCol(1);
    if (chavePai != QLatin1String("0"))
        g.DefinirCellPicture(f.imgAnexado);
    else if (deOutro && status != QLatin1String("2"))
        g.DefinirCellPicture(f.imgBloqueado);
    else if (status == QLatin1String("2"))
        g.DefinirCellPicture(f.imgAniversario);
    else if (status == QLatin1String("0"))
        g.DefinirCellPicture(f.imgAlarme);
    else if (status == QLatin1String("1"))
        g.DefinirCellPicture(f.imgExecutado);

    g.DefinirCol(2);
    if (deOutro)
        g.DefinirCellPicture(f.imgCompartilhado, Qt::AlignLeft | Qt::AlignVCenter);
    g.DefinirText(hora + QStringLiteral("  "));

    g.DefinirCol(3);
    g.DefinirCellAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    g.DefinirText(QStringLiteral(" ") + texto);
}

void PainelCompromissos::irParaODia(const QDate &dia)
{
    Sessao.DiaExibido = dia;
    MontarGrade(Sessao.DiaExibido);
    nav.MostrarData(Sessao.DiaExibido);
}

void PainelCompromissos::frmAgenda_imdDiaAntes_Click()
{
    irParaODia(Sessao.DiaExibido.addDays(-1));
}

void PainelCompromissos::frmAgenda_imgDiaApos_Click()
{
    irParaODia(Sessao.DiaExibido.addDays(1));
}

void PainelCompromissos::frmAgenda_cmdHoje_Click()
{
    irParaODia(relogio::Hoje());
    frmCalendar->hide();
    nav.MostrarImpressora(true);
    nav.RetirarFoco();
}

void PainelCompromissos::frmAgenda_grdCompromissos_DblClick()
{
    if (grdCompromissos->MouseRow() > 0)
        AbrirLinha(grdCompromissos->MouseRow());
}

void PainelCompromissos::AbrirLinha(int linha)
{
    tk::Grade &g = *grdCompromissos;
    const FigurasDaGrade &f = Figuras();
    g.DefinirRow(linha);
    g.DefinirCol(1);
    const qint64 figura = g.CellPicture().cacheKey();
    if (figura == f.imgAnexado.cacheKey() || figura == f.imgAniversario.cacheKey())
        return;

    nav.MostrarImpressora(false);
    tk::EsperaNaTela espera;
    txtDataCompromisso->setText(TextoDaData(Sessao.DiaExibido));
    const QStringList registro = g.TextMatrix(linha, 0).split(u'\t');
    const QString status = registro.value(1), compartilhado = registro.value(2), fim = registro.value(3);
    Sessao.CompromissoEmEdicao = registro.value(0).toLongLong();
    if (status == QLatin1String("2")) {
        nav.MostrarImpressora(true);
        return;
    }
    const bool novo = Sessao.CompromissoEmEdicao == 0;
    Sessao.TinhaHoraFinal = !fim.isEmpty();
    aberto = {};
    for (const LinhaGrade &l : LinhasExibidas())
        if (l.chave == Sessao.CompromissoEmEdicao)
            aberto = ComoAberto(l, Sessao.DiaExibido);
    txtCompromissoFinal->setText(fim);
    chkAvisar->setChecked(status == QLatin1String("0") || novo);
    chkCompartilhar->setChecked(compartilhado == QLatin1String("S"));
    cmdCompromissoExcluir->setVisible(!novo);
    txtCompromissoInicio->setText(g.TextMatrix(linha, 2).left(5));
    txtDescricaoCompromisso->setText(g.TextMatrix(linha, 3).trimmed());
    frmCompromissoAgendaPeriodo->setVisible(novo);
    if (novo)
        cmbAgendarPara->setCurrentIndex(0);

    g.DefinirCol(2);
    const bool deOutroUsuario = !g.CellPicture().isNull();
    const bool somenteLeitura = status == QLatin1String("1") || deOutroUsuario;
    for (QWidget *w : {static_cast<QWidget *>(txtCompromissoInicio), static_cast<QWidget *>(txtCompromissoFinal),
                       static_cast<QWidget *>(txtDescricaoCompromisso), static_cast<QWidget *>(cmdExibirCalendarioPequeno),
                       static_cast<QWidget *>(chkAvisar), static_cast<QWidget *>(chkCompartilhar)})
        w->setEnabled(!somenteLeitura);
    cmdCompromissoGravar->setVisible(!somenteLeitura);
    lblExecutado->setVisible(somenteLeitura);
    if (somenteLeitura) {
        lblExecutado->setText(deOutroUsuario ? QStringLiteral("COMPARTILHADO") : QStringLiteral("EXECUTADO"));
        cmdCompromissoExcluir->setVisible(!deOutroUsuario);
    }
    calCompromisso->hide();
    frmDadosCompromisso->raise();
    frmDadosCompromisso->show();
}

void PainelCompromissos::frmAgenda_cmdCompromissoGravar_Click()
{
    nav.RetirarFoco();
    if (!gravar())
        return;
    MontarGrade(Sessao.DiaExibido);
    frmDadosCompromisso->hide();
}

// Checks the boxes, then writes the appointment with its continuation rows (and its repeats)
// as one transaction; false when a check failed. An appointment deleted or changed meanwhile is
// not written: the user is told, and the panel closes on the rebuilt grid.
bool PainelCompromissos::gravar()
{
    const auto falha = [](const char *texto, int icone, QWidget *foco) {
        Mensagem(QString::fromUtf8(texto), 1, icone);
        foco->setFocus();
        return false;
    };
    if (txtCompromissoInicio->text().trimmed().isEmpty())
        return falha("Informe o Horário para o Início do Compromisso!", 2, txtCompromissoInicio);
    const auto inicio = LerHoraDigitada(txtCompromissoInicio->text());
    if (!inicio)
        return falha("Informe um Horário Válido para o Início do Compromisso!", 3, txtCompromissoInicio);
    txtCompromissoInicio->setText(inicio->toString(QStringLiteral("HH:mm")));
    std::optional<QTime> fim;
    if (!txtCompromissoFinal->text().trimmed().isEmpty()) {
        fim = LerHoraDigitada(txtCompromissoFinal->text());
        if (!fim)
            return falha("Informe um Horário Válido para o Final do Compromisso!", 3, txtCompromissoFinal);
        txtCompromissoFinal->setText(fim->toString(QStringLiteral("HH:mm")));
        if (txtCompromissoInicio->text() >= txtCompromissoFinal->text())
            return falha("Hora de Início não pode ser Maior ou Igual que Hora Final do Compromisso!", 3, txtCompromissoFinal);
    }
    const QString descricao = txtDescricaoCompromisso->text();
    if (descricao.trimmed().isEmpty())
        return falha("Informe uma Descrição do Compromisso !", 2, txtDescricaoCompromisso);

    nav.MostrarImpressora(true);
    const QString status = chkAvisar->isChecked() ? QStringLiteral("0") : QStringLiteral("3");
    const QString flag = chkCompartilhar->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    const QDate data = DataDoTexto(txtDataCompromisso->text());
    Gravacao gravacao = Gravacao::Gravada;
    {
        tk::EsperaNaTela espera;
        if (Sessao.CompromissoEmEdicao != 0)
            gravacao = AlterarCompromisso(Sessao.CompromissoEmEdicao, aberto, data, *inicio, fim, descricao, status, flag);
        else
            IncluirCompromisso(DatasDaRepeticao(data, Repeticao(cmbAgendarPara->currentIndex())), *inicio, fim, descricao, status, flag);
    }
    // Told once the transaction has ended, so the file is never held while the message waits.
    if (gravacao == Gravacao::Excluida)
        Mensagem(QStringLiteral("Esse Compromisso não Existe Mais, foi Excluído!"), 1, 2);
    else if (gravacao == Gravacao::Alterada)
        Mensagem(QStringLiteral("Esse Compromisso foi Alterado depois de Aberto, nada foi Gravado! Abra-o Novamente."), 1, 2);
    return true;
}

void PainelCompromissos::frmAgenda_cmdCompromissoExcluir_Click()
{
    nav.RetirarFoco();
    if (!Mensagem(QStringLiteral("Você Confirma Exclusão desse Compromisso?"), 0, 1)) {
        nav.RetirarFoco();
        return;
    }
    {
        tk::EsperaNaTela espera;
        nav.MostrarImpressora(true);
        ExcluirCompromisso(Sessao.CompromissoEmEdicao);
        MontarGrade(Sessao.DiaExibido);
    }
    frmDadosCompromisso->hide();
}

void PainelCompromissos::Limpar()
{
    frmCalendar->hide();
    calCompromisso->hide();
    frmDadosCompromisso->hide();
    for (tk::CaixaTexto *c : {txtDataCompromisso, txtCompromissoInicio, txtCompromissoFinal})
        c->clear();
    txtDescricaoCompromisso->setText(QString());
    aberto = {};
    exibidas.clear();
    grdCompromissos->DefinirRows(1);
}

void PainelCompromissos::frmAgenda_cmdCompromissoVoltar_Click()
{
    nav.MostrarImpressora(true);
    frmDadosCompromisso->hide();
    nav.RetirarFoco();
}

void PainelCompromissos::frmAgenda_cmdExibirCalendarioPequeno_Click()
{
    calCompromisso->DefinirValue(DataDoTexto(txtDataCompromisso->text()));
    calCompromisso->raise();
    calCompromisso->show();
    nav.RetirarFoco();
}

void PainelCompromissos::frmAgenda_calCompromisso_DateClick()
{
    calCompromisso->hide();
    txtDataCompromisso->setText(TextoDaData(calCompromisso->Value()));
}

void PainelCompromissos::frmAgenda_cmdCompromissoCalendario_Click()
{
    frmCalendar->Abrir();
}
