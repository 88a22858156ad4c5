#include "core/frmAgenda.h"

#include "accessories/modRelogio.h"
#include "accessories/painel_calculadora.h"
#include "accessories/relogio_analogico.h"
#include "appointments/calendario_mes.h"
#include "appointments/frmLembrete.h"
#include "appointments/modCompromissos.h"
#include "appointments/modLembretes.h"
#include "appointments/modSons.h"
#include "appointments/painel_compromissos.h"
#include "backup/comandos_backup.h"
#include "contacts/painel_enderecos.h"
#include "core/frmConfig.h"
#include "core/frmLogon.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "finances/painel_financas.h"
#include "platform/documentos.h"
#include "platform/localidade.h"
#include "platform/pastas.h"
#include "platform/relogio.h"
#include "resources/recursos.h"
#include "tasks/modNotas.h"
#include "tasks/modTarefas.h"
#include "tasks/painel_notas.h"
#include "tasks/painel_tarefas.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <optional>

namespace {

// Where the panels stand on the skin's paper, in twips.
constexpr int PainelLeft = 5160, PainelTop = 720, PainelWidth = 5850, PainelHeight = 6300;
// The tabs hang below the paper; the tab-edge frame erases the paper's edge over the chosen one.
constexpr int AbaTop = 7080, AbaHeight = 390, LinhaApagarTop = 7075, LinhaApagarHeight = 45;

tk::Rotulo *rotuloBranco(QWidget *pai, int pixels, bool negrito)
{
    auto *r = new tk::Rotulo(pai, QString());
    QFont f = r->font();
    f.setPixelSize(pixels);
    f.setBold(negrito);
    r->setFont(f);
    r->setStyleSheet(QStringLiteral("color: white"));
    return r;
}

tk::Moldura *painel(QWidget *pai)
{
    auto *m = new tk::Moldura(pai);
    tk::Posicionar(*m, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    m->hide();
    return m;
}

// The start page: fixed texts and a picture.
void montarInicial(tk::Moldura *m)
{
    auto *figura = new tk::Imagem(m, recursos::Figura(QStringLiteral("inicial")));
    figura->move(115, 20);
    auto *titulo = new tk::Rotulo(m, QStringLiteral("Bem-vindo à sua Agenda Velora"));
    QFont f = titulo->font();
    f.setPixelSize(17);
    f.setBold(true);
    titulo->setFont(f);
    titulo->setStyleSheet(QStringLiteral("color: #1d4466"));
    titulo->setAlignment(Qt::AlignCenter);
    titulo->setGeometry(0, 190, 390, 26);
    auto *texto = new tk::Rotulo(m, QStringLiteral(
        "<p>Escolha uma das abas abaixo para trabalhar:</p>"
        "<p><b>Compromissos</b> – o seu dia em horários, com lembretes e compartilhamento.<br>"
        "<b>Endereços</b> – contatos e aniversários.<br>"
        "<b>Finanças</b> – o caixa do mês, com saldos.<br>"
        "<b>Tarefas</b> – o que fazer, por prioridade.<br>"
        "<b>Notas</b> – o seu bloco de anotações.</p>"
        "<p>Os seus dados e preferências ficam no botão de configuração, no alto da janela.</p>"));
    texto->setWordWrap(true);
    texto->setTextFormat(Qt::RichText);
    texto->setStyleSheet(QStringLiteral("color: #333333"));
    texto->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    texto->setGeometry(22, 226, 346, 180);
}

} // namespace

FrmAgenda::FrmAgenda() : tk::Formulario(QStringLiteral("Agenda Velora"))
{
    setWindowIcon(recursos::IconePrograma());
    picMainSkin = new tk::Figura(this);
    picMainSkin->DefinirImagem(recursos::Figura(QStringLiteral("agenda")));
    picMainSkin->ArrastaJanela = true;
    resize(picMainSkin->size());

    picFocus = new tk::Figura(picMainSkin);
    picFocus->setFocusPolicy(Qt::StrongFocus);
    picFocus->setGeometry(0, 0, 1, 1);

    frmInicial = painel(picMainSkin);
    montarInicial(frmInicial);
    frmCompromissos = new PainelCompromissos(picMainSkin, *this);
    tk::Posicionar(*frmCompromissos, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    frmCompromissos->hide();
    frmEndereco = new PainelEnderecos(picMainSkin, *this);
    tk::Posicionar(*frmEndereco, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    frmEndereco->hide();
    frmFinancas = new PainelFinancas(picMainSkin, *this);
    tk::Posicionar(*frmFinancas, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    frmFinancas->hide();
    frmTarefas = new PainelTarefas(picMainSkin, *this);
    tk::Posicionar(*frmTarefas, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    frmTarefas->hide();
    frmNotas = new PainelNotas(picMainSkin, *this);
    tk::Posicionar(*frmNotas, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    frmNotas->hide();
    frmConfig = new PainelConfig(picMainSkin, *this);
    tk::Posicionar(*frmConfig, PainelLeft, PainelTop, PainelWidth, PainelHeight);
    frmConfig->hide();

    const struct {
        tk::Imagem **aba;
        const char *figura;
        int left, width;
    } abas[] = {
        {&imgCompromissos, "aba_compromissos", 5140, 1480}, {&imgEnderecos, "aba_enderecos", 6640, 1075},
        {&imgFinancas, "aba_financas", 7740, 950},          {&imgTarefas, "aba_tarefas", 8695, 845},
        {&imgNotas, "aba_notas", 9550, 695},                {&imgAjuda, "aba_inicial", 10255, 300},
    };
    for (const auto &a : abas) {
        *a.aba = new tk::Imagem(picMainSkin, recursos::Figura(QString::fromLatin1(a.figura)));
        tk::Posicionar(**a.aba, a.left, AbaTop, a.width, AbaHeight);
        (*a.aba)->setCursor(Qt::PointingHandCursor);
    }

    // The navigation: each panel once, with its tab, its tab-edge frame, its print picture and
    // what opening it loads.
    paineis = {
        {QStringLiteral("Inicial"), frmInicial, imgAjuda, 10255, 300, false, {}, {}, {}},
        {QStringLiteral("Compromissos"), frmCompromissos, imgCompromissos, 5140, 1480, true,
         [this] { frmCompromissos->MontarGrade(Sessao.DiaExibido); },
         [this] { MostrarData(Sessao.DiaExibido); },
         [this] { frmCompromissos->Limpar(); },
         [this] { return RelatorioDoDia(localidade::DataLonga(Sessao.DiaExibido), lblIdentNome->text(), frmCompromissos->LinhasExibidas()); }},
        {QStringLiteral("Enderecos"), frmEndereco, imgEnderecos, 6640, 1075, true,
         [this] { frmEndereco->CarregarContatos(false, QString()); }, {}, [this] { frmEndereco->Limpar(); },
         [this] { return RelatorioDeEnderecos(lblIdentNome->text(), LinhasContatos(Sessao.FiltroContatos)); }},
        {QStringLiteral("Financas"), frmFinancas, imgFinancas, 7740, 950, true,
         [this] { frmFinancas->Abrir(); }, {}, [this] { frmFinancas->Limpar(); },
         [this] {
             const PainelFinancas &p = *frmFinancas;
             return RelatorioDoMes(p.cmbFinancasMes->currentText(), p.txtFinancasAno->text(), lblIdentNome->text(),
                                   p.MesExibido().linhas, Sessao.SeparadorDecimal, p.txtFinancasSaldoInicial->text(),
                                   p.txtFinancasSaldoAtual->text());
         }},
        {QStringLiteral("Tarefas"), frmTarefas, imgTarefas, 8695, 845, true, [this] { frmTarefas->CarregarTarefas(); }, {},
         [this] { frmTarefas->Limpar(); }, [this] { return RelatorioDeTarefas(lblIdentNome->text(), frmTarefas->TarefasExibidas()); }},
        {QStringLiteral("Notas"), frmNotas, imgNotas, 9550, 695, false, [this] { frmNotas->CarregarNota(); },
         [this] { frmNotas->txtNotas->setFocus(); }, [this] { frmNotas->Limpar(); }},
        {QStringLiteral("Configuracao"), frmConfig, nullptr, 0, 0, false, {}, {}, {}},
    };
    for (const Painel &p : std::as_const(paineis))
        if (p.aba)
            p.aba->Click = [this, nome = p.nome] { AbrirPainel(nome); };
    imgAjuda->setToolTip(QStringLiteral("Página Inicial"));

    frmLinhaApagar = new tk::Moldura(picMainSkin);
    frmLinhaApagar->setAutoFillBackground(true);
    frmLinhaApagar->setStyleSheet(QStringLiteral("background: white"));
    frmLinhaApagar->hide();

    imgImpressora = new tk::Imagem(picMainSkin, recursos::Figura(QStringLiteral("impressora")));
    imgImpressora->setToolTip(QStringLiteral("Imprimir"));
    imgImpressora->setCursor(Qt::PointingHandCursor);
    imgImpressora->move(526, 9);
    imgImpressora->hide();
    cmdBackup = new tk::BotaoFigura(picMainSkin, recursos::Figura(QStringLiteral("backup")),
                                    QStringLiteral("Backup dos Dados no Disquete"));
    cmdBackup->move(458, 6);
    cmdRestore = new tk::BotaoFigura(picMainSkin, recursos::Figura(QStringLiteral("restaurar")),
                                     QStringLiteral("Restaurar o Backup do Disquete"));
    cmdRestore->move(492, 6);
    cmdConfig = new tk::BotaoFigura(picMainSkin, recursos::Figura(QStringLiteral("configuracao")),
                                    QStringLiteral("Seus Dados e Preferências"));
    cmdConfig->move(554, 6);
    cmdAjuda = new tk::BotaoFigura(picMainSkin, recursos::Figura(QStringLiteral("ajuda")), QStringLiteral("Ajuda"));
    cmdAjuda->move(588, 6);
    cmdLogout = new tk::BotaoFigura(picMainSkin, recursos::Figura(QStringLiteral("sair")), QString());
    cmdLogout->move(622, 6);
    lblMinimizar = rotuloBranco(picMainSkin, 11, false);
    lblMinimizar->setText(QStringLiteral("Ocultar"));
    lblMinimizar->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblMinimizar->setGeometry(656, 9, 50, 24);
    lblMinimizar->setCursor(Qt::PointingHandCursor);
    imgMinimizar = new tk::Imagem(picMainSkin, recursos::Figura(QStringLiteral("minimizar")));
    imgMinimizar->move(710, 9);
    imgMinimizar->setCursor(Qt::PointingHandCursor);
    imgMinimizar->setToolTip(QStringLiteral("Ocultar a agenda (continua na bandeja)"));

    lblIdentNome = rotuloBranco(picMainSkin, 15, true);
    lblIdentNome->setGeometry(20, 50, 300, 22);
    lblIdentTelefone = rotuloBranco(picMainSkin, 12, false);
    lblIdentTelefone->setGeometry(20, 74, 300, 18);
    lblIdentCelular = rotuloBranco(picMainSkin, 12, false);
    lblIdentCelular->setGeometry(20, 92, 300, 18);
    lblIdentEmail = rotuloBranco(picMainSkin, 12, false);
    lblIdentEmail->setGeometry(20, 110, 300, 18);
    lblData = rotuloBranco(picMainSkin, 12, false);
    lblData->setGeometry(20, 138, 205, 30);
    lblData->setWordWrap(true);
    lblHora = rotuloBranco(picMainSkin, 26, true);
    lblHora->setGeometry(226, 134, 94, 36);
    lblHora->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The clock stands in the skin's round well, the calculator in the inset below it.
    picRelogio = new RelogioAnalogico(picMainSkin, QRect(92, 177, 150, 150));
    cmdCalculadora = new tk::BotaoFigura(picMainSkin, recursos::Figura(QStringLiteral("calculadora")),
                                         QStringLiteral("Exibir Calculadora"));
    cmdCalculadora->move(292, 304);
    frmCalc = new PainelCalculadora(picMainSkin, *this, *cmdCalculadora);
    frmCalc->move(16, 342);
    cmdCalculadora->raise();

    tmrChecagem = new tk::Temporizador(this);
    tmrRelogio = new tk::Temporizador(this, 60000);

    cmdConfig->Click = [this] { frmConfig->frmAgenda_cmdConfig_Click(); };
    cmdLogout->Click = [this] { frmAgenda_cmdLogout_Click(); };
    cmdAjuda->Click = [this] { frmAgenda_cmdAjuda_Click(); };
    cmdBackup->Click = [this] { frmAgenda_cmdBackup_Click(*this); };
    cmdRestore->Click = [this] { frmAgenda_cmdRestore_Click(*this); };
    cmdCalculadora->Click = [this] { frmCalc->frmAgenda_cmdCalculadora_Click(); };
    imgMinimizar->Click = [this] { frmAgenda_imgMinimizar_Click(); };
    imgImpressora->Click = [this] { frmAgenda_imgImpressora_Click(); };
    lblMinimizar->Click = [this] { frmAgenda_imgMinimizar_Click(); };
    tmrRelogio->Timer = [this] { frmAgenda_tmrRelogio_Timer(); };
    tmrChecagem->Timer = [this] { frmAgenda_tmrChecagem_Timer(); };
    QueryUnload = [this] { frmAgenda_imgMinimizar_Click(); };

    if (const QScreen *tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
    DefinirJanelaPrincipal(this);
}

void FrmAgenda::Mostrar()
{
    if (!carregado)
        frmAgenda_Form_Load();
    show();
}

void FrmAgenda::frmAgenda_Form_Load()
{
    picRelogio->Preparar();
    lblHora->setText(relogio::Agora().toString(QStringLiteral("HH:mm")));
    Sessao.SeparadorDecimal = localidade::SeparadorDecimal();
    tk::EsperaNaTela espera;
    tk::ProcessarEventos();
    if (primeiraCarga) {
        primeiraCarga = false;
        resize(picMainSkin->size());
        AplicarRegiao(*this, RegiaoDaImagem(picMainSkin->Imagem().toImage()));
    }
    Sessao.DiaExibido = relogio::Hoje();
    tmrChecagem->DefinirIntervalo(IntervaloDaChecagem());
    tmrChecagem->DefinirAtivo(true);
    tmrRelogio->DefinirAtivo(true);
    tmrRelogio->ProximoDisparoEm(modRelogio::MsAteOProximoMinuto(relogio::Agora()));
    Sessao.MinutosChecagem = 1;
    MostrarData(relogio::Hoje());
    frmCalc->Abrir();

    if (Sessao.NovoUsuario) {
        frmConfig->cmdExcluirUsuario->hide();
        tmrChecagem->DefinirAtivo(false);
        frmConfig->PreencherNovoUsuario();
        ExibirPainel(frmConfig);
    } else {
        frmConfig->cmdExcluirUsuario->show();
        AtualizarIdentificacao();
        RecordSet rs = Consultar(QStringLiteral("Select * from Configuracao Where Usuario = ") + QString::number(Sessao.Codigo));
        Sessao.ChaveConfiguracao = rs(QStringLiteral("Chave")).Inteiro();
        Sessao.InicioGrade = rs(QStringLiteral("InicioGrade")).Hora();
        Sessao.FinalGrade = rs(QStringLiteral("FinalGrade")).Hora();
        Sessao.ChecagemGeral = int(rs(QStringLiteral("ChecagemGeral")).Inteiro());
        Sessao.Intervalos = int(rs(QStringLiteral("Intervalos")).Inteiro());
        Sessao.PosicaoAniversarios = rs(QStringLiteral("PosicaoAniversarios")).Texto();
        Sessao.SomCompromisso = rs(QStringLiteral("SomCompromisso")).Texto();
        Sessao.VisualizarCompartilhamento = rs(QStringLiteral("VisualizarCompartilhamento")).Texto() == QLatin1String("S");
        rs.Close();
        AbrirPainel(Sessao.Pastinha);
        Sessao.MinutosChecagem = 1;
    }
    // Only a load that finished counts: one that failed runs again at the next sign-on.
    carregado = true;
}

void FrmAgenda::AtualizarIdentificacao()
{
    if (!Sessao.Nome.isEmpty())
        lblIdentNome->setText(Sessao.Nome);
    if (!Sessao.FoneRes.isEmpty())
        lblIdentTelefone->setText(QStringLiteral("Telefone : ") + Sessao.FoneRes);
    if (!Sessao.FoneCel.isEmpty())
        lblIdentCelular->setText(QStringLiteral("Celular : ") + Sessao.FoneCel);
    if (!Sessao.Email.isEmpty())
        lblIdentEmail->setText(Sessao.Email);
    cmdLogout->setToolTip(QStringLiteral("Encerrar Sessão do Usuário [") + Sessao.Login + QStringLiteral("]"));
}

void FrmAgenda::IdentificacaoPadrao()
{
    lblIdentNome->setText(QStringLiteral("Seu Nome"));
    lblIdentTelefone->setText(QStringLiteral("Telefone : Seu Telefone"));
    lblIdentCelular->setText(QStringLiteral("Celular : Seu Celular"));
    lblIdentEmail->setText(QStringLiteral("Seu e-mail@exemplo.com.br"));
}

void FrmAgenda::AbrirPainel(const QString &nome)
{
    if (nome == QLatin1String("Configuracao")) {
        frmConfig->frmAgenda_cmdConfig_Click();
        return;
    }
    for (const Painel &p : std::as_const(paineis))
        if (p.nome == nome)
            trocarPainel(p);
}

void FrmAgenda::trocarPainel(const Painel &p)
{
    if (Sessao.NovoUsuario) {
        AvisarCadastroPendente();
        return;
    }
    if (Sessao.PainelAtual == p.nome)
        return;
    const bool inicial = p.nome == QLatin1String("Inicial");
    const bool compromissos = p.nome == QLatin1String("Compromissos");
    std::optional<tk::EsperaNoFormulario> espera;
    if (!inicial)
        espera.emplace(*this);
    // The start page and the appointments set the print picture once the panel is shown.
    if (!inicial && !compromissos)
        imgImpressora->setVisible(p.impressora);
    Sessao.PainelAtual = p.nome;
    frmLinhaApagar->hide();
    tk::Posicionar(*frmLinhaApagar, p.leftAba, LinhaApagarTop, p.larguraAba, LinhaApagarHeight);
    frmLinhaApagar->show();
    frmLinhaApagar->raise();
    if (p.carregar)
        p.carregar();
    ExibirPainel(p.painel);
    if (p.depois)
        p.depois();
    if (inicial || compromissos)
        imgImpressora->setVisible(p.impressora);
}

void FrmAgenda::frmAgenda_imgAjuda_Click() { AbrirPainel(QStringLiteral("Inicial")); }
void FrmAgenda::frmAgenda_imgCompromissos_Click() { AbrirPainel(QStringLiteral("Compromissos")); }
void FrmAgenda::frmAgenda_imgEnderecos_Click() { AbrirPainel(QStringLiteral("Enderecos")); }
void FrmAgenda::frmAgenda_imgFinancas_Click() { AbrirPainel(QStringLiteral("Financas")); }
void FrmAgenda::frmAgenda_imgTarefas_Click() { AbrirPainel(QStringLiteral("Tarefas")); }
void FrmAgenda::frmAgenda_imgNotas_Click() { AbrirPainel(QStringLiteral("Notas")); }

void FrmAgenda::frmAgenda_cmdLogout_Click()
{
    RetirarFoco();
    if (Sessao.NovoUsuario)
        return;
    Sair();
}

void FrmAgenda::frmAgenda_cmdAjuda_Click()
{
    RetirarFoco();
    documentos::Abrir(QUrl::fromLocalFile(QDir(pastas::PastaDocumentos()).filePath(QStringLiteral("AjudaAgenda.doc"))));
}

void FrmAgenda::frmAgenda_imgMinimizar_Click()
{
    // Without a tray the window would have nowhere to come back from.
    if (bandeja::Disponivel())
        hide();
}

void FrmAgenda::frmAgenda_imgImpressora_Click()
{
    RetirarFoco();
    if (Sessao.NovoUsuario)
        return;
    for (const Painel &p : std::as_const(paineis))
        if (p.nome == Sessao.PainelAtual && p.relatorio)
            ImprimirPainel(p.relatorio());
}

void FrmAgenda::frmAgenda_tmrRelogio_Timer()
{
    lblHora->setText(relogio::Agora().toString(QStringLiteral("HH:mm")));
    picRelogio->Tick();
    // Every tick falls as the minute turns, so neither the time nor the hands lag behind it.
    tmrRelogio->ProximoDisparoEm(modRelogio::MsAteOProximoMinuto(relogio::Agora()));
}

FrmAgenda &frmAgenda()
{
    static FrmAgenda *form = new FrmAgenda;
    return *form;
}

void FrmAgenda::ExibirPainel(QWidget *painel)
{
    for (const Painel &p : std::as_const(paineis))
        p.painel->hide();
    Executar(QStringLiteral("Update Usuarios set Pastinha ='") + SqlTexto(Sessao.PainelAtual) +
             QStringLiteral("' Where COdigo = ") + QString::number(Sessao.Codigo));
    if (Sessao.PainelAtual != QLatin1String("Configuracao"))
        Sessao.Pastinha = Sessao.PainelAtual;
    // The profile has no tab of its own to mark.
    if (painel == frmConfig)
        frmLinhaApagar->hide();
    painel->show();
    MostrarData(relogio::Hoje());
}

void FrmAgenda::RetirarFoco()
{
    picFocus->setFocus();
}

void FrmAgenda::AvisarCadastroPendente()
{
    Mensagem(QStringLiteral("Informe os seus Dados Cadastrais e os da Sua Agenda, depois selecione Gravar para ter acesso as funções!"), 1, 2);
}

void FrmAgenda::MostrarImpressora(bool visivel)
{
    imgImpressora->setVisible(visivel);
}

void FrmAgenda::MostrarData(const QDate &dia)
{
    lblData->setText(localidade::DataLonga(dia) + QStringLiteral(" "));
}

void FrmAgenda::EncerrarSessao()
{
    hide();
    Sessao.ReiniciarValores();
    Sessao.SessaoEncerrada = true;
    for (const Painel &p : std::as_const(paineis))
        if (p.limpar)
            p.limpar();
    PararTemporizadores();
    const bool vazio = Consultar(QStringLiteral("Select * from Usuarios")).Eof();
    FrmLogon &logon = frmLogon();
    logon.cmdLogar->setEnabled(!vazio);
    logon.txtPass->setEnabled(!vazio);
    logon.txtPass->clear();
    frmMenu().LogOut->setVisible(false);
}

void FrmAgenda::Sair()
{
    EncerrarSessao();
    frmLogon().show();
}

bool FrmAgenda::RecomecarComDadosRestaurados()
{
    EncerrarSessao();
    Sessao.DadosRestaurados = true;
    return frmLogon().frmLogon_Form_Load();
}

void FrmAgenda::AtivarChecagem(bool ativa)
{
    tmrChecagem->DefinirAtivo(ativa);
}

void FrmAgenda::PararTemporizadores()
{
    tmrChecagem->DefinirAtivo(false);
    tmrRelogio->DefinirAtivo(false);
}

void FrmAgenda::frmAgenda_tmrChecagem_Timer()
{
    if (ChecarLembretes(*this) && Sessao.PainelAtual == QLatin1String("Compromissos"))
        frmCompromissos->MontarGrade(Sessao.DiaExibido);
}
