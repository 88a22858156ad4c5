#include "core/frmConfig.h"

#include "appointments/modSons.h"
#include "core/frmMenu.h"
#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/modSenha.h"
#include "core/principal.h"
#include "core/sessao.h"
#include "platform/inicio_sessao.h"

#include <QCoreApplication>
#include <QGroupBox>

#include <cmath>

namespace {

const QStringList sons = {QStringLiteral("Nenhum"), QStringLiteral("Campainha"), QStringLiteral("Cuco"),
                          QStringLiteral("Nave"), QStringLiteral("Sirene"), QStringLiteral("Telefone"),
                          QStringLiteral("Tiro")};

tk::Rotulo *rotulo(QWidget *pai, const QString &texto, int x, int y, int w)
{
    auto *r = new tk::Rotulo(pai, texto, x, y, w);
    r->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return r;
}

tk::CaixaTexto *caixa(QWidget *pai, int maximo, int x, int y, int w, std::function<int(int)> teclas)
{
    auto *c = new tk::CaixaTexto(pai, maximo);
    c->setGeometry(x, y, w, 21);
    c->KeyPress = std::move(teclas);
    return c;
}

int modoTexto(int tecla) { return FiltrarTecla(tecla, false); }
int modoNumeros(int tecla) { return FiltrarTecla(tecla, true); }

// An optional text as the profile writes it: 'text' or NULL when empty.
QString textoOuNulo(const QString &texto)
{
    const QString t = texto.trimmed();
    return t.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'") + SqlTexto(t) + QStringLiteral("'");
}

// The telephones are written as a single space when empty.
QString textoOuEspaco(const QString &texto)
{
    const QString t = texto.trimmed();
    return QStringLiteral("'") + (t.isEmpty() ? QStringLiteral(" ") : SqlTexto(t)) + QStringLiteral("'");
}

} // namespace

