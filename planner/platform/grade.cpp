#include "platform/grade.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>

namespace tk {

namespace {

constexpr int PapelFigura = Qt::UserRole + 1;
constexpr int AlturaPadrao = 240;  // twips, each row
constexpr int PapelAlinhamentoFigura = Qt::UserRole + 2;

bool ehQuebra(QChar c)
{
    // A selection reads its line breaks as paragraph separators.
    return c == u'\n' || c == QChar::ParagraphSeparator;
}

QString quebrasComoLF(QString texto)
{
    return texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

// Paints a cell: background, then its picture where its alignment puts it, then its text.
class PintorDeCelula : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &opcao, const QModelIndex &indice) const override
    {
        QStyleOptionViewItem o = opcao;
        initStyleOption(&o, indice);
        const QPixmap figura = indice.data(PapelFigura).value<QPixmap>();
        if (o.state & QStyle::State_Selected)
            p->fillRect(o.rect, o.palette.highlight());
        else if (o.backgroundBrush.style() != Qt::NoBrush)
            p->fillRect(o.rect, o.backgroundBrush);
        QRect areaDoTexto = o.rect.adjusted(3, 0, -3, 0);
        QString texto = indice.data(Qt::DisplayRole).toString();
        if (!figura.isNull()) {
            const auto alinhamento = Qt::Alignment(indice.data(PapelAlinhamentoFigura).toInt());
            const QRect onde = QStyle::alignedRect(Qt::LeftToRight, alinhamento, figura.size(), o.rect.adjusted(2, 0, -2, 0));
            p->drawPixmap(onde, figura);
            // Text beside a picture at the left keeps clear of it; its padding gives way first.
            if (alinhamento & Qt::AlignLeft) {
                areaDoTexto.setLeft(onde.right() + 2);
                texto = texto.trimmed();
            }
        }
        if (!texto.isEmpty()) {
            p->save();
            QFont f = o.font;
            if (indice.data(Qt::FontRole).isValid())
                f = indice.data(Qt::FontRole).value<QFont>();
            // A text wider than its cell (a time beside a picture) is condensed, not overlapped.
            const int largura = QFontMetrics(f).horizontalAdvance(texto);
            if (largura > areaDoTexto.width() && largura > 0)
                f.setStretch(qMax(60, 100 * areaDoTexto.width() / largura));
            p->setFont(f);
            const QVariant cor = indice.data(Qt::ForegroundRole);
            p->setPen(o.state & QStyle::State_Selected ? o.palette.color(QPalette::HighlightedText)
                      : cor.isValid()                  ? cor.value<QBrush>().color()
                                                       : o.palette.color(QPalette::Text));
            const auto alinhamento = Qt::Alignment(indice.data(Qt::TextAlignmentRole).toInt());
            p->drawText(areaDoTexto, int(alinhamento ? alinhamento : Qt::AlignLeft | Qt::AlignVCenter), texto);
            p->restore();
        }
    }
};

} // namespace

Grade::Grade(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new PintorDeCelula(this));
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWordWrap(false);
    // The style's minimum would round the rows and narrow columns up: lower it first.
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(Px(AlturaPadrao));
    horizontalHeader()->setFixedHeight(Px(AlturaPadrao));
}

void Grade::DefinirRows(int linhas)
{
    setRowCount(qMax(0, linhas - 1));
    linhaAtual = qMin(linhaAtual, Rows() - 1);
    // A grid emptied down to its header starts again from the top.
    if (linhas <= 1)
        verticalScrollBar()->setValue(0);
}

void Grade::DefinirCols(int colunas)
{
    setColumnCount(colunas);
    alinhamentoDaColuna.resize(colunas);
    larguras.resize(colunas);
    colunaAtual = qMin(colunaAtual, qMax(0, colunas - 1));
}

void Grade::DefinirRow(int linha)
{
    linhaAtual = qBound(0, linha, Rows() - 1);
    if (linhaAtual == 0) {
        setCurrentIndex(QModelIndex());
        return;
    }
    // Making a row current (as each added row is) must neither scroll the grid nor have a shown
    // grid lay out all its rows again to repaint that one: the view is told nothing, and repaints.
    {
        const QSignalBlocker semAviso(selectionModel());
        setCurrentCell(linhaAtual - 1, colunaAtual);
    }
    viewport()->update();
}

