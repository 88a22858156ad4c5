#include "appointments/calendario_mes.h"

#include "appointments/modCalendario.h"
#include "core/sessao.h"
#include "platform/localidade.h"

namespace {

constexpr int CelulaX = 13, CelulaY = 64, CelulaLargura = 52, CelulaAltura = 34;

} // namespace

MolduraCalendario::MolduraCalendario(QWidget *parent, Navegacao &nav) : tk::Moldura(parent), nav(nav)
{
    setAutoFillBackground(true);
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, QColor(0xfb, 0xf8, 0xf1));
    setPalette(fundo);
    setFrameShape(QFrame::StyledPanel);

    cmdAntMes = new tk::Botao(this, QStringLiteral("<<"));
    cmdAntMes->setToolTip(QStringLiteral("Mês Anterior"));
    cmdAntMes->setGeometry(10, 8, 40, 26);
    cmdProxMes = new tk::Botao(this, QStringLiteral(">>"));
    cmdProxMes->setToolTip(QStringLiteral("Próximo Mês"));
    cmdProxMes->setGeometry(340, 8, 40, 26);
    lblCalendarMes = new tk::Rotulo(this, QString());
    QFont titulo = lblCalendarMes->font();
    titulo.setBold(true);
    titulo.setPixelSize(15);
    lblCalendarMes->setFont(titulo);
    lblCalendarMes->setAlignment(Qt::AlignCenter);
    lblCalendarMes->setGeometry(56, 8, 278, 26);

    const char *semana[] = {"dom", "seg", "ter", "qua", "qui", "sex", "sab"};
    for (int c = 0; c < 7; ++c) {
        auto *r = new tk::Rotulo(this, QString::fromLatin1(semana[c]));
        r->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        r->setGeometry(CelulaX + c * CelulaLargura, 42, CelulaLargura - 8, 20);
        QPalette p = r->palette();
        p.setColor(QPalette::WindowText, c == 0 ? QColor(255, 128, 128) : QColor(128, 128, 128));
        r->setPalette(p);
        lblDiaSemana << r;
    }

    Shape1 = new QFrame(this);
    Shape1->setStyleSheet(QStringLiteral("background: #d6e6f4; border: 1px solid #5b9bc8; border-radius: 3px"));
    Shape1->setGeometry(CelulaX, CelulaY, CelulaLargura, CelulaAltura - 2);
    Shape1->hide();
    for (int i = 0; i < 42; ++i) {
        auto *celula = new tk::Rotulo(this, QString());
        celula->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        celula->setGeometry(CelulaX + (i % 7) * CelulaLargura, CelulaY + (i / 7) * CelulaAltura, CelulaLargura - 4, CelulaAltura - 2);
        QFont f = celula->font();
        f.setPixelSize(15);
        celula->setFont(f);
        celula->setCursor(Qt::PointingHandCursor);
        celula->Click = [this, i] { frmAgenda_L_Click(i); };
        celula->DblClick = [this, i] { frmAgenda_L_DblClick(i); };
        L << celula;
        PintarCelula(i, false);
    }

    cmdExibirCompromissosCalendario = new tk::Botao(this, QStringLiteral("&Negritar os Dias com Compromissos"));
    cmdExibirCompromissosCalendario->setGeometry(10, 280, 370, 26);
    chkCompromissosCompartilhados = new tk::CaixaSelecao(this, QStringLiteral("Incluir os Compromissos Compartilhados."));
    chkCompromissosCompartilhados->setGeometry(10, 312, 370, 22);
    cmdCalendarioVoltar = new tk::Botao(this, QStringLiteral("&Voltar"));
    cmdCalendarioVoltar->setGeometry(302, 352, 78, 26);

    cmdAntMes->Click = [this] { frmAgenda_cmdAntMes_Click(); };
    cmdProxMes->Click = [this] { frmAgenda_cmdProxMes_Click(); };
    cmdExibirCompromissosCalendario->Click = [this] { frmAgenda_cmdExibirCompromissosCalendario_Click(); };
    cmdCalendarioVoltar->Click = [this] { frmAgenda_cmdCalendarioVoltar_Click(); };
}