PainelConfig::PainelConfig(QWidget *parent, JanelaPrincipal &principal) : tk::Moldura(parent), principal(principal)
{
    auto *dados = new QGroupBox(QStringLiteral("Dados Cadastrais"), this);
    dados->setGeometry(0, 0, 390, 214);
    rotulo(dados, QStringLiteral("Nome :"), 2, 20, 74);
    txtDadosNome = caixa(dados, 75, 80, 20, 302, modoTexto);
    rotulo(dados, QStringLiteral("Endereço :"), 2, 44, 74);
    txtDadosEndereco = caixa(dados, 100, 80, 44, 302, modoTexto);
    rotulo(dados, QStringLiteral("Cidade :"), 2, 68, 74);
    txtDadosCidade = caixa(dados, 30, 80, 68, 200, modoTexto);
    rotulo(dados, QStringLiteral("UF :"), 282, 68, 62);
    txtDadosEstado = caixa(dados, 2, 348, 68, 34, modoTexto);
    rotulo(dados, QStringLiteral("CEP :"), 2, 92, 74);
    txtDadosCep = caixa(dados, 8, 80, 92, 80, modoNumeros);
    rotulo(dados, QStringLiteral("Nascimento :"), 162, 92, 100);
    txtDadosNascimento = caixa(dados, 10, 266, 92, 116, FiltrarData);
    rotulo(dados, QStringLiteral("Telefone :"), 2, 116, 74);
    txtDadosTelefone = caixa(dados, 15, 80, 116, 116, FiltrarTelefone);
    rotulo(dados, QStringLiteral("Celular :"), 198, 116, 64);
    txtDadosCelular = caixa(dados, 15, 266, 116, 116, FiltrarTelefone);
    rotulo(dados, QStringLiteral("E-mail :"), 2, 140, 74);
    txtDadosEmail = caixa(dados, 100, 80, 140, 302, modoTexto);
    for (const auto &[texto, x] : {std::pair{"Senha Atual", 80}, std::pair{"Nova Senha", 182}, std::pair{"Confirmação", 284}}) {
        auto *r = new tk::Rotulo(dados, QString::fromUtf8(texto));
        r->setGeometry(x, 164, 98, 16);
    }
    rotulo(dados, QStringLiteral("Senha :"), 2, 182, 74);
    txtSenhaAtual = caixa(dados, 10, 80, 182, 98, modoTexto);
    txtSenhaNova = caixa(dados, 10, 182, 182, 98, modoTexto);
    txtSenhaReNova = caixa(dados, 10, 284, 182, 98, modoTexto);
    for (tk::CaixaTexto *s : {txtSenhaAtual, txtSenhaNova, txtSenhaReNova})
        s->DefinirCaractereSenha(u'*');

    auto *agenda = new QGroupBox(QStringLiteral("Agenda"), this);
    agenda->setGeometry(0, 218, 390, 164);
    rotulo(agenda, QStringLiteral("Grade das :"), 2, 20, 74);
    txtAgendaInicio = caixa(agenda, 5, 80, 20, 50, nullptr);
    rotulo(agenda, QStringLiteral("às :"), 130, 20, 30);
    txtAgendaFim = caixa(agenda, 5, 164, 20, 50, nullptr);
    txtAgendaInicio->KeyPress = [this](int k) { return MascaraHora(*txtAgendaInicio, k); };
    txtAgendaFim->KeyPress = [this](int k) { return MascaraHora(*txtAgendaFim, k); };
    rotulo(agenda, QStringLiteral("Intervalo (min) :"), 216, 20, 124);
    txtAgendaIntervalo = caixa(agenda, 2, 344, 20, 38, modoNumeros);
    rotulo(agenda, QStringLiteral("Verificar lembretes a cada (min) :"), 2, 46, 338);
    txtAgendaTempoChecagem = caixa(agenda, 2, 344, 46, 38, modoNumeros);
    rotulo(agenda, QStringLiteral("Aniversários no dia :"), 2, 72, 150);
    optAgendaNiverInicio = new tk::BotaoOpcao(agenda, QStringLiteral("Início"));
    optAgendaNiverInicio->setGeometry(160, 72, 80, 21);
    optAgendaNiverFim = new tk::BotaoOpcao(agenda, QStringLiteral("Fim"));
    optAgendaNiverFim->setGeometry(244, 72, 80, 21);
    rotulo(agenda, QStringLiteral("Som do lembrete :"), 2, 98, 150);
    cmbAgendaSom = new tk::CaixaCombinacao(agenda, sons);
    cmbAgendaSom->setGeometry(160, 98, 120, 22);
    cmdAgendaOuvir = new tk::Botao(agenda, QStringLiteral("&Ouvir"));
    cmdAgendaOuvir->setGeometry(286, 97, 96, 24);
    chkAgendaVisCompartilhados = new tk::CaixaSelecao(agenda, QStringLiteral("Visualizar Dados Compartilhados de outros usuários?"));
    chkAgendaVisCompartilhados->setGeometry(10, 122, 372, 20);
    chkIniciarComSessao = new tk::CaixaSelecao(agenda, QStringLiteral("Iniciar com a sessão"));
    chkIniciarComSessao->setGeometry(10, 142, 372, 20);

    cmdAgendaGravar = new tk::Botao(this, QStringLiteral("&Gravar"));
    cmdAgendaCancelar = new tk::Botao(this, QStringLiteral("&Cancelar"));
    cmdExcluirUsuario = new tk::Botao(this, QStringLiteral("&Excluir Usuário"));
    cmdAgendaGravar->setGeometry(0, 390, 120, 26);
    cmdAgendaCancelar->setGeometry(126, 390, 120, 26);
    cmdExcluirUsuario->setGeometry(262, 390, 128, 26);

    cmdAgendaGravar->Click = [this] { frmAgenda_cmdAgendaGravar_Click(); };
    cmdAgendaCancelar->Click = [this] { frmAgenda_cmdAgendaCancelar_Click(); };
    cmdAgendaOuvir->Click = [this] { frmAgenda_cmdAgendaOuvir_Click(); };
    cmdExcluirUsuario->Click = [this] { frmAgenda_cmdExcluirUsuario_Click(); };
}