void Grade::DefinirCol(int coluna)
{
    colunaAtual = qBound(0, coluna, qMax(0, Cols() - 1));
}

QTableWidgetItem *Grade::celula(int linha, int coluna) const
{
    auto *self = const_cast<Grade *>(this);
    if (linha == 0) {
        QTableWidgetItem *i = horizontalHeaderItem(coluna);
        if (!i) {
            i = new QTableWidgetItem;
            self->setHorizontalHeaderItem(coluna, i);
        }
        return i;
    }
    QTableWidgetItem *i = item(linha - 1, coluna);
    if (!i) {
        i = novaCelula(coluna);
        self->setItem(linha - 1, coluna, i);
    }
    return i;
}

QTableWidgetItem *Grade::novaCelula(int coluna) const
{
    auto *i = new QTableWidgetItem;
    if (coluna < alinhamentoDaColuna.size() && alinhamentoDaColuna[coluna])
        i->setTextAlignment(alinhamentoDaColuna[coluna]);
    return i;
}

QString Grade::TextMatrix(int linha, int coluna) const
{
    return celula(linha, coluna)->text();
}

void Grade::DefinirTextMatrix(int linha, int coluna, const QString &texto)
{
    // A new cell takes its text before it joins the grid: one change for the view, not two;
    // an empty text needs no cell at all.
    if (linha > 0 && !item(linha - 1, coluna)) {
        if (texto.isEmpty())
            return;
        QTableWidgetItem *i = novaCelula(coluna);
        i->setText(texto);
        setItem(linha - 1, coluna, i);
        return;
    }
    celula(linha, coluna)->setText(texto);
}

void Grade::EscreverEmBloco(const std::function<void()> &escrever)
{
    const bool bloqueado = model()->blockSignals(true);
    try {
        escrever();
    } catch (...) {
        model()->blockSignals(bloqueado);
        throw;
    }
    model()->blockSignals(bloqueado);
    viewport()->update();
}

QPixmap Grade::CellPicture() const
{
    return celula(linhaAtual, colunaAtual)->data(PapelFigura).value<QPixmap>();
}

void Grade::DefinirCellPicture(const QPixmap &figura, Qt::Alignment alinhamento)
{
    DefinirPictureMatrix(linhaAtual, colunaAtual, figura, alinhamento);
}

void Grade::DefinirPictureMatrix(int linha, int coluna, const QPixmap &figura, Qt::Alignment alinhamento)
{
    QTableWidgetItem *i = celula(linha, coluna);
    i->setData(PapelFigura, figura);
    i->setData(PapelAlinhamentoFigura, int(alinhamento));
}

Qt::Alignment Grade::CellAlignment() const
{
    return Qt::Alignment(celula(linhaAtual, colunaAtual)->textAlignment());
}

void Grade::DefinirCellAlignment(Qt::Alignment alinhamento)
{
    celula(linhaAtual, colunaAtual)->setTextAlignment(alinhamento);
}

bool Grade::CellFontBold() const
{
    return celula(linhaAtual, colunaAtual)->font().bold();
}

void Grade::DefinirCellFontBold(bool negrito)
{
    QTableWidgetItem *i = celula(linhaAtual, colunaAtual);
    QFont f = font();
    f.setBold(negrito);
    i->setFont(f);
}

void Grade::DefinirCellForeColor(const QColor &cor)
{
    celula(linhaAtual, colunaAtual)->setForeground(cor);
}

void Grade::DefinirCellBackColor(const QColor &cor)
{
    celula(linhaAtual, colunaAtual)->setBackground(cor);
}

void Grade::DefinirColAlignment(int coluna, Qt::Alignment alinhamento)
{
    alinhamentoDaColuna[coluna] = alinhamento;
    for (int r = 1; r < Rows(); ++r)
        celula(r, coluna)->setTextAlignment(alinhamento);
}

int Grade::ColWidth(int coluna) const
{
    return larguras.value(coluna);
}

void Grade::DefinirColWidth(int coluna, int twips)
{
    setColumnHidden(coluna, twips == 0);
    setColumnWidth(coluna, Px(twips));
    larguras[coluna] = twips;
}

