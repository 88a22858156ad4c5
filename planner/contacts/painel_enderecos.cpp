#include "contacts/painel_enderecos.h"

#include "appointments/modCompromissos.h"
#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "core/sessao.h"
#include "platform/documentos.h"
#include "resources/recursos.h"

#include <QScopeGuard>
#include <QScrollBar>

namespace {

const QColor cinza(192, 192, 192), amarelo(255, 255, 128), rosa(255, 192, 255);

// Where the list stands; the contact panel covers it, the letter tabs stay in view.
constexpr int TopoDaLista = 48;

tk::CaixaTexto *caixa(QWidget *pai, int maximo, const QRect &onde, std::function<int(int)> teclas = nullptr)
{
    auto *c = new tk::CaixaTexto(pai, maximo);
    c->setGeometry(onde);
    c->KeyPress = std::move(teclas);
    return c;
}

int modoTexto(int tecla) { return FiltrarTecla(tecla, false); }

} // namespace

PainelEnderecos::PainelEnderecos(QWidget *parent, Navegacao &nav) : tk::Moldura(parent), nav(nav)
{
    frmLetras = new tk::Moldura(this);
    frmLetras->setGeometry(0, 0, 390, 44);
    for (int i = 0; i < 26; ++i) {
        auto *letra = new tk::Botao(frmLetras, DaLetra(i).legenda);
        letra->setGeometry((i % 13) * 30, (i / 13) * 22, 29, 21);
        letra->setFocusPolicy(Qt::NoFocus);
        letra->Click = [this, i] { frmAgenda_cmdLetra_Click(i); };
        cmdLetra << letra;
        pintarLetra(i, cinza);
    }

    const QRect lista(0, TopoDaLista, 390, 228);
    grdEndereco = new tk::Grade(this);
    grdEndereco->setGeometry(lista);
    txtEnderecoSemRegistro = new tk::CaixaTexto(this);
    txtEnderecoSemRegistro->setGeometry(lista);
    txtEnderecoSemRegistro->setText(QStringLiteral("Sem Registro para Exibição"));
    txtEnderecoSemRegistro->setAlignment(Qt::AlignCenter);
    txtEnderecoSemRegistro->setEnabled(false);
    txtEnderecoSemRegistro->hide();

    frmPesquisaEndereco = new tk::Moldura(this);
    frmPesquisaEndereco->setGeometry(0, lista.bottom() + 6, 390, 420 - lista.bottom() - 6);
    frmPesquisaEndereco->setFrameShape(QFrame::StyledPanel);
    QWidget *p = frmPesquisaEndereco;
    auto *titulo = new tk::Rotulo(p, QStringLiteral("  Pesquisas"), 2, 1, 200);
    QFont negrito = titulo->font();
    negrito.setBold(true);
    titulo->setFont(negrito);
    new tk::Rotulo(p, QStringLiteral("Nome:"), 8, 22, 62);
    txtPesquisaNome = caixa(p, 75, QRect(72, 22, 310, 21));
    new tk::Rotulo(p, QStringLiteral("Empresa:"), 8, 48, 62);
    txtPesquisaEmpresa = caixa(p, 100, QRect(72, 48, 310, 21));
    new tk::Rotulo(p, QStringLiteral("Telefone:"), 8, 74, 62);
    txtPesquisaTelefone = caixa(p, 15, QRect(72, 74, 110, 21));
    new tk::Rotulo(p, QStringLiteral("Email:"), 190, 74, 44);
    txtPesquisaEmail = caixa(p, 100, QRect(236, 74, 146, 21));
    cmdEnderecoPesquisar = new tk::Botao(p, QStringLiteral("&Pesquisar"));
    cmdEnderecoPesquisar->setGeometry(72, 104, 96, 26);
    cmdEnderecoLimpar = new tk::Botao(p, QStringLiteral("&Limpar"));
    cmdEnderecoLimpar->setGeometry(174, 104, 80, 26);
    cmdEnderecoNovo = new tk::Botao(p, QStringLiteral("&Novo Contato"));
    cmdEnderecoNovo->setGeometry(260, 104, 122, 26);

    // The contact panel, laid over the list and the search.
    frmDadosEndereco = new tk::Moldura(this);
    frmDadosEndereco->setGeometry(0, TopoDaLista, 390, 420 - TopoDaLista);
    frmDadosEndereco->setAutoFillBackground(true);
    QPalette fundo = frmDadosEndereco->palette();
    fundo.setColor(QPalette::Window, QColor(0xfb, 0xf8, 0xf1));
    frmDadosEndereco->setPalette(fundo);
    frmDadosEndereco->setFrameShape(QFrame::StyledPanel);
    frmDadosEndereco->hide();
    QWidget *d = frmDadosEndereco;
    auto *cabecalho = new tk::Rotulo(d, QStringLiteral("DADOS DO CONTATO"), 0, 6, 390);
    cabecalho->setFont(negrito);
    cabecalho->setAlignment(Qt::AlignCenter);
    new tk::Rotulo(d, QStringLiteral("Nome: "), 8, 32, 70);
    txtDadosEndNome = caixa(d, 75, QRect(80, 32, 302, 21), modoTexto);
    new tk::Rotulo(d, QStringLiteral("Empresa: "), 8, 58, 70);
    txtDadosEndEmpresa = caixa(d, 100, QRect(80, 58, 302, 21), modoTexto);
    new tk::Rotulo(d, QStringLiteral("Endereço: "), 8, 84, 70);
    txtDadosEndEndereco = caixa(d, 100, QRect(80, 84, 302, 21), modoTexto);
    new tk::Rotulo(d, QStringLiteral("Cidade: "), 8, 110, 70);
    txtDadosEndCidade = caixa(d, 30, QRect(80, 110, 150, 21), modoTexto);
    new tk::Rotulo(d, QStringLiteral("Uf:"), 236, 110, 24);
    txtDadosEndEstado = caixa(d, 2, QRect(262, 110, 30, 21), modoTexto);
    new tk::Rotulo(d, QStringLiteral("Cep:"), 298, 110, 30);
    txtDadosEndCep = caixa(d, 8, QRect(330, 110, 52, 21), [](int k) { return FiltrarTecla(k, true); });
    new tk::Rotulo(d, QStringLiteral("Email: "), 8, 136, 70);
    txtDadosEndEmail = caixa(d, 100, QRect(80, 136, 266, 21), modoTexto);
    cmdEmailContato = new tk::BotaoFigura(d, recursos::Figura(QStringLiteral("email")), QStringLiteral("Enviar Email"));
    cmdEmailContato->move(352, 133);
    new tk::Rotulo(d, QStringLiteral("Telefone: "), 8, 162, 70);
    txtDadosEndFoneRes = caixa(d, 15, QRect(80, 162, 110, 21), FiltrarTelefone);
    txtDadosEndFoneRes->setToolTip(QStringLiteral("Residencial"));
    new tk::Rotulo(d, QStringLiteral("Telefone: "), 196, 162, 72);
    txtDadosEndFoneCom = caixa(d, 15, QRect(272, 162, 110, 21), FiltrarTelefone);
    txtDadosEndFoneCom->setToolTip(QStringLiteral("Comercial"));
    new tk::Rotulo(d, QStringLiteral("Celular: "), 8, 188, 70);
    txtDadosEndFoneCel = caixa(d, 15, QRect(80, 188, 110, 21), FiltrarTelefone);
    new tk::Rotulo(d, QStringLiteral(" Aniversário: "), 190, 188, 82);
    txtDadosEndAniversario = caixa(d, 5, QRect(272, 188, 50, 21));
    txtDadosEndAniversario->setAlignment(Qt::AlignCenter);
    txtDadosEndAniversario->KeyPress = [this](int k) { return MascaraComSeparador(*txtDadosEndAniversario, k, u'/'); };
    new tk::Rotulo(d, QStringLiteral("Observação :"), 8, 212, 120);
    txtDadosEndObservacao = new tk::CaixaTextoMultilinha(d, 255);
    txtDadosEndObservacao->setGeometry(8, 234, 374, 58);
    txtDadosEndObservacao->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDadosEndObservacao->KeyPress = [](int k) { return k == 13 ? k : FiltrarTecla(k, false); };
    chkEndCompartilhar = new tk::CaixaSelecao(d, QStringLiteral("Compartilhar o Contato"));
    chkEndCompartilhar->setGeometry(80, 296, 302, 22);
    cmdEnderecoSalvar = new tk::Botao(d, QStringLiteral("&Salvar Contato"));
    cmdEnderecoExcluir = new tk::Botao(d, QStringLiteral("&Excluir Contato"));
    cmdEnderecoVoltar = new tk::Botao(d, QStringLiteral("&Voltar"));
    cmdEnderecoSalvar->setGeometry(10, 334, 140, 26);
    cmdEnderecoExcluir->setGeometry(156, 334, 140, 26);
    cmdEnderecoVoltar->setGeometry(302, 334, 78, 26);

    grdEndereco->DblClick = [this] { frmAgenda_grdEndereco_DblClick(); };
    cmdEnderecoPesquisar->Click = [this] { frmAgenda_cmdEnderecoPesquisar_Click(); };
    cmdEnderecoLimpar->Click = [this] { frmAgenda_cmdEnderecoLimpar_Click(); };
    cmdEnderecoNovo->Click = [this] { frmAgenda_cmdEnderecoNovo_Click(); };
    cmdEnderecoSalvar->Click = [this] { frmAgenda_cmdEnderecoSalvar_Click(); };
    cmdEnderecoExcluir->Click = [this] { frmAgenda_cmdEnderecoExcluir_Click(); };
    cmdEnderecoVoltar->Click = [this] { frmAgenda_cmdEnderecoVoltar_Click(); };
    cmdEmailContato->Click = [this] { frmAgenda_cmdEmailContato_Click(); };
}

