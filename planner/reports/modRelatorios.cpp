#include "reports/modRelatorios.h"

#include "appointments/modCompromissos.h"
#include "contacts/modEndereco.h"
#include "core/modEntrada.h"
#include "core/modMsgBox.h"
#include "finances/modFinancas.h"
#include "platform/impressora.h"
#include "platform/relogio.h"
#include "platform/toolkit.h"
#include "tasks/modTarefas.h"

#include <QRegularExpression>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The user's name as the header shows it.
QString nomeNoCabecalho(const QString &usuario)
{
    return usuario.left(30);
}

// A description in a column of its own: every piece but the last is whole and followed by the
// column's closing " | " and a continuation line indented by recuo blanks; the last is padded.
QString colunaDaDescricao(const QString &descricao, int largura, int recuo)
{
    const QStringList pedacos = CortarDescricao(descricao, largura, true);
    QString texto;
    for (qsizetype i = 0; i + 1 < pedacos.size(); ++i)
        texto += pedacos.at(i) + QStringLiteral(" | ") + CrLf + QString(recuo, u' ') + QStringLiteral("| ");
    return texto + Preencher(pedacos.last(), largura) + QStringLiteral(" | ");
}

} // namespace

QString Preencher(const QString &valor, int largura, bool alinharDireita)
{
    return alinharDireita ? valor.rightJustified(largura) : valor.leftJustified(largura);
}

QString EmUmaLinha(QString texto)
{
    // Whichever form an older row stored its breaks in.
    static const QRegularExpression quebra(QStringLiteral("\r\n|\r|\n"));
    return texto.replace(quebra, QStringLiteral(" "));
}

QStringList CortarDescricao(const QString &descricao, int largura, bool ateQuatro)
{
    const QString d = EmUmaLinha(descricao.trimmed());
    const qsizetype n = d.size(), w = largura;
    if (n <= w)
        return {d};
    if (n >= w + 2 && n <= 2 * w)
        return {d.left(w), d.mid(w)};
    if (ateQuatro && (n > 3 * w || n <= 2 * w + 1))
        return {d.left(w), d.mid(w, w), d.mid(2 * w, w), d.mid(3 * w)};
    return {d.left(w), d.mid(w, w), d.mid(2 * w)};
}

Relatorio RelatorioDoDia(const QString &dataLonga, const QString &usuario, const QVector<LinhaGrade> &linhas)
{
    Relatorio r;
    r.cabecalho = QStringLiteral(" Compromissos do Dia : ") + dataLonga + QStringLiteral(" da Agenda do ") + nomeNoCabecalho(usuario);
    for (const LinhaGrade &l : linhas) {
        if (l.chave == 0 || l.chavePai != QLatin1String("0"))
            continue;
        QString texto = QStringLiteral("  ") + (l.hora.isEmpty() ? QString(5, u' ') : l.hora) +
                        (l.horaFim.isEmpty() ? QString(8, u' ') : QStringLiteral(" - ") + l.horaFim) + QStringLiteral(" | ") +
                        CortarDescricao(l.texto, 88, false).join(CrLf + QString(16, u' ') + QStringLiteral("| "));
        r.registros.push_back({{texto}, {QStringLiteral(" ")}});
    }
    return r;
}

Relatorio RelatorioDoMes(const QString &mes, const QString &ano, const QString &usuario, const QVector<LinhaLancamento> &linhas,
                         QChar separador, const QString &saldoInicial, const QString &saldoAtual)
{
    Relatorio r;
    r.cabecalho = QStringLiteral(" Financas do Mês de ") + mes.trimmed() + QStringLiteral("/") + ano + QStringLiteral(" da Agenda do ") +
                  nomeNoCabecalho(usuario);
    r.abertura = {QString(75, u' ') + QStringLiteral("Saldo Inicial : ") + Preencher(saldoInicial, 15, true)};
    for (const LinhaLancamento &l : linhas) {
        // The amount columns show only amounts above zero, as the grid does.
        const QString recebido = l.recebido > 0 ? FormatarValor(l.recebido, separador) : QString();
        const QString pago = l.pago > 0 ? FormatarValor(l.pago, separador) : QString();
        const QString valor = !recebido.isEmpty() ? Preencher(recebido, 11, true) + QStringLiteral("+")
                                                  : QString(13, u' ') + Preencher(pago, 11, true) + QStringLiteral("-");
        const QString texto = QStringLiteral("  ") + TextoDaData(l.data) +
                              (l.efetuado ? QStringLiteral("X") : QStringLiteral(" ")) + QStringLiteral("| ") +
                              colunaDaDescricao(l.descricao, 63, 13) + valor;
        r.registros.push_back({{texto}, {QStringLiteral(" ")}});
    }
    r.fechamento = {QString(75, u' ') + QStringLiteral("  Saldo Atual : ") + Preencher(saldoAtual, 15, true)};
    return r;
}

