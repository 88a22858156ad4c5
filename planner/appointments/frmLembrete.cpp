#include "appointments/frmLembrete.h"

#include "appointments/modCompromissos.h"
#include "appointments/modLembretes.h"
#include "appointments/modSons.h"
#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/principal.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "platform/modal.h"
#include "platform/relogio.h"
#include "resources/recursos.h"

#include <QScopeGuard>

namespace {

tk::CaixaTexto *caixaFixa(QWidget *pai, int x, int y, int w)
{
    auto *c = new tk::CaixaTexto(pai);
    c->setGeometry(x, y, w, 22);
    // Shown for reading: the birthday's next year is counted from the date shown here.
    c->setReadOnly(true);
    return c;
}

} // namespace

FrmLembrete::FrmLembrete(QWidget *principal) : tk::Formulario(QStringLiteral("Lembrete Velora"), principal)
{
    setWindowIcon(recursos::IconePrograma());
    DefinirFace(recursos::Figura(QStringLiteral("lembrete")));
    AplicarRegiao(*this, RegiaoDaImagem(Face().toImage()));

    lblData = new tk::Rotulo(this, QString(), 14, 36, 392);
    QFont negrito = lblData->font();
    negrito.setBold(true);
    lblData->setFont(negrito);
    lblLembrete = new tk::Rotulo(this, QStringLiteral("Data :"), 14, 68, 110);
    TxtData = caixaFixa(this, 128, 68, 90);
    lblAniversario = new tk::Rotulo(this, QStringLiteral("Aniversário"), 232, 68, 174);
    lblAniversario->setFont(negrito);
    lblAniversario->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0)"));
    lblHoraAviso = new tk::Rotulo(this, QStringLiteral("Horário Aviso :"), 14, 96, 110);
    TxtHora = caixaFixa(this, 128, 96, 56);
    lblHoraTermino = new tk::Rotulo(this, QStringLiteral("Hora Termino :"), 204, 96, 106);
    txtHoraFim = caixaFixa(this, 314, 96, 56);
    lblDescricao = new tk::Rotulo(this, QStringLiteral("Descrição :"), 14, 124, 110);
    TxtCompromisso = new tk::CaixaTextoMultilinha(this, 255);
    TxtCompromisso->setGeometry(14, 146, 392, 62);
    TxtCompromisso->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblReagendar = new tk::Rotulo(this, QStringLiteral("ReAgendar Compromisso em :"), 14, 219, 180);
    cmbReAgendar = new tk::CaixaCombinacao(this, {});
    cmbReAgendar->setGeometry(196, 218, 116, 24);
    cmdReagendar = new tk::Botao(this, QStringLiteral("&ReAgendar"));
    cmdReagendar->setGeometry(318, 217, 88, 26);
    cmdExcluir = new tk::Botao(this, QStringLiteral("&Excluir Compromisso"));
    cmdExcluir->setGeometry(14, 258, 190, 28);
    cmdExecutar = new tk::Botao(this, QStringLiteral("&Compromisso Executado"));
    cmdExecutar->setGeometry(216, 258, 190, 28);
    Timer1 = new tk::Temporizador(this, 59000);

    Activate = [this] { frmLembrete_Form_Activate(); };
    // Only its buttons close it: each acts on the row first.
    QueryUnload = [] {};
    Timer1->Timer = [this] { frmLembrete_Timer1_Timer(); };
    cmdExecutar->Click = [this] { frmLembrete_cmdExecutar_Click(); };
    cmdExcluir->Click = [this] { frmLembrete_cmdExcluir_Click(); };
    cmdReagendar->Click = [this] { frmLembrete_cmdReagendar_Click(); };
    TxtCompromisso->KeyPress = [](int k) { return FiltrarTecla(k, false); };
}

