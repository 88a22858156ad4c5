#pragma once

#include <QString>

#include <functional>
#include <memory>

// The printer object the reports draw on: a font, a current position in twips from the page's
// top-left corner, lines of text placed by their top, ruled lines, pages.
namespace impressora {

class Impressora {
public:
    virtual ~Impressora() = default;

    QString FontName = QStringLiteral("Courier New");
    int FontSize = 9;  // points
    bool FontBold = false;
    int CurrentX = 0, CurrentY = 0;

    // Prints the text with its top at (CurrentX, CurrentY); each CR LF starts a new line at
    // x 0, and after the last line CurrentX is 0 and CurrentY one line further down.
    void Print(const QString &texto);
    // Draws a line; the current position moves to its end.
    void Line(int x1, int y1, int x2, int y2);
    void NewPage();
    // Sends the document; false (with the reason) when it could not be printed.
    virtual bool EndDoc(QString *erro) = 0;

protected:
    // One line of text at the current position, and the height the position moves by.
    virtual void imprimirLinha(const QString &linha) = 0;
    virtual int alturaDaLinha() = 0;
    virtual void tracar(int x1, int y1, int x2, int y2) = 0;
    virtual void novaPagina() = 0;
};

// The default printer, or a PDF file when VELORA_PDF names one; null, with the reason, when
// there is no printer to print on.
std::unique_ptr<Impressora> Abrir(QString *erro);

// Tests: where Abrir gets its printer from.
using Fabrica = std::function<std::unique_ptr<Impressora>(QString *erro)>;
void DefinirFabrica(Fabrica fabrica);

} // namespace impressora
