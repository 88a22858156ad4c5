#pragma once

// The toolkit's flex grid and small calendar.

#include "platform/toolkit.h"

#include <QCalendarWidget>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace tk {

// A grid of text cells with a fixed header row (row 0): per-cell text, picture (compared by
// identity), alignment, bold, colours; column widths and row heights in twips.
class Grade : public QTableWidget {
public:
    explicit Grade(QWidget *parent);

    int Rows() const { return rowCount() + 1; }
    void DefinirRows(int linhas);  // at least 1: the header row
    int Cols() const { return columnCount(); }
    void DefinirCols(int colunas);

    // The current cell, which the cell operations below address.
    int Row() const { return linhaAtual; }
    int Col() const { return colunaAtual; }
    void DefinirRow(int linha);
    void DefinirCol(int coluna);

    QString TextMatrix(int linha, int coluna) const;
    void DefinirTextMatrix(int linha, int coluna, const QString &texto);
    QString Text() const { return TextMatrix(linhaAtual, colunaAtual); }
    void DefinirText(const QString &texto) { DefinirTextMatrix(linhaAtual, colunaAtual, texto); }

    QPixmap CellPicture() const;
    void DefinirCellPicture(const QPixmap &figura, Qt::Alignment alinhamento = Qt::AlignCenter);
    // The picture of any cell, the current one left where it is.
    void DefinirPictureMatrix(int linha, int coluna, const QPixmap &figura, Qt::Alignment alinhamento = Qt::AlignCenter);
    // Writes many cells of the rows already there at once: the view repaints once at the end
    // instead of hearing of every cell. The number of rows and columns must not change inside.
    void EscreverEmBloco(const std::function<void()> &escrever);
    Qt::Alignment CellAlignment() const;
    void DefinirCellAlignment(Qt::Alignment alinhamento);
    bool CellFontBold() const;
    void DefinirCellFontBold(bool negrito);
    void DefinirCellForeColor(const QColor &cor);
    void DefinirCellBackColor(const QColor &cor);

    void DefinirColAlignment(int coluna, Qt::Alignment alinhamento);
    int ColWidth(int coluna) const;
    void DefinirColWidth(int coluna, int twips);
    int RowHeight(int linha) const;
    void DefinirRowHeight(int linha, int twips);

    // One column of the header row: text (written in bold), alignment of the whole column, width.
    struct Coluna {
        const char *texto;  // UTF-8
        Qt::Alignment alinhamento;
        int largura;        // twips
    };
    // Empties the grid down to its header row: a hidden column 0 (the rows' keys), then the
    // columns given. Current cell (0, 0).
    void DefinirCabecalho(std::initializer_list<Coluna> colunas);

    // The data row under the last mouse press (0 for the header).
    int MouseRow() const { return linhaDoMouse; }
    Evento DblClick;
    Evento Click;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    QTableWidgetItem *celula(int linha, int coluna) const;  // created on demand
    QTableWidgetItem *novaCelula(int coluna) const;         // with its column's alignment
    int linhaAtual = 0, colunaAtual = 0, linhaDoMouse = 0;
    QVector<Qt::Alignment> alinhamentoDaColuna;
    QVector<int> larguras;  // twips, as set
};

// The small month calendar: a value, and a day-picked event.
class Calendario : public QCalendarWidget {
public:
    explicit Calendario(QWidget *parent);
    QDate Value() const { return selectedDate(); }
    void DefinirValue(const QDate &data);
    Evento DateClick;
};

// Multi-line text box with a maximum length (0: none) and the same key-press filter as
// CaixaTexto. Its text is what the planner stores: every line break a CR LF, whatever was pasted,
// typed or given, and each counts two towards the maximum.
class CaixaTextoMultilinha : public QPlainTextEdit {
public:
    CaixaTextoMultilinha(QWidget *parent, int maximo);
    QString text() const;
    void setText(const QString &texto);
    std::function<int(int)> KeyPress;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void insertFromMimeData(const QMimeData *dados) override;

private:
    int maximo;
    int comprimento(const QString &texto) const;
    // The longest start of texto that fits in espaco.
    QString oQueCabe(const QString &texto, int espaco) const;
    void inserirLimitado(const QString &texto);
};

} // namespace tk
