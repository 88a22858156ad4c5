#include "core/frmLogon.h"

#include "backup/comandos_backup.h"
#include "core/frmAguarde.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/modMsgBox.h"
#include "core/modSenha.h"
#include "core/principal.h"
#include "core/programa.h"
#include "core/sessao.h"
#include "platform/documentos.h"
#include "platform/instancia_unica.h"
#include "platform/modal.h"
#include "platform/pastas.h"
#include "resources/recursos.h"

#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include <exception>

namespace {

void trazerParaFrente(QWidget &janela)
{
    ManterNoTopo(janela, true);
    ManterNoTopo(janela, false);
}

// Where to read how to create the database (the probe's link).
QUrl enderecoAjudaBase()
{
    QUrl u = QUrl::fromLocalFile(QDir(pastas::PastaDocumentos()).filePath(QStringLiteral("README.md")));
    u.setFragment(QStringLiteral("a-base-de-dados"));
    return u;
}

void mensagemDoSistema(QMessageBox::Icon icone, const QString &texto)
{
    QMessageBox caixa(icone, QStringLiteral("Velora"), texto, QMessageBox::Ok);
    modal::Exibir(caixa);
}

void preencherSessao(const RecordSet &rs)
{
    Sessao.Codigo = rs(QStringLiteral("Codigo")).Inteiro();
    Sessao.Pastinha = rs(QStringLiteral("Pastinha")).Texto();
    Sessao.Nome = rs(QStringLiteral("Nome")).Texto();
    Sessao.Endereco = rs(QStringLiteral("Endereco")).Texto();
    Sessao.Cidade = rs(QStringLiteral("Cidade")).Texto();
    Sessao.Estado = rs(QStringLiteral("Estado")).Texto();
    Sessao.Cep = rs(QStringLiteral("Cep")).Texto();
    Sessao.FoneRes = rs(QStringLiteral("FoneRes")).Texto();
    Sessao.FoneCel = rs(QStringLiteral("FoneCel")).Texto();
    Sessao.Email = rs(QStringLiteral("Email")).Texto();
    const Campo aniversario = rs(QStringLiteral("Aniversario"));
    Sessao.Aniversario = aniversario.IsNull() ? QDate(1900, 1, 1) : aniversario.Data();
}

} // namespace