QVector<std::pair<QString Contato::*, tk::CaixaTexto *>> PainelEnderecos::caixasDoContato() const
{
    return {{&Contato::nome, txtDadosEndNome},       {&Contato::empresa, txtDadosEndEmpresa},
            {&Contato::endereco, txtDadosEndEndereco}, {&Contato::cidade, txtDadosEndCidade},
            {&Contato::estado, txtDadosEndEstado},   {&Contato::cep, txtDadosEndCep},
            {&Contato::email, txtDadosEndEmail},     {&Contato::foneRes, txtDadosEndFoneRes},
            {&Contato::foneCel, txtDadosEndFoneCel}, {&Contato::foneCom, txtDadosEndFoneCom},
            {&Contato::aniversario, txtDadosEndAniversario}};
}

void PainelEnderecos::habilitarContato(bool habilitado)
{
    for (const auto &[campo, caixa] : caixasDoContato())
        caixa->setEnabled(habilitado);
    txtDadosEndObservacao->setEnabled(habilitado);
    chkEndCompartilhar->setEnabled(habilitado);
}

void PainelEnderecos::esvaziarContato()
{
    for (const auto &[campo, caixa] : caixasDoContato())
        caixa->clear();
    txtDadosEndObservacao->clear();
    chkEndCompartilhar->setChecked(false);
}

