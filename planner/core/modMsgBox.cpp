#include "core/modMsgBox.h"

#include "platform/modal.h"
#include "resources/recursos.h"

#include <QFontMetrics>
#include <QWindow>

FrmMsgBox::FrmMsgBox() : tk::Formulario(QStringLiteral("Mensagem do Velora"))
{
    DefinirFace(recursos::Figura(QStringLiteral("msgbox")));
    AplicarRegiao(*this, RegiaoDaImagem(Face().toImage()));

    lblMsg = new tk::Rotulo(this, QString());
    QFont f(QStringLiteral("Arial"), 9);
    f.setBold(true);
    lblMsg->setFont(f);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tk::Posicionar(*lblMsg, 855, 585, 3705, 225);

    const QPixmap icones[] = {recursos::Figura(QStringLiteral("pergunta")),
                              recursos::Figura(QStringLiteral("informacao")),
                              recursos::Figura(QStringLiteral("grave"))};
    imgPergunta = new tk::Imagem(this, icones[0]);
    imgInformacao = new tk::Imagem(this, icones[1]);
    imgGrave = new tk::Imagem(this, icones[2]);
    for (tk::Imagem *i : {imgPergunta, imgInformacao, imgGrave})
        tk::Posicionar(*i, 300, 450, 480, 480);

    cmdMOkay = new tk::Botao(this, QStringLiteral("&Okay"));
    cmdMCancelar = new tk::Botao(this, QStringLiteral("C&ancelar"));
    cmdMConfirmar = new tk::Botao(this, QStringLiteral("&Confirmar"));
    tk::Posicionar(*cmdMOkay, 1920, 1305, 975, 345);
    tk::Posicionar(*cmdMCancelar, 855, 1305, 1065, 345);
    tk::Posicionar(*cmdMConfirmar, 2880, 1305, 1065, 345);

    Activate = [this] { frmMsgBox_Form_Activate(); };
    QueryUnload = [this] { frmMsgBox_Form_Unload(); };
    cmdMOkay->Click = [this] { frmMsgBox_cmdMOkay_Click(); };
    cmdMConfirmar->Click = [this] { frmMsgBox_cmdMConfirmar_Click(); };
    cmdMCancelar->Click = [this] { frmMsgBox_cmdMCancelar_Click(); };
}

void FrmMsgBox::AjustarAlturaDaMensagem()
{
    const QFontMetrics fm(lblMsg->font());
    const QRect caixa = fm.boundingRect(QRect(0, 0, lblMsg->width(), 100000), Qt::TextWordWrap,
                                        lblMsg->text());
    const int linhas = lblMsg->text().isEmpty() ? 1 : qMax(1, (caixa.height() + fm.lineSpacing() / 2) / fm.lineSpacing());
    tk::DefinirHeight(*lblMsg, 225 * linhas);
}

void FrmMsgBox::frmMsgBox_Form_Activate()
{
    tk::Bipe();
    switch (tk::Height(*lblMsg)) {
    case 225: tk::DefinirTop(*lblMsg, 585); break;
    case 450: tk::DefinirTop(*lblMsg, 470); break;
    case 675: tk::DefinirTop(*lblMsg, 360); break;
    case 900: tk::DefinirTop(*lblMsg, 280); break;
    default:
        // Longer texts start at the top of the face and stop short of the buttons.
        if (tk::Height(*lblMsg) > 900) {
            tk::DefinirTop(*lblMsg, 240);
            tk::DefinirHeight(*lblMsg, qMin(tk::Height(*lblMsg), 1305 - 240 - 30));
        }
        break;
    }
    ManterNoTopo(*this, true);
    activateWindow();
    (cmdMOkay->isVisible() ? cmdMOkay : cmdMConfirmar)->setFocus();
}

void FrmMsgBox::frmMsgBox_cmdMOkay_Click()
{
    lblMsg->clear();
    resposta = true;
    frmMsgBox_Form_Unload();
}

void FrmMsgBox::frmMsgBox_cmdMConfirmar_Click()
{
    lblMsg->clear();
    resposta = true;
    frmMsgBox_Form_Unload();
}

void FrmMsgBox::frmMsgBox_cmdMCancelar_Click()
{
    lblMsg->clear();
    resposta = false;
    frmMsgBox_Form_Unload();
}

void FrmMsgBox::frmMsgBox_Form_Unload()
{
    lblMsg->clear();
    ManterNoTopo(*this, false);
    hide();
}

FrmMsgBox &frmMsgBox()
{
    static FrmMsgBox *form = new FrmMsgBox;
    return *form;
}

bool Mensagem(const QString &texto, int botoes, int icone)
{
    FrmMsgBox &f = frmMsgBox();
    f.resposta = false;
    f.lblMsg->setText(texto);
    f.imgPergunta->hide();
    f.imgInformacao->hide();
    f.imgGrave->hide();
    if (icone != 0) {
        tk::DefinirLeft(*f.lblMsg, 855);
        tk::DefinirWidth(*f.lblMsg, 3705);
        if (icone == 1)
            f.imgPergunta->show();
        else if (icone == 2)
            f.imgInformacao->show();
        else if (icone == 3)
            f.imgGrave->show();
    } else {
        tk::DefinirLeft(*f.lblMsg, 270);
        tk::DefinirWidth(*f.lblMsg, 4290);
    }
    f.AjustarAlturaDaMensagem();
    const bool soOkay = botoes == 1;
    f.cmdMOkay->setVisible(soOkay);
    f.cmdMConfirmar->setVisible(!soOkay);
    f.cmdMCancelar->setVisible(!soOkay);
    modal::Exibir(f);
    return f.resposta;
}

void ManterNoTopo(QWidget &form, bool ligado)
{
    // The widget's own flags follow without recreating the window, so it is not re-shown.
    form.overrideWindowFlags(ligado ? form.windowFlags() | Qt::WindowStaysOnTopHint
                                    : form.windowFlags() & ~Qt::WindowStaysOnTopHint);
    if (QWindow *janela = form.windowHandle())
        janela->setFlag(Qt::WindowStaysOnTopHint, ligado);
    if (ligado)
        form.raise();
}

QRegion RegiaoDaImagem(const QImage &figura)
{
    if (figura.isNull())
        return {};
    const QImage img = figura.convertToFormat(QImage::Format_RGB32);
    const QRgb transparente = img.pixel(0, 0);
    QList<QRect> retangulos;
    for (int y = 0; y < img.height(); ++y) {
        const auto *linha = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        int inicio = -1;
        for (int x = 0; x < img.width(); ++x) {
            const bool visivel = linha[x] != transparente;
            if (visivel && inicio < 0) {
                inicio = x;
            } else if (!visivel && inicio >= 0) {
                retangulos << QRect(QPoint(inicio, y), QPoint(x - 1, y));
                inicio = -1;
            }
        }
        if (inicio >= 0)
            retangulos << QRect(QPoint(inicio, y), QPoint(img.width() - 1, y));
    }
    QRegion regiao;
    regiao.setRects(retangulos.constData(), int(retangulos.size()));
    return regiao;
}

void AplicarRegiao(QWidget &form, const QRegion &regiao)
{
    if (regiao.isEmpty())
        form.clearMask();
    else
        form.setMask(regiao);
}
