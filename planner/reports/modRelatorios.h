#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

namespace impressora {
class Impressora;
}
struct LinhaContato;
struct LinhaGrade;
struct LinhaLancamento;
struct LinhaTarefa;

// One print statement of a report: its text (CR LF inside it starts continuation lines) and
// whether it is printed in bold.
struct LinhaRelatorio {
    QString texto;
    bool negrito = false;
    bool operator==(const LinhaRelatorio &) const = default;
};
// The lines of one row of a panel; a page never breaks inside one.
using RegistroRelatorio = QVector<LinhaRelatorio>;

// A whole report: what its pages print, before it meets a printer.
struct Relatorio {
    QString cabecalho;                    // the header line of every page
    QStringList abertura;                 // after the first header only, each followed by 100 twips
    QVector<RegistroRelatorio> registros;
    QStringList fechamento;               // after the last record, each followed by 100 twips
    bool quebraAposUltimo = true;         // the page break is checked after the last record too
};

// Pads with blanks to largura characters: on the left when alinharDireita, else on the right.
// Longer texts come back unchanged.
QString Preencher(const QString &valor, int largura, bool alinharDireita = false);

// A stored text on one line: each line break (CR LF, or a lone CR or LF) one blank.
QString EmUmaLinha(QString texto);

// A description as the reports print it: trimmed, each line break one blank, and cut into pieces of
// largura characters. Up to largura: one piece; up to twice largura (but not largura + 1): two;
// otherwise three, or with ateQuatro four where the text is longer than three pieces or is
// largura + 1 or 2·largura + 1 long.
QStringList CortarDescricao(const QString &descricao, int largura, bool ateQuatro);

// The appointments of a day, from the rows its grid shows; empty slots and continuation rows are
// not printed.
Relatorio RelatorioDoDia(const QString &dataLonga, const QString &usuario, const QVector<LinhaGrade> &linhas);

// The ledger of a month, from the rows its grid shows and the texts of its month list, year
// and balance boxes.
Relatorio RelatorioDoMes(const QString &mes, const QString &ano, const QString &usuario, const QVector<LinhaLancamento> &linhas,
                         QChar separador, const QString &saldoInicial, const QString &saldoAtual);

// The address book: one record of six lines (the name in bold) per contact, in the order given;
// a page breaks only when another record follows.
Relatorio RelatorioDeEnderecos(const QString &usuario, const QVector<LinhaContato> &linhas);

// The task list, from the rows its grid shows.
Relatorio RelatorioDeTarefas(const QString &usuario, const QVector<LinhaTarefa> &linhas);

// The text of a page's footer.
QString Rodape(const QDateTime &agora, int pagina);

// Prints the report page by page: header and rule, body from y 500, a new page past y 14000,
// the footer on every page; then ends the document. False (with the reason) when the printer
// could not print it.
bool ImprimirRelatorio(impressora::Impressora &p, const Relatorio &r, const QDateTime &agora, QString *erro);

// The print picture's work: the report on the default printer, and the user told how it went.
// An empty report starts no print job.
void ImprimirPainel(const Relatorio &r);