void PainelConfig::PreencherNovoUsuario()
{
    txtSenhaNova->setEnabled(true);
    txtSenhaNova->setText(Sessao.Senha);
    txtSenhaReNova->clear();
    txtSenhaAtual->clear();
    txtSenhaAtual->setEnabled(false);
    for (tk::CaixaTexto *c : {txtDadosNome, txtDadosEndereco, txtDadosCidade, txtDadosEstado, txtDadosCep,
                              txtDadosTelefone, txtDadosCelular, txtDadosEmail, txtDadosNascimento})
        c->clear();
    txtAgendaInicio->setText(QStringLiteral("08:00"));
    txtAgendaFim->setText(QStringLiteral("17:00"));
    txtAgendaIntervalo->setText(QStringLiteral("60"));
    txtAgendaTempoChecagem->setText(QStringLiteral("1"));
    optAgendaNiverInicio->setChecked(true);
    cmbAgendaSom->setCurrentText(QStringLiteral("Cuco"));
    chkAgendaVisCompartilhados->setChecked(true);
    cmdAgendaGravar->setEnabled(true);
    principal.IdentificacaoPadrao();
}

void PainelConfig::frmAgenda_cmdConfig_Click()
{
    principal.RetirarFoco();
    if (Sessao.PainelAtual == QLatin1String("Configuracao") || Sessao.NovoUsuario)
        return;
    cmdAgendaGravar->setEnabled(true);
    principal.MostrarImpressora(false);
    Sessao.PainelAtual = QStringLiteral("Configuracao");

    txtDadosNome->setText(Sessao.Nome);
    txtDadosEndereco->setText(Sessao.Endereco);
    txtDadosCidade->setText(Sessao.Cidade);
    txtDadosEstado->setText(Sessao.Estado);
    txtDadosCep->setText(Sessao.Cep);
    txtDadosTelefone->setText(Sessao.FoneRes);
    txtDadosCelular->setText(Sessao.FoneCel);
    txtDadosEmail->setText(Sessao.Email);
    txtDadosNascimento->setText(Sessao.Aniversario == QDate(1900, 1, 1) ? QString()
                                                                          : TextoDaData(Sessao.Aniversario));

    txtSenhaAtual->clear();
    txtSenhaNova->clear();
    txtSenhaReNova->clear();
    txtSenhaAtual->setEnabled(!Sessao.SenhaGuardada.isEmpty());

    txtAgendaInicio->setText(Sessao.InicioGrade.toString(QStringLiteral("HH:mm")));
    txtAgendaFim->setText(Sessao.FinalGrade.toString(QStringLiteral("HH:mm")));
    txtAgendaIntervalo->setText(QString::number(Sessao.Intervalos));
    txtAgendaTempoChecagem->setText(QString::number(Sessao.ChecagemGeral));
    if (Sessao.PosicaoAniversarios != QLatin1String("A"))
        optAgendaNiverFim->setChecked(true);
    else
        optAgendaNiverInicio->setChecked(true);
    cmbAgendaSom->setCurrentText(Sessao.SomCompromisso);
    chkAgendaVisCompartilhados->setChecked(Sessao.VisualizarCompartilhamento);
    chkIniciarComSessao->setChecked(inicio_sessao::Ativo());

    principal.ExibirPainel(this);
    principal.RetirarFoco();
}

void PainelConfig::frmAgenda_cmdAgendaGravar_Click()
{
    PararSom();
    principal.RetirarFoco();
    if (gravar()) {
        // The autostart entry belongs to the desktop account, not to the planner's user.
        if (!inicio_sessao::Definir(chkIniciarComSessao->isChecked(), QCoreApplication::applicationFilePath()))
            Mensagem(QStringLiteral("Não foi possível gravar ") + inicio_sessao::Arquivo() + QStringLiteral(" !"), 1, 3);
        Mensagem(QStringLiteral("Dados Gravados e Atualizados com Sucesso !"), 1, 0);
        frmAgenda_cmdAgendaCancelar_Click();
    }
}