void Grade::DefinirCabecalho(std::initializer_list<Coluna> colunas)
{
    DefinirRow(0);
    DefinirCol(0);
    DefinirRows(1);
    DefinirCols(1 + int(colunas.size()));
    DefinirColWidth(0, 0);
    int c = 1;
    for (const Coluna &coluna : colunas) {
        DefinirCol(c);
        DefinirColAlignment(c, coluna.alinhamento);
        DefinirText(QString::fromUtf8(coluna.texto));
        DefinirCellAlignment(coluna.alinhamento);
        DefinirCellFontBold(true);
        DefinirColWidth(c, coluna.largura);
        ++c;
    }
    DefinirCol(0);
}

int Grade::RowHeight(int linha) const
{
    return linha == 0 ? Twips(horizontalHeader()->height()) : Twips(rowHeight(linha - 1));
}

void Grade::DefinirRowHeight(int linha, int twips)
{
    if (linha == 0)
        horizontalHeader()->setFixedHeight(Px(twips));
    else
        setRowHeight(linha - 1, Px(twips));
}

void Grade::mousePressEvent(QMouseEvent *e)
{
    const int r = rowAt(int(e->position().y()));
    linhaDoMouse = r < 0 ? 0 : r + 1;
    QTableWidget::mousePressEvent(e);
    if (linhaDoMouse > 0) {
        linhaAtual = linhaDoMouse;
        const int c = columnAt(int(e->position().x()));
        if (c >= 0)
            colunaAtual = c;
    }
    Disparar(Click);
}

void Grade::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableWidget::mouseDoubleClickEvent(e);
    Disparar(DblClick);
}

Calendario::Calendario(QWidget *parent) : QCalendarWidget(parent)
{
    setGridVisible(true);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(this, &QCalendarWidget::clicked, this, [this] { Disparar(DateClick); });
    connect(this, &QCalendarWidget::activated, this, [this] { Disparar(DateClick); });
}

void Calendario::DefinirValue(const QDate &data)
{
    setSelectedDate(data);
    setCurrentPage(data.year(), data.month());
}

CaixaTextoMultilinha::CaixaTextoMultilinha(QWidget *parent, int maximo) : QPlainTextEdit(parent), maximo(maximo)
{
    setTabChangesFocus(true);
}

QString CaixaTextoMultilinha::text() const
{
    return toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

int CaixaTextoMultilinha::comprimento(const QString &texto) const
{
    return int(texto.size() + std::count_if(texto.cbegin(), texto.cend(), ehQuebra));
}

QString CaixaTextoMultilinha::oQueCabe(const QString &texto, int espaco) const
{
    if (maximo <= 0)
        return texto;
    qsizetype n = 0;
    for (int usado = 0; n < texto.size(); ++n) {
        usado += ehQuebra(texto.at(n)) ? 2 : 1;
        if (usado > espaco)
            break;
    }
    return texto.left(n);
}

void CaixaTextoMultilinha::setText(const QString &texto)
{
    setPlainText(oQueCabe(quebrasComoLF(texto), maximo));
}

void CaixaTextoMultilinha::inserirLimitado(const QString &texto)
{
    const int espaco = maximo - comprimento(toPlainText()) + comprimento(textCursor().selectedText());
    const QString cabe = oQueCabe(quebrasComoLF(texto), espaco);
    if (!cabe.isEmpty())
        insertPlainText(cabe);
}

void CaixaTextoMultilinha::keyPressEvent(QKeyEvent *e)
{
    const int codigo = CodigoTecla(*e);
    if (codigo == 0)
        return QPlainTextEdit::keyPressEvent(e);
    int mantida = codigo;
    if (KeyPress)
        Disparar([&] { mantida = KeyPress(codigo); });
    if (mantida == 0)
        return e->accept();
    // Keys that type a character respect the maximum length; the others act as usual.
    if (mantida == codigo && (codigo < 32 && codigo != 13))
        return QPlainTextEdit::keyPressEvent(e);
    inserirLimitado(mantida == 13 ? QStringLiteral("\n") : QString(QChar(char16_t(mantida))));
    e->accept();
}

void CaixaTextoMultilinha::insertFromMimeData(const QMimeData *dados)
{
    if (dados->hasText())
        inserirLimitado(dados->text());
}

} // namespace tk