void PainelEnderecos::pintarLetra(int indice, const QColor &cor)
{
    cmdLetra[indice]->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #808080; border-radius: 3px")
                                        .arg(cor.name()));
}

void PainelEnderecos::CarregarContatos(bool preencher, const QString &filtro)
{
    tk::Grade &g = *grdEndereco;
    g.setUpdatesEnabled(false);
    // A failed read still leaves a grid that paints.
    const auto religar = qScopeGuard([&g] { g.setUpdatesEnabled(true); });
    g.DefinirCabecalho({
        {"  Nome", Qt::AlignLeft | Qt::AlignVCenter, 4000},
        {"Telefone", Qt::AlignCenter, 1300},
        {"  Empresa", Qt::AlignLeft | Qt::AlignVCenter, 5000},
        {"Aniv", Qt::AlignCenter, 600},
    });
    linhas.clear();
    if (preencher) {
        const QVector<LinhaContato> novas = LinhasContatos(filtro);
        const bool vazio = novas.isEmpty();
        // Room for every row at once, then the cells in one go: thousands of rows load in a
        // few milliseconds instead of growing the grid row by row.
        g.DefinirRows(1 + int(novas.size()));
        g.EscreverEmBloco([&] {
            for (const LinhaContato &l : novas)
                AdicionarLinhaContato(l);
        });
        const auto barras = vazio ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
        g.setHorizontalScrollBarPolicy(barras);
        g.setVerticalScrollBarPolicy(barras);
        g.setEnabled(!vazio);
        txtEnderecoSemRegistro->setVisible(vazio);
        txtEnderecoSemRegistro->setEnabled(false);
        g.horizontalScrollBar()->setValue(0);
    }
    g.DefinirCol(0);
    g.DefinirRow(0);
}