Relatorio RelatorioDeEnderecos(const QString &usuario, const QVector<LinhaContato> &linhas)
{
    Relatorio r;
    r.cabecalho = QStringLiteral(" Endereços da Agenda do ") + nomeNoCabecalho(usuario);
    r.quebraAposUltimo = false;
    const QString recuo(4, u' '), traco = QStringLiteral(" - ");
    for (const LinhaContato &l : linhas) {
        const Contato &c = l.contato;
        RegistroRelatorio registro = {
            {recuo + Preencher(c.nome, 75) + traco + c.aniversario, true},
            {recuo + Preencher(c.endereco, 100)},
            {recuo + Preencher(c.cidade, 30) + traco + Preencher(c.estado, 2) + traco + Preencher(c.cep, 8) + traco +
             Preencher(c.foneRes, 15) + traco + Preencher(c.foneCel, 15) + traco + Preencher(c.foneCom, 15)},
            {recuo + Preencher(c.empresa, 100)},
            {recuo + Preencher(c.email, 100)},
        };
        // The note: one padded line up to 100 characters, else lines of 100 with the rest of
        // what passes 200 on the third.
        const QString nota = EmUmaLinha(c.observacao);
        if (nota.size() <= 100) {
            registro.push_back({recuo + Preencher(nota, 100)});
        } else if (nota.size() <= 200) {
            registro += {{recuo + nota.left(100)}, {recuo + nota.mid(100)}};
        } else {
            registro += {{recuo + nota.left(100)}, {recuo + nota.mid(100, 100)}, {recuo + nota.mid(200)}};
        }
        registro.push_back({QString(5, u' ')});
        r.registros.push_back(registro);
    }
    return r;
}

Relatorio RelatorioDeTarefas(const QString &usuario, const QVector<LinhaTarefa> &linhas)
{
    Relatorio r;
    r.cabecalho = QStringLiteral(" Tarefas da Agenda do ") + nomeNoCabecalho(usuario);
    for (const LinhaTarefa &t : linhas) {
        // Seven characters for each priority; a code outside 0..2 reads as Baixa, as in the grid.
        const QString prioridade = t.prioridade == 0 ? QStringLiteral("  Alta ")
                                   : t.prioridade == 1 ? QStringLiteral(" Normal")
                                                       : QStringLiteral("  Baixa");
        const QString texto = QStringLiteral("  ") + TextoDaData(t.data) + prioridade + QStringLiteral(" | ") +
                              colunaDaDescricao(t.descricao, 68, 20) + QStringLiteral(" ") + TextoDaData(t.dataFim) +
                              (t.status == QLatin1String("1") ? QStringLiteral(" X") : QString());
        r.registros.push_back({{texto}, {QStringLiteral(" ")}});
    }
    return r;
}

QString Rodape(const QDateTime &agora, int pagina)
{
    return QStringLiteral(" ") + agora.toString(QStringLiteral("dd/MM/yyyy HH:mm")) + QString(50, u' ') +
           QStringLiteral("Página : ") + QString::number(pagina).rightJustified(2, u'0');
}

bool ImprimirRelatorio(impressora::Impressora &p, const Relatorio &r, const QDateTime &agora, QString *erro)
{
    p.FontName = QStringLiteral("Courier New");
    p.FontSize = 9;
    p.FontBold = false;
    int pagina = 1;
    const auto cabecalho = [&] {
        p.CurrentX = 100;
        p.CurrentY = 100;
        p.Print(r.cabecalho);
        p.Line(100, 400, 11200, 400);
        p.CurrentX = 0;
        p.CurrentY = 500;
    };
    const auto rodape = [&] {
        p.FontBold = false;
        p.Line(100, p.CurrentY, 11200, p.CurrentY);
        p.CurrentX = 100;
        p.CurrentY += 100;
        p.Print(Rodape(agora, pagina));
    };
    const auto linhasAvulsas = [&](const QStringList &linhas) {
        for (const QString &l : linhas) {
            p.Print(l);
            p.CurrentY += 100;
        }
    };

    cabecalho();
    linhasAvulsas(r.abertura);
    for (qsizetype i = 0; i < r.registros.size(); ++i) {
        for (const LinhaRelatorio &l : r.registros.at(i)) {
            p.FontBold = l.negrito;
            p.Print(l.texto);
        }
        p.FontBold = false;
        if (p.CurrentY > 14000 && (r.quebraAposUltimo || i + 1 < r.registros.size())) {
            rodape();
            p.NewPage();
            ++pagina;
            cabecalho();
        }
    }
    linhasAvulsas(r.fechamento);
    rodape();
    return p.EndDoc(erro);
}

void ImprimirPainel(const Relatorio &r)
{
    if (r.registros.isEmpty()) {
        Mensagem(QStringLiteral("Não Há Nada para Imprimir!"), 1, 2);
        return;
    }
    QString erro;
    bool impresso = false;
    {
        tk::EsperaNaTela espera;
        if (std::unique_ptr<impressora::Impressora> p = impressora::Abrir(&erro))
            impresso = ImprimirRelatorio(*p, r, relogio::Agora(), &erro);
    }
    if (impresso)
        Mensagem(QStringLiteral("Documento Impresso com Sucesso"), 1, 0);
    else
        Mensagem(QStringLiteral("Não Foi Possível Imprimir: ") + erro + QStringLiteral("!"), 1, 3);
}
