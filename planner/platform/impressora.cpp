#include "platform/impressora.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace impressora {

void Impressora::Print(const QString &texto)
{
    const QStringList linhas = texto.split(QStringLiteral("\r\n"));
    for (const QString &linha : linhas) {
        imprimirLinha(linha);
        CurrentX = 0;
        CurrentY += alturaDaLinha();
    }
}

void Impressora::Line(int x1, int y1, int x2, int y2)
{
    tracar(x1, y1, x2, y2);
    CurrentX = x2;
    CurrentY = y2;
}

void Impressora::NewPage()
{
    novaPagina();
    CurrentX = CurrentY = 0;
}

namespace {

constexpr double TwipsPorPolegada = 1440.0;

// Courier New where the system has it, else a font with the same character widths.
QString familiaMonoespacada(const QString &pedida)
{
    const QStringList familias = QFontDatabase::families();
    for (const QString &f : {pedida, QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")})
        if (familias.contains(f, Qt::CaseInsensitive))
            return f;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

// The printer of the system (or a PDF file) through Qt's print support. Coordinates are twips
// from the paper's corner, so the page holds the widest report line and the rule.
class ImpressoraQt : public Impressora {
public:
    explicit ImpressoraQt(const QString &pdf) : printer(QPrinter::HighResolution)
    {
        if (!pdf.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        }
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setDocName(QStringLiteral("Velora"));
    }

    bool Iniciar() { return pintor.begin(&printer); }

    bool EndDoc(QString *erro) override
    {
        const bool ok = pintor.end() && printer.printerState() != QPrinter::Error &&
                        printer.printerState() != QPrinter::Aborted &&
                        (printer.outputFileName().isEmpty() || QFileInfo(printer.outputFileName()).size() > 0);
        if (!ok && erro)
            *erro = QStringLiteral("a impressora recusou o documento");
        return ok;
    }

protected:
    void imprimirLinha(const QString &linha) override
    {
        aplicarFonte();
        pintor.drawText(QPointF(px(CurrentX), px(CurrentY) + QFontMetricsF(pintor.font(), &printer).ascent()), linha);
    }
    int alturaDaLinha() override
    {
        aplicarFonte();
        return qRound(QFontMetricsF(pintor.font(), &printer).lineSpacing() * TwipsPorPolegada / printer.resolution());
    }
    void tracar(int x1, int y1, int x2, int y2) override
    {
        pintor.setPen(QPen(Qt::black, printer.resolution() / 144.0));
        pintor.drawLine(QPointF(px(x1), px(y1)), QPointF(px(x2), px(y2)));
    }
    void novaPagina() override { printer.newPage(); }

private:
    double px(int twips) const { return twips * printer.resolution() / TwipsPorPolegada; }
    void aplicarFonte()
    {
        QFont f(familiaMonoespacada(FontName));
        f.setPointSize(FontSize);
        f.setBold(FontBold);
        f.setStyleHint(QFont::Monospace);
        if (f != pintor.font())
            pintor.setFont(f);
    }

    QPrinter printer;
    QPainter pintor;
};

std::unique_ptr<Impressora> abrirDoSistema(QString *erro)
{
    const QString pdf = qEnvironmentVariable("VELORA_PDF");
    if (pdf.isEmpty() && QPrinterInfo::defaultPrinter().isNull()) {
        if (erro)
            *erro = QStringLiteral("nenhuma impressora instalada");
        return nullptr;
    }
    auto impressora = std::make_unique<ImpressoraQt>(pdf);
    if (!impressora->Iniciar()) {
        if (erro)
            *erro = pdf.isEmpty() ? QStringLiteral("a impressora não pôde ser aberta") : QStringLiteral("não foi possível escrever %1").arg(pdf);
        return nullptr;
    }
    return impressora;
}

Fabrica fabrica = abrirDoSistema;

} // namespace

std::unique_ptr<Impressora> Abrir(QString *erro)
{
    return fabrica(erro);
}

void DefinirFabrica(Fabrica f)
{
    fabrica = f ? std::move(f) : Fabrica(abrirDoSistema);
}

} // namespace impressora