void PainelEnderecos::AdicionarLinhaContato(const LinhaContato &linha)
{
    tk::Grade &g = *grdEndereco;
    const int r = int(linhas.size()) + 1;
    if (r >= g.Rows())
        g.DefinirRows(r + 1);
    const Contato &c = linha.contato;
    // The row's record stays in linhas, so the hidden column stays empty.
    if (linha.DeOutroUsuario())
        g.DefinirPictureMatrix(r, 1, Figuras().imgCompartilhado, Qt::AlignLeft | Qt::AlignVCenter);
    g.DefinirTextMatrix(r, 1, QStringLiteral("    ") + linha.NomeExibido());
    g.DefinirTextMatrix(r, 2, linha.Telefone());
    g.DefinirTextMatrix(r, 3, QStringLiteral("  ") + c.empresa);
    g.DefinirTextMatrix(r, 4, c.aniversario);
    linhas << linha;
}

void PainelEnderecos::frmAgenda_cmdLetra_Click(int Index)
{
    pintarLetra(Sessao.LetraAtual, rosa);
    frmDadosEndereco->hide();
    tk::EsperaNaTela espera;
    pintarLetra(Index, amarelo);
    Sessao.LetraAtual = Index;
    Sessao.FiltroContatos = DaLetra(Index).condicao;
    nav.MostrarImpressora(true);
    nav.RetirarFoco();
    CarregarContatos(true, Sessao.FiltroContatos);
}

void PainelEnderecos::frmAgenda_cmdEnderecoPesquisar_Click()
{
    nav.RetirarFoco();
    // No tab stays highlighted; LetraAtual keeps its value.
    pintarLetra(Sessao.LetraAtual, rosa);
    Sessao.FiltroContatos = CondicaoDaPesquisa(txtPesquisaNome->text(), txtPesquisaEmpresa->text(),
                                               txtPesquisaTelefone->text(), txtPesquisaEmail->text());
    tk::EsperaNaTela espera;
    CarregarContatos(true, Sessao.FiltroContatos);
}

void PainelEnderecos::frmAgenda_cmdEnderecoLimpar_Click()
{
    nav.RetirarFoco();
    for (tk::CaixaTexto *c : {txtPesquisaNome, txtPesquisaEmpresa, txtPesquisaTelefone, txtPesquisaEmail})
        c->clear();
    txtPesquisaNome->setFocus();
}

void PainelEnderecos::frmAgenda_grdEndereco_DblClick()
{
    if (grdEndereco->MouseRow() > 0)
        AbrirLinha(grdEndereco->MouseRow());
}

void PainelEnderecos::AbrirLinha(int linha)
{
    if (linha < 1 || linha > linhas.size())
        return;
    const LinhaContato &l = linhas.at(linha - 1);
    const Contato &c = l.contato;
    aberto = c;
    grdEndereco->DefinirRow(linha);
    nav.MostrarImpressora(false);
    Sessao.ChaveContato = c.chave;
    chkEndCompartilhar->setChecked(c.compartilhado == QLatin1String("S"));
    Sessao.ChaveAniversarioContato = c.chaveAniversario;
    for (const auto &[campo, caixa] : caixasDoContato())
        caixa->setText((c.*campo).trimmed());
    // Another user's contact shows its owner with the name.
    txtDadosEndNome->setText(l.NomeExibido().trimmed());
    txtDadosEndObservacao->setText(c.observacao.trimmed());

    const bool somenteLeitura = l.DeOutroUsuario();
    habilitarContato(!somenteLeitura);
    cmdEnderecoExcluir->setVisible(!somenteLeitura);
    cmdEnderecoSalvar->setVisible(!somenteLeitura);
    frmDadosEndereco->raise();
    frmDadosEndereco->show();
    if (!somenteLeitura)
        txtDadosEndNome->setFocus();
}

void PainelEnderecos::frmAgenda_cmdEmailContato_Click()
{
    nav.RetirarFoco();
    const QString email = txtDadosEndEmail->text().trimmed();
    if (email.isEmpty())
        return;
    if (!documentos::Abrir(QUrl(QStringLiteral("mailto:") + email)))
        Mensagem(QStringLiteral("Não foi possível abrir o programa de Email!"), 1, 3);
}