void MolduraCalendario::PintarCelula(int indice, bool marcado)
{
    tk::Rotulo *c = L[indice];
    QFont f = c->font();
    f.setBold(marcado);
    c->setFont(f);
    QPalette p = c->palette();
    p.setColor(QPalette::WindowText, CorDaCelula(indice, marcado));
    c->setPalette(p);
}

bool MolduraCalendario::Marcada(int indice) const
{
    return L[indice]->font().bold();
}

void MolduraCalendario::Destacar(int indice)
{
    L[indice]->raise();
    Shape1->move(L[indice]->pos());
    Shape1->show();
    Shape1->stackUnder(L[indice]);
}

void MolduraCalendario::Abrir()
{
    nav.MostrarImpressora(false);
    Sessao.MesCalendario = Sessao.DiaExibido;
    nav.RetirarFoco();
    chkCompromissosCompartilhados->setChecked(Sessao.VisualizarCompartilhamento);
    chkCompromissosCompartilhados->setEnabled(Sessao.VisualizarCompartilhamento);
    MontarCalendario(Sessao.MesCalendario.month(), Sessao.MesCalendario.year());
    raise();
    show();
}

void MolduraCalendario::navegar(int meses)
{
    Sessao.MesCalendario = Sessao.MesCalendario.addMonths(meses);
    MontarCalendario(Sessao.MesCalendario.month(), Sessao.MesCalendario.year());
    nav.RetirarFoco();
}

void MolduraCalendario::frmAgenda_cmdAntMes_Click()
{
    navegar(-1);
}

void MolduraCalendario::frmAgenda_cmdProxMes_Click()
{
    navegar(1);
}

void MolduraCalendario::frmAgenda_cmdExibirCompromissosCalendario_Click()
{
    nav.RetirarFoco();
    tk::EsperaNaTela espera;
    const QVector<int> dias = DiasComCompromissos(Sessao.Codigo, Sessao.MesCalendario.month(), Sessao.MesCalendario.year(),
                                                  chkCompromissosCompartilhados->isChecked());
    if (dias.isEmpty())
        return;
    for (int i = 0; i < 42; ++i)
        PintarCelula(i, false);
    // Cells and days walk together, both ascending.
    qsizetype d = 0;
    for (int i = 0; i < 42 && d < dias.size(); ++i)
        if (!L[i]->text().isEmpty() && L[i]->text().trimmed().toInt() == dias[d]) {
            PintarCelula(i, true);
            ++d;
        }
}

void MolduraCalendario::frmAgenda_cmdCalendarioVoltar_Click()
{
    nav.MostrarImpressora(true);
    hide();
    nav.RetirarFoco();
}

void MolduraCalendario::frmAgenda_L_Click(int indice)
{
    L[indice]->raise();
    if (L[indice]->text().isEmpty())
        return;
    Destacar(indice);
    nav.MostrarImpressora(true);
}

void MolduraCalendario::frmAgenda_L_DblClick(int indice)
{
    if (L[indice]->text().isEmpty())
        return;
    {
        tk::EsperaNaTela espera;
        const QDate &mes = Sessao.MesCalendario;
        Sessao.MesCalendario = QDate(mes.year(), mes.month(), L[indice]->text().trimmed().toInt());
        nav.MostrarData(Sessao.MesCalendario);
        Sessao.DiaExibido = Sessao.MesCalendario;
        if (AoEscolherDia)
            AoEscolherDia(Sessao.DiaExibido);
    }
    hide();
}

void MolduraCalendario::MontarCalendario(int mes, int ano)
{
    for (int i = 0; i < 42; ++i) {
        L[i]->clear();
        PintarCelula(i, false);
    }
    const QDate &escolhido = Sessao.MesCalendario;
    lblCalendarMes->setText(localidade::Atual().monthName(escolhido.month()) + QStringLiteral(" ") + QString::number(escolhido.year()));
    const QVector<int> dias = DiasDasCelulas(mes, ano);
    for (int i = 0; i < 42; ++i) {
        if (dias[i] == 0)
            continue;
        L[i]->setText(QString::number(dias[i]) + QStringLiteral(" "));
        if (QDate(ano, mes, dias[i]) == escolhido)
            Destacar(i);
    }
}