void FrmLembrete::PrepararAniversario(const Lembrete &l)
{
    TxtData->setText(TextoDaData(l.data));
    for (QWidget *w : {static_cast<QWidget *>(lblHoraAviso), static_cast<QWidget *>(TxtHora), static_cast<QWidget *>(lblHoraTermino),
                       static_cast<QWidget *>(txtHoraFim), static_cast<QWidget *>(lblReagendar), static_cast<QWidget *>(cmbReAgendar),
                       static_cast<QWidget *>(cmdReagendar)})
        w->hide();
    lblAniversario->show();
    TxtCompromisso->setText(QStringLiteral("  ") + l.compromisso);
    TxtCompromisso->setEnabled(false);
    cmdExcluir->setText(QStringLiteral("&Excluir Aniversário"));
    cmdExecutar->setText(QStringLiteral("Avisar &Próximo Ano"));
    // A window that comes up while the user types elsewhere takes the keys into a box that
    // cannot change anything, never into a button.
    TxtData->setFocus();
}

void FrmLembrete::PrepararCompromisso(const Lembrete &l)
{
    TxtData->setText(TextoDaData(l.data));
    TxtHora->setText(l.hora.toString(QStringLiteral("HH:mm")));
    txtHoraFim->setText(l.horaFim.isValid() ? l.horaFim.toString(QStringLiteral("HH:mm")) : QString());
    for (QWidget *w : {static_cast<QWidget *>(lblHoraAviso), static_cast<QWidget *>(TxtHora), static_cast<QWidget *>(lblHoraTermino),
                       static_cast<QWidget *>(txtHoraFim), static_cast<QWidget *>(lblReagendar), static_cast<QWidget *>(cmbReAgendar),
                       static_cast<QWidget *>(cmdReagendar)})
        w->show();
    lblAniversario->hide();
    TxtCompromisso->setText(l.compromisso);
    TxtCompromisso->setEnabled(true);
    cmdExcluir->setText(QStringLiteral("&Excluir Compromisso"));
    cmdExecutar->setText(QStringLiteral("&Compromisso Executado"));
    cmbReAgendar->clear();
    for (const EntradaReagendamento &e : EntradasDeReagendamento(!txtHoraFim->text().isEmpty()))
        cmbReAgendar->addItem(e.texto, e.indice);
    cmbReAgendar->setCurrentIndex(-1);
    TxtCompromisso->setFocus();
}

bool FrmLembrete::modoAniversario() const
{
    return !lblAniversario->isHidden();
}

void FrmLembrete::showEvent(QShowEvent *e)
{
    fechadoPorBotao = false;
    tk::Formulario::showEvent(e);
    Timer1->DefinirAtivo(true);
    // A window manager may not activate a window of a program that sits hidden in the tray;
    // the showing still comes to the front with its sound.
    if (!ativado)
        frmLembrete_Form_Activate();
    activateWindow();
}

void FrmLembrete::hideEvent(QHideEvent *e)
{
    tk::Formulario::hideEvent(e);
    Timer1->DefinirAtivo(false);
    ativado = false;
}

void FrmLembrete::frmLembrete_Form_Activate()
{
    lblData->setText(DataHoraDoLembrete(relogio::Agora()));
    if (ativado)
        return;
    ativado = true;
    ManterNoTopo(*this, true);
    if (!Sessao.SomCompromisso.isEmpty() && Sessao.SomCompromisso != QLatin1String("Nenhum"))
        TocarSom(Sessao.SomCompromisso.toUpper(), QStringLiteral("SOM"));
    ManterNoTopo(*this, false);
}

void FrmLembrete::frmLembrete_Timer1_Timer()
{
    lblData->setText(DataHoraDoLembrete(relogio::Agora()));
}

void FrmLembrete::fechar()
{
    fechadoPorBotao = true;
    hide();
}

void FrmLembrete::frmLembrete_cmdExecutar_Click()
{
    PararSom();
    if (modoAniversario())
        AvisarProximoAno(Sessao.CompromissoLembrete, DataDoTexto(TxtData->text()));
    else
        MarcarExecutado(Sessao.CompromissoLembrete);
    fechar();
}

void FrmLembrete::frmLembrete_cmdExcluir_Click()
{
    PararSom();
    ExcluirCompromisso(Sessao.CompromissoLembrete);
    fechar();
}

