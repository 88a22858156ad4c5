#include "reports/modRelatorios.h"

#include "appointments/modCompromissos.h"
#include "core/modMsgBox.h"
#include "platform/impressora.h"
#include "platform/relogio.h"
#include "platform/toolkit.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The user's name as the header shows it.
QString nomeNoCabecalho(const QString &usuario)
{
    return usuario.left(30);
}

} // namespace

QString Preencher(const QString &valor, int largura, bool alinharDireita)
{
    return alinharDireita ? valor.rightJustified(largura) : valor.leftJustified(largura);
}

QStringList CortarDescricao(const QString &descricao, int largura, bool ateQuatro)
{
    QString d = descricao.trimmed();
    d.replace(CrLf, QStringLiteral(" "));
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
