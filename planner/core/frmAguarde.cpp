#include "core/frmAguarde.h"

#include "core/modMsgBox.h"
#include "resources/recursos.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
FrmAguarde *carregado = nullptr;
}

FrmAguarde::FrmAguarde() : tk::Formulario(QStringLiteral("Aguarde"))
{
    const QPixmap face = recursos::Figura(QStringLiteral("aguarde"));
    DefinirFace(face);
    AplicarRegiao(*this, RegiaoDaImagem(face.toImage()));
    lblCarregando = new tk::Rotulo(this, QStringLiteral("Carregando Agenda"));
    QFont f = lblCarregando->font();
    f.setPointSize(12);
    f.setBold(true);
    lblCarregando->setFont(f);
    lblCarregando->setStyleSheet(QStringLiteral("color: white"));
    lblCarregando->setGeometry(56, 0, face.width() - 64, face.height());
    if (const QScreen *tela = QGuiApplication::primaryScreen())
        move(tela->geometry().center() - rect().center());
}

void FrmAguarde::frmAguarde_Form_Load()
{
    ManterNoTopo(*this, true);
    ManterNoTopo(*this, false);
}

namespace frmAguarde {

void Show()
{
    if (!carregado) {
        carregado = new FrmAguarde;
        carregado->show();
        carregado->frmAguarde_Form_Load();
    }
    carregado->show();
}

void Unload()
{
    delete carregado;
    carregado = nullptr;
}

FrmAguarde *Carregado()
{
    return carregado;
}

} // namespace frmAguarde