void FrmLembrete::frmLembrete_cmdReagendar_Click()
{
    PararSom();
    if (cmbReAgendar->currentIndex() < 0) {
        Mensagem(QStringLiteral("Informe o Tempo!"), 1, 2);
        cmbReAgendar->setFocus();
        return;
    }
    const QString descricao = TxtCompromisso->text().trimmed();
    if (descricao.isEmpty()) {
        Mensagem(QStringLiteral("Informe uma Descrição do Compromisso !"), 1, 2);
        TxtCompromisso->setFocus();
        return;
    }
    const int entrada = cmbReAgendar->currentData().toInt();
    const QDateTime agora = relogio::Agora();
    if (!txtHoraFim->text().isEmpty())
        ReagendarComHoraFim(Sessao.CompromissoLembrete, SomarReagendamento({agora.date(), QTime(0, 0)}, entrada).data, descricao);
    else
        ReagendarSemHoraFim(Sessao.CompromissoLembrete, SomarReagendamento({agora.date(), agora.time()}, entrada), descricao);
    fechar();
}

namespace {

// Made over the main window at the first showing.
FrmLembrete &frmLembrete(QWidget &principal)
{
    static FrmLembrete *form = [&] {
        auto *f = new FrmLembrete(&principal);
        JanelaDeLembrete = [f] { return static_cast<QWidget *>(f); };
        return f;
    }();
    return *form;
}

bool emChecagem = false;

enum class Desfecho { Exibido, Ausente, Interrompido };

// Shows one due row and waits for the window to close. A row deleted since the pass read it is
// passed over; a window hidden other than by its buttons (a logout or the end of the program
// from the tray) ends the scan.
Desfecho lembrar(QWidget &principal, qint64 usuario, qint64 chave, bool aniversario)
{
    const std::optional<Lembrete> l = LembreteAtual(chave);
    if (!l)
        return Desfecho::Ausente;
    Sessao.CompromissoLembrete = l->chave;
    FrmLembrete &f = frmLembrete(principal);
    if (aniversario)
        f.PrepararAniversario(*l);
    else
        f.PrepararCompromisso(*l);
    // Modal over the main window only: the tray icon and its menu still answer.
    modal::Exibir(f, Qt::WindowModal);
    if (f.FechadoPorBotao() && !programa::Encerrado() && Sessao.Codigo == usuario)
        return Desfecho::Exibido;
    PararSom();
    return Desfecho::Interrompido;
}

} // namespace

bool ChecarLembretes(QWidget &principal)
{
    // One scan at a time: a tick while a reminder is open changes nothing, the counter included.
    // Never inside another operation's transaction: its answers would be undone with it.
    if (emChecagem || programa::Encerrado() || Sessao.Codigo == 0 || modal::Impedido())
        return false;
    const PassoDaChecagem passo = AvancarChecagem(Sessao.MinutosChecagem, Sessao.ChecagemGeral, Sessao.ChecagemIniciada);
    bool exibiu = false;
    if (passo.varrer) {
        emChecagem = true;
        const auto fim = qScopeGuard([] { emChecagem = false; });
        Sessao.ChecagemIniciada = true;
        const qint64 usuario = Sessao.Codigo;
        const auto passar = [&](const QVector<Lembrete> &devidos, bool aniversario) {
            for (const Lembrete &l : devidos) {
                const Desfecho d = lembrar(principal, usuario, l.chave, aniversario);
                if (d == Desfecho::Interrompido)
                    return false;
                exibiu |= d == Desfecho::Exibido;
            }
            return true;
        };
        if (!passar(LerLembretes(SqlAniversariosDevidos(usuario, relogio::Hoje())), true))
            return false;
        // Its own "now", taken once the birthday reminders have closed.
        if (!passar(LerLembretes(SqlCompromissosDevidos(usuario, relogio::Agora())), false))
            return false;
    }
    Sessao.MinutosChecagem = passo.minutos;
    return passo.fimDoPeriodo && exibiu;
}