void PainelEnderecos::frmAgenda_cmdEnderecoNovo_Click()
{
    nav.RetirarFoco();
    nav.MostrarImpressora(false);
    tk::EsperaNaTela espera;
    Sessao.ChaveContato = 0;
    Sessao.ChaveAniversarioContato = 0;
    esvaziarContato();
    habilitarContato(true);
    cmdEnderecoExcluir->hide();
    cmdEnderecoSalvar->show();
    frmDadosEndereco->raise();
    frmDadosEndereco->show();
    txtDadosEndNome->setFocus();
}

void PainelEnderecos::frmAgenda_cmdEnderecoSalvar_Click()
{
    nav.RetirarFoco();
    if (txtDadosEndNome->text().trimmed().isEmpty()) {
        Mensagem(QStringLiteral("Informe o Nome do Contato!"), 1, 3);
        txtDadosEndNome->setFocus();
        return;
    }
    txtDadosEndNome->setText(NomeDoContato(txtDadosEndNome->text()));
    // What the day/month mask leaves of an erased birthday ("/", blanks) is no birthday.
    if (QString(txtDadosEndAniversario->text()).remove(u'/').trimmed().isEmpty())
        txtDadosEndAniversario->clear();
    if (!txtDadosEndAniversario->text().isEmpty()) {
        const auto aniversario = LerAniversario(txtDadosEndAniversario->text());
        if (!aniversario) {
            Mensagem(QStringLiteral("Informe o Aniversário em DD/MM!"), 1, 2);
            txtDadosEndAniversario->setFocus();
            return;
        }
        txtDadosEndAniversario->setText(*aniversario);
    }

    Contato c;
    c.chave = Sessao.ChaveContato;
    for (const auto &[campo, caixa] : caixasDoContato())
        c.*campo = caixa->text();
    c.observacao = txtDadosEndObservacao->text();
    c.compartilhado = chkEndCompartilhar->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    c.chaveAniversario = Sessao.ChaveAniversarioContato;
    Gravacao gravacao = Gravacao::Gravada;
    {
        tk::EsperaNaTela espera;
        // A failure ends the handler here: the file is as it was and the panel keeps what was typed.
        if (c.chave == 0)
            GravarContato(c);
        else
            gravacao = AlterarContato(c, aberto);
        nav.MostrarImpressora(true);
        CarregarContatos(true, Sessao.FiltroContatos);
    }
    frmDadosEndereco->hide();
    if (gravacao == Gravacao::Excluida)
        Mensagem(QStringLiteral("Esse Contato não Existe Mais, foi Excluído!"), 1, 2);
    else if (gravacao == Gravacao::Alterada)
        Mensagem(QStringLiteral("Esse Contato foi Alterado depois de Aberto, nada foi Gravado! Abra-o Novamente."), 1, 2);
}

void PainelEnderecos::frmAgenda_cmdEnderecoExcluir_Click()
{
    nav.RetirarFoco();
    if (!Mensagem(QStringLiteral("Você Confirma Exclusão desse Contato?"), 0, 1)) {
        nav.RetirarFoco();
        return;
    }
    {
        tk::EsperaNaTela espera;
        ExcluirContato(Sessao.ChaveContato, Sessao.ChaveAniversarioContato);
        nav.MostrarImpressora(true);
        CarregarContatos(true, Sessao.FiltroContatos);
    }
    frmDadosEndereco->hide();
}

void PainelEnderecos::frmAgenda_cmdEnderecoVoltar_Click()
{
    nav.MostrarImpressora(true);
    frmDadosEndereco->hide();
    nav.RetirarFoco();
}

void PainelEnderecos::Limpar()
{
    CarregarContatos(false, QString());
    grdEndereco->setEnabled(true);
    txtEnderecoSemRegistro->hide();
    for (int i = 0; i < cmdLetra.size(); ++i)
        pintarLetra(i, cinza);
    frmDadosEndereco->hide();
    for (tk::CaixaTexto *c : {txtPesquisaNome, txtPesquisaEmpresa, txtPesquisaTelefone, txtPesquisaEmail})
        c->clear();
    esvaziarContato();
}