FrmLogon::FrmLogon() : tk::Formulario(QStringLiteral("Velora"))
{
    setWindowIcon(recursos::IconePrograma());
    picLogon = new tk::Figura(this);
    picLogon->DefinirImagem(recursos::Figura(QStringLiteral("logon")));
    picLogon->ArrastaJanela = true;
    resize(picLogon->size());

    Label1 = new tk::Rotulo(picLogon, QStringLiteral("VELORA"));
    QFont titulo = Label1->font();
    titulo.setPixelSize(17);
    titulo.setBold(true);
    titulo.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    Label1->setFont(titulo);
    Label1->setStyleSheet(QStringLiteral("color: white"));
    Label1->setGeometry(14, 4, 160, 24);

    lblLogin = new tk::Rotulo(picLogon, QStringLiteral("Usuário : "));
    lblSenha = new tk::Rotulo(picLogon, QStringLiteral("Senha : "));
    lblLogin->setGeometry(14, 38, 62, 20);
    lblSenha->setGeometry(14, 62, 62, 20);
    for (tk::Rotulo *r : {lblLogin, lblSenha})
        r->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    txtLogin = new tk::CaixaTexto(picLogon, 15);
    txtPass = new tk::CaixaTexto(picLogon, 10);
    txtPass->DefinirCaractereSenha(u'*');
    txtLogin->setGeometry(80, 38, 120, 21);
    txtPass->setGeometry(80, 62, 120, 21);

    cmdLogar = new tk::Botao(picLogon, QStringLiteral("&Abrir Agenda"));
    cmdNovoUsuario = new tk::Botao(picLogon, QStringLiteral("&Novo Usuário"));
    cmdLogar->setGeometry(14, 96, 112, 25);
    cmdNovoUsuario->setGeometry(134, 96, 112, 25);

    imgFechar = new tk::Imagem(picLogon, recursos::Figura(QStringLiteral("fechar")));
    imgFechar->move(236, 7);
    imgFechar->setToolTip(QStringLiteral("Fechar"));
    imgFechar->setCursor(Qt::PointingHandCursor);

    txtLogin->KeyPress = [this](int k) { return frmLogon_txtLogin_KeyPress(k); };
    // Pasted text is not typed key by key; logins are upper case however they arrive.
    txtLogin->Change = [this] {
        const QString maiusculo = txtLogin->text().toUpper();
        if (maiusculo != txtLogin->text()) {
            const int cursor = txtLogin->cursorPosition();
            txtLogin->setText(maiusculo);
            txtLogin->setCursorPosition(cursor);
        }
    };
    txtPass->KeyPress = [this](int k) { return frmLogon_txtPass_KeyPress(k); };
    cmdLogar->Click = [this] { frmLogon_cmdLogar_Click(); };
    cmdNovoUsuario->Click = [this] { frmLogon_cmdNovoUsuario_Click(); };
    imgFechar->Click = [this] { frmLogon_imgFechar_Click(); };
    QueryUnload = [this] { frmLogon_imgFechar_Click(); };
    iconeBandeja.Mensagem = [this](int m) { frmLogon_Bandeja_MouseMove(m); };
    frmMenu().ExibirPelaBandeja = [this] { ExibirPelaBandeja(); };
    frmMenu().FecharBandeja = [this] {
        hide();
        RemoverIconeBandeja(*this);
    };

    if (const QScreen *tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
}

bool FrmLogon::frmLogon_Form_Load()
{
    entrouAutomaticamente = false;
    if (!instancia_unica::Obter())
        return false;

    if (tk::Tela::AlturaPixels() < 600) {
        Mensagem(QStringLiteral("Resolução mínima para Velora funcionar corretamente é de 800 x 600! Favor alterar!"), 1, 2);
        return false;
    }

    // A data folder that cannot be made or written is named, and nothing is touched.
    if (const QString erro = modDb::PrepararPastaDados(); !erro.isEmpty()) {
        qWarning("%s", qPrintable(erro));
        mensagemDoSistema(QMessageBox::Critical, erro);
        return false;
    }

    RecordSet rs;
    try {
        rs = Consultar(QStringLiteral("Select * from usuarios"));
    } catch (const motor_sql::BancoOcupado &ocupado) {
        // The file is sound, only busy: no reinstalling, just another try later.
        mensagemDoSistema(QMessageBox::Warning, QString::fromUtf8(ocupado.what()));
        return false;
    } catch (const std::exception &erro) {
        ProbeFalhou(QString::fromUtf8(erro.what()));
        return false;
    }

    if (primeiraCarga) {
        primeiraCarga = false;
        resize(picLogon->size());
        AplicarRegiao(*this, RegiaoDaImagem(picLogon->Imagem().toImage()));
    }

    if (rs.Eof()) {
        Mensagem(QStringLiteral("Primera execução da Velora. É necessário criar um novo usuário. Informe o usuário e clique em 'Novo Usuário' !"), 1, 2);
        cmdLogar->setEnabled(false);
    } else {
        cmdLogar->setEnabled(true);
    }

    IncluirIconeBandeja(*this, QStringLiteral("Velora"));
    cmdNovoUsuario->setEnabled(true);

    rs = Consultar(QStringLiteral("Select * from usuarios"));
    if (rs.RecordCount() == 1 && rs(QStringLiteral("Senha")).IsNull()) {
        preencherSessao(rs);
        Sessao.Login = rs(QStringLiteral("Login")).Texto();
        Sessao.Senha = QString();
        Sessao.SenhaGuardada = QString();
        rs.Close();

        Entrada entrada(*this);
        frmMenu().LogOut->setVisible(false);
        Sessao.NovoUsuario = false;
        tk::ProcessarEventos();
        if (Sessao.DadosRestaurados)
            janelaPrincipal().Carregar();
        abrirAgenda(true);
        entrouAutomaticamente = true;
        if (Sessao.DadosRestaurados) {
            Sessao.DadosRestaurados = false;
            return true;
        }
    }

    if (Sessao.DadosRestaurados || Sessao.SessaoEncerrada) {
        show();
        Sessao.SessaoEncerrada = false;
        trazerParaFrente(*this);
    }
    return true;
}

void FrmLogon::ProbeFalhou(const QString &erro)
{
    qWarning("Base de dados inacessível (%s): %s", 
             qPrintable(modDb::UsaPostgres() ? QStringLiteral("VELORA_BANCO") : modDb::ArquivoDados()), qPrintable(erro));
    mensagemDoSistema(QMessageBox::Critical, QStringLiteral("Sem ADODB Instalado ou Arquivo de Dados Inválido !!!"));
    mensagemDoSistema(QMessageBox::Information,
                      QStringLiteral("Execute o Download desse Programa a partir do site da Microsoft que abrirá logo após esse mensagem !!!") +
                          QStringLiteral("\n") +
                          QStringLiteral("Depois Execute a Instalação do ADODB e reinicie o Computador para Correto Funcionamento da Velora !!!"));
    mensagemDoSistema(QMessageBox::Information, QStringLiteral("Caso o problema persiste, re-instale a Velora !!!"));
    documentos::Abrir(enderecoAjudaBase());
}

FrmLogon::Entrada::Entrada(FrmLogon &form) : form(form), excecoes(std::uncaught_exceptions())
{
    frmAguarde::Show();
    form.picLogon->setEnabled(false);
    tk::AmpulhetaNoFormulario(form, true);
}

FrmLogon::Entrada::~Entrada()
{
    if (std::uncaught_exceptions() > excecoes) {
        // Nobody is signed on after all; the next sign-on loads the main window again.
        JanelaPrincipal &principal = janelaPrincipal();
        principal.Janela().hide();
        principal.PararTemporizadores();
        Sessao.ReiniciarValores();
        Sessao.SessaoEncerrada = true;
        frmMenu().LogOut->setVisible(false);
        form.show();
    }
    frmAguarde::Unload();
    form.picLogon->setEnabled(true);
    tk::AmpulhetaNoFormulario(form, false);
}

// Sign-on and a new account: the main window loaded again when the session was ended or the
// data restored, then the main window.
void FrmLogon::entrar(bool novoUsuario)
{
    Entrada entrada(*this);
    Sessao.NovoUsuario = novoUsuario;
    if (!novoUsuario)
        frmMenu().LogOut->setVisible(true);
    tk::ProcessarEventos();
    if (Sessao.DadosRestaurados || Sessao.SessaoEncerrada) {
        Sessao.DadosRestaurados = false;
        Sessao.SessaoEncerrada = false;
        janelaPrincipal().Carregar();
    }
    // A new account's main window opens even when the program started for the tray.
    abrirAgenda(!novoUsuario);
}

// The main window opens; the logon form goes away.
void FrmLogon::abrirAgenda(bool consultarLinhaDeComando)
{
    JanelaPrincipal &principal = janelaPrincipal();
    principal.Mostrar();
    // With any argument the planner starts in the tray, unless there is no tray to start in.
    if (consultarLinhaDeComando && programa::LinhaDeComandoPreenchida() && bandeja::Disponivel())
        principal.Janela().hide();
    hide();
}

void FrmLogon::frmLogon_cmdLogar_Click()
{
    // The reserved login restores the database from the medium instead of signing on.
    if (txtLogin->text() == QLatin1String("DARADOVEZUDI")) {
        if (frmLogon_RestaurarBackup()) {
            txtLogin->clear();
            txtLogin->setEnabled(true);
            // A file restored onto an empty one holds users to sign on as.
            cmdLogar->setEnabled(true);
        }
        return;
    }
    const QString login = loginDigitado();
    RecordSet rs = Consultar(QStringLiteral("Select * from usuarios Where Login = '") + SqlTexto(login) +
                             QStringLiteral("' Order By Codigo"));
    const QString senha = SenhaDigitada(txtPass->text());
    if (rs.Eof()) {
        SenhaSemUsuario(senha);
        Mensagem(QStringLiteral("Usuário não cadastrado !"), 1, 2);
        return;
    }
    QString guardada = rs(QStringLiteral("Senha")).Texto();
    if (!SenhaConfere(senha, guardada)) {
        Mensagem(QStringLiteral("Senha não confere !"), 1, 2);
        return;
    }
    // A password still in the old reversible encoding is stored as a hash from now on, before
    // the session is filled, so a failure leaves nobody signed on; the row is left alone when
    // the password changed meanwhile elsewhere.
    if (!guardada.isEmpty() && !SenhaEhHash(guardada)) {
        const QString hash = GuardarSenha(senha);
        Executar(QStringLiteral("Update Usuarios set Senha = '") + SqlTexto(hash) + QStringLiteral("' Where Codigo = ") +
                 QString::number(rs(QStringLiteral("Codigo")).Inteiro()) + QStringLiteral(" And Senha = '") + SqlTexto(guardada) +
                 QStringLiteral("'"));
        guardada = hash;
    }
    preencherSessao(rs);
    rs.Close();
    Sessao.Login = login;
    Sessao.Senha = QString();
    Sessao.SenhaGuardada = guardada;

    entrar(false);
}

void FrmLogon::frmLogon_cmdNovoUsuario_Click()
{
    const QString login = loginDigitado();
    if (login.isEmpty()) {
        Mensagem(QStringLiteral("Informe o Login !"), 1, 2);
        txtLogin->setFocus();
        return;
    }
    // The same login the profile will store, so a stray space cannot register it twice.
    RecordSet rs = Consultar(QStringLiteral("Select * from usuarios Where Login = '") + SqlTexto(login) + QStringLiteral("'"));
    if (!rs.Eof()) {
        Mensagem(QStringLiteral("Usuário já cadastrado, escolha outro Login!"), 1, 3);
        return;
    }
    Sessao.Login = login;
    Sessao.Senha = SenhaDigitada(txtPass->text());

    entrar(true);
}

// Logins are stored trimmed and in capitals; sign-on and the duplicate check read them the same way.
QString FrmLogon::loginDigitado() const
{
    return txtLogin->text().trimmed().toUpper();
}

int FrmLogon::frmLogon_txtLogin_KeyPress(int tecla)
{
    if (tecla == 13)
        frmLogon_cmdLogar_Click();
    tecla = FiltrarTecla(tecla, false);
    return QChar(char16_t(tecla)).toUpper().unicode();
}

int FrmLogon::frmLogon_txtPass_KeyPress(int tecla)
{
    if (tecla == 13)
        frmLogon_cmdLogar_Click();
    return FiltrarTecla(tecla, false);
}

void FrmLogon::frmLogon_imgFechar_Click()
{
    // Without a tray the window would have nowhere to come back from.
    if (bandeja::Disponivel())
        hide();
}

void FrmLogon::frmLogon_Bandeja_MouseMove(int mensagem)
{
    if (mensagem == bandeja::BotaoEsquerdoSolto)
        ExibirPelaBandeja();
    else if (mensagem == bandeja::BotaoDireitoSolto)
        frmMenu().mnu0.popup(tk::Tela::PosicaoMouse());
}

void FrmLogon::ExibirPelaBandeja()
{
    if (!isVisible() && Sessao.Codigo == 0) {
        show();
        return;
    }
    QWidget *lembrete = JanelaDeLembrete();
    const bool lembreteVisivel = lembrete && lembrete->isVisible();
    if (lembreteVisivel && frmMsgBox().isVisible()) {
        trazerParaFrente(*lembrete);
        trazerParaFrente(frmMsgBox());
    } else if (lembreteVisivel) {
        trazerParaFrente(*lembrete);
    } else if (isVisible() || Sessao.Codigo == 0) {
        if (isVisible()) {
            trazerParaFrente(*this);
            activateWindow();
            txtLogin->setFocus();
        }
    } else {
        QWidget &principal = janelaPrincipal().Janela();
        principal.show();
        // Already shown but buried under other windows: the tray click brings it up.
        principal.raise();
        principal.activateWindow();
    }
}

bool IniciarPrograma()
{
    bool continuar = true;
    FrmLogon &logon = frmLogon();
    tk::Disparar([&] { continuar = logon.frmLogon_Form_Load(); });
    if (!continuar || programa::Encerrado())
        return false;
    if (!logon.EntrouAutomaticamente())
        logon.show();
    return true;
}

FrmLogon &frmLogon()
{
    static FrmLogon *form = new FrmLogon;
    return *form;
}

void IncluirIconeBandeja(FrmLogon &form, const QString &dica)
{
    if (!form.iconeBandeja.Incluido())
        form.iconeBandeja.Incluir(recursos::IconePrograma(), dica);
}

void RemoverIconeBandeja(FrmLogon &form)
{
    form.iconeBandeja.Remover();
}