// Checks every box in order, then writes; false when a check failed (its message was shown).
bool PainelConfig::gravar()
{
    const auto falha = [](const char *texto, int icone, QWidget *foco) {
        Mensagem(QString::fromUtf8(texto), 1, icone);
        if (foco)
            foco->setFocus();
        return false;
    };

    if (txtDadosNome->text().trimmed().isEmpty())
        return falha("Informe o Nome!", 2, txtDadosNome);
    if (txtDadosEmail->text().trimmed().isEmpty())
        return falha("Informe o Email!", 2, txtDadosEmail);
    if (!txtDadosEmail->text().contains(u'@'))
        return falha("Informe um Email Válido!", 3, txtDadosEmail);
    std::optional<QDate> aniversario;
    if (!txtDadosNascimento->text().trimmed().isEmpty()) {
        aniversario = LerDataDigitada(txtDadosNascimento->text());
        if (!aniversario)
            return falha("Informe uma Data Válida para o seu Aniversário!", 2, txtDadosNascimento);
        txtDadosNascimento->setText(TextoDaData(*aniversario));
    }

    const bool atualHabilitada = txtSenhaAtual->isEnabled();
    if (!SenhaDigitada(txtSenhaNova->text()).isEmpty()) {
        if (atualHabilitada && !senhaAtualConfere())
            return falha("Senha Atual não Confere!", 3, txtSenhaNova);
        if (SenhaDigitada(txtSenhaNova->text()) != SenhaDigitada(txtSenhaReNova->text()))
            return falha("Nova Senha e Confirmação Diferentes !", 3, txtSenhaReNova);
    } else if (atualHabilitada && !txtSenhaAtual->text().isEmpty() && !senhaAtualConfere()) {
        return falha("Senha Atual não Confere!", 3, txtSenhaAtual);
    }

    const struct {
        tk::CaixaTexto *caixa;
        const char *vazia, *invalida;
    } horarios[] = {
        {txtAgendaInicio, "Informe o Horário para o Início da Grade!", "Informe um Horário Válido para o Início da Grade!"},
        {txtAgendaFim, "Informe o Horário para o Fim da Grade!", "Informe um Horário Válido para o Fim da Grade!"},
    };
    for (const auto &h : horarios) {
        if (h.caixa->text().trimmed().isEmpty())
            return falha(h.vazia, 2, h.caixa);
        const auto hora = LerHoraDigitada(h.caixa->text());
        if (!hora)
            return falha(h.invalida, 3, h.caixa);
        h.caixa->setText(hora->toString(QStringLiteral("HH:mm")));
    }
    if (txtAgendaInicio->text() >= txtAgendaFim->text())
        return falha("Hora de Início não pode ser Maior que Hora Final da Grade!", 3, txtAgendaInicio);

    const struct {
        tk::CaixaTexto *caixa;
        bool focoQuandoVazia;
        const char *vazia, *invalida, *foraDaFaixa;
    } numeros[] = {
        {txtAgendaIntervalo, false, "Informe o Intervalo da Grade!", "Informe um Valor Válido para o Intervalo da Grade!",
         "Informe no mínimo 1 ou no máximo 60 minutos para o Intervalo da Grade!"},
        {txtAgendaTempoChecagem, true, "Informe o Tempo de Checagem!", "Informe um Valor Válido para o Tempo de Checagem!",
         "Informe no mínimo 1 ou no máximo 60 minutos para o Tempo de Checagem!"},
    };
    int valores[2] = {};
    for (int i = 0; i < 2; ++i) {
        const auto &n = numeros[i];
        if (n.caixa->text().trimmed().isEmpty())
            return falha(n.vazia, 2, n.focoQuandoVazia ? n.caixa : nullptr);
        const auto v = LerNumero(n.caixa->text());
        if (!v)
            return falha(n.invalida, 3, n.caixa);
        if (std::trunc(*v) < 1 || *v > 60)
            return falha(n.foraDaFaixa, 2, n.caixa);
        valores[i] = int(std::lround(*v));
    }
    const int intervalo = valores[0], checagem = valores[1];

    tk::EsperaNoFormulario espera(principal.Janela());
    const QString inicio = txtAgendaInicio->text(), fim = txtAgendaFim->text();
    const QString posicao = optAgendaNiverInicio->isChecked() ? QStringLiteral("A") : QStringLiteral("D");
    const QString som = cmbAgendaSom->currentText();
    const bool compartilhados = chkAgendaVisCompartilhados->isChecked();
    const QString nascimento = aniversario ? QStringLiteral("cdate('") + txtDadosNascimento->text() + QStringLiteral("')")
                                           : QStringLiteral("cdate('1/1/1900')");
    const QString novaSenha = SenhaDigitada(txtSenhaNova->text());

    if (Sessao.NovoUsuario) {
        const QString senha = GuardarSenha(SenhaDigitada(Sessao.Senha));
        Transacao t;
        const qint64 codigo = ExecutarInsercao(
            QStringLiteral("Insert into Usuarios (Login,Nome,Endereco,Cidade,Estado,Cep,Email,FoneRes,FoneCel,Aniversario,Senha) values (") +
            QStringLiteral("'") + SqlTexto(Sessao.Login.trimmed()) + QStringLiteral("',") +
            QStringLiteral("'") + SqlTexto(txtDadosNome->text().trimmed()) + QStringLiteral("',") +
            textoOuNulo(txtDadosEndereco->text()) + QStringLiteral(",") + textoOuNulo(txtDadosCidade->text()) + QStringLiteral(",") +
            textoOuNulo(txtDadosEstado->text()) + QStringLiteral(",") + textoOuNulo(txtDadosCep->text()) + QStringLiteral(",") +
            QStringLiteral("'") + SqlTexto(txtDadosEmail->text().trimmed()) + QStringLiteral("',") +
            textoOuEspaco(txtDadosTelefone->text()) + QStringLiteral(",") + textoOuEspaco(txtDadosCelular->text()) + QStringLiteral(",") +
            nascimento + QStringLiteral(",") +
            (senha.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'") + SqlTexto(senha) + QStringLiteral("'")) +
            QStringLiteral(")"));
        const qint64 chave = ExecutarInsercao(
            QStringLiteral("insert into Configuracao (Usuario,InicioGrade,FinalGrade,Intervalos,PosicaoAniversarios,SomCompromisso,ChecagemGeral,VisualizarCompartilhamento) values (") +
            QString::number(codigo) + QStringLiteral(",'") + inicio + QStringLiteral("','") + fim + QStringLiteral("',") +
            QString::number(intervalo) + QStringLiteral(",'") + posicao + QStringLiteral("'") +
            QStringLiteral(",'") + SqlTexto(som) + QStringLiteral("',") + QString::number(checagem) +
            (compartilhados ? QStringLiteral(",'S'") : QStringLiteral(",'N'")) + QStringLiteral(")"));
        t.Confirmar();
        // The keys the database gave these very rows, not a read-back by login.
        Sessao.Codigo = codigo;
        Sessao.ChaveConfiguracao = chave;
        Sessao.Senha = QString();
        Sessao.SenhaGuardada = senha;
        frmMenu().LogOut->setVisible(true);
        Sessao.NovoUsuario = false;
    } else {
        QString parteSenha;
        QString senhaNaSessao = Sessao.SenhaGuardada;
        if (!novaSenha.isEmpty() && !txtSenhaAtual->isEnabled()) {
            senhaNaSessao = GuardarSenha(novaSenha);
            parteSenha = QStringLiteral(",Senha='") + SqlTexto(senhaNaSessao) + QStringLiteral("'");
        } else if (txtSenhaAtual->isEnabled() && !txtSenhaAtual->text().isEmpty()) {
            if (novaSenha.isEmpty()) {
                parteSenha = QStringLiteral(",Senha=NULL");
                senhaNaSessao = QString();
            } else {
                senhaNaSessao = GuardarSenha(novaSenha);
                parteSenha = QStringLiteral(",Senha='") + SqlTexto(senhaNaSessao) + QStringLiteral("'");
            }
        }
        Transacao t;
        Executar(QStringLiteral("Update Usuarios set ") +
                 QStringLiteral("Nome='") + SqlTexto(txtDadosNome->text().trimmed()) + QStringLiteral("'") +
                 QStringLiteral(",Endereco=") + textoOuNulo(txtDadosEndereco->text()) +
                 QStringLiteral(",Cidade=") + textoOuNulo(txtDadosCidade->text()) +
                 QStringLiteral(",Estado=") + textoOuNulo(txtDadosEstado->text()) +
                 QStringLiteral(",Cep=") + textoOuNulo(txtDadosCep->text()) +
                 QStringLiteral(",Email='") + SqlTexto(txtDadosEmail->text().trimmed()) + QStringLiteral("'") +
                 QStringLiteral(",FoneRes=") + textoOuEspaco(txtDadosTelefone->text()) +
                 QStringLiteral(",FoneCel=") + textoOuEspaco(txtDadosCelular->text()) +
                 QStringLiteral(",Aniversario=") + nascimento + parteSenha +
                 QStringLiteral(" Where Codigo = ") + QString::number(Sessao.Codigo));
        Executar(QStringLiteral("Update Configuracao set ") +
                 QStringLiteral("InicioGrade='") + inicio + QStringLiteral("'") +
                 QStringLiteral(",FinalGrade='") + fim + QStringLiteral("'") +
                 QStringLiteral(",Intervalos=") + QString::number(intervalo) +
                 QStringLiteral(",PosicaoAniversarios='") + posicao + QStringLiteral("'") +
                 QStringLiteral(",SomCompromisso='") + SqlTexto(som) + QStringLiteral("'") +
                 QStringLiteral(",ChecagemGeral=") + QString::number(checagem) +
                 (compartilhados ? QStringLiteral(",VisualizarCompartilhamento='S'") : QStringLiteral(",VisualizarCompartilhamento='N'")) +
                 QStringLiteral(" Where Chave = ") + QString::number(Sessao.ChaveConfiguracao));
        t.Confirmar();
        Sessao.SenhaGuardada = senhaNaSessao;
    }

    Sessao.Nome = txtDadosNome->text().trimmed();
    Sessao.Endereco = txtDadosEndereco->text().trimmed();
    Sessao.Cidade = txtDadosCidade->text().trimmed();
    Sessao.Estado = txtDadosEstado->text().trimmed();
    Sessao.Cep = txtDadosCep->text().trimmed();
    Sessao.Email = txtDadosEmail->text().trimmed();
    Sessao.FoneRes = txtDadosTelefone->text().trimmed().isEmpty() ? QStringLiteral(" ") : txtDadosTelefone->text().trimmed();
    Sessao.FoneCel = txtDadosCelular->text().trimmed().isEmpty() ? QStringLiteral(" ") : txtDadosCelular->text().trimmed();
    Sessao.Aniversario = aniversario.value_or(QDate(1900, 1, 1));
    principal.AtualizarIdentificacao();

    Sessao.InicioGrade = QTime::fromString(inicio, QStringLiteral("HH:mm"));
    Sessao.FinalGrade = QTime::fromString(fim, QStringLiteral("HH:mm"));
    Sessao.ChecagemGeral = checagem;
    Sessao.Intervalos = intervalo;
    Sessao.PosicaoAniversarios = posicao;
    Sessao.SomCompromisso = som;
    Sessao.VisualizarCompartilhamento = compartilhados;
    return true;
}

// The current-password box against the stored hash; the plain password is not kept.
bool PainelConfig::senhaAtualConfere() const
{
    return SenhaConfere(SenhaDigitada(txtSenhaAtual->text()), Sessao.SenhaGuardada);
}

void PainelConfig::frmAgenda_cmdAgendaCancelar_Click()
{
    principal.RetirarFoco();
    PararSom();
    if (Sessao.NovoUsuario) {
        principal.Sair();
        return;
    }
    const QString &p = Sessao.Pastinha;
    if (p.isEmpty() || p == QLatin1String("Inicial") || p == QLatin1String("Configuracao"))
        principal.AbrirPainel(QStringLiteral("Inicial"));
    else
        principal.AbrirPainel(p);
}

void PainelConfig::frmAgenda_cmdAgendaOuvir_Click()
{
    principal.RetirarFoco();
    PararSom();
    if (cmbAgendaSom->currentIndex() != 0)
        TocarSom(cmbAgendaSom->currentText().toUpper(), QStringLiteral("SOM"));
}

void PainelConfig::frmAgenda_cmdExcluirUsuario_Click()
{
    if (txtSenhaAtual->isEnabled() && !senhaAtualConfere()) {
        Mensagem(QStringLiteral("Senha Atual não Confere!"), 1, 3);
        txtSenhaAtual->setFocus();
        return;
    }
    if (!Mensagem(QStringLiteral("Você Confirma Exclusão do Usuário?"), 0, 1)) {
        principal.RetirarFoco();
        return;
    }
    const QString codigo = QString::number(Sessao.Codigo);
    {
        Transacao t;
        for (const char *sql : {"Delete from Notas Where Usuario = ", "Delete from Tarefas Where Usuario = ",
                                "Delete from Financas Where Usuario = ", "Delete from Enderecos Where Usuario = ",
                                "Delete from Compromissos Where Usuario = ", "Delete from Configuracao Where Usuario = ",
                                "Delete from Usuarios Where Codigo = "})
            Executar(QString::fromLatin1(sql) + codigo);
        t.Confirmar();
    }
    principal.Sair();
}
