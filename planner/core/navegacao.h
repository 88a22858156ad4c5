#pragma once

class QDate;
class QString;
class QWidget;

// What a panel asks of the main window. The main window implements it and hands it to each
// panel it makes, so panels and their rules modules know nothing else of the window.
class Navegacao {
public:
    // Shows one panel, hides the others and remembers it as the user's last panel.
    virtual void ExibirPainel(QWidget *painel) = 0;
    // Opens the panel named as in Usuarios.Pastinha, through its tab; a name outside the table
    // opens none.
    virtual void AbrirPainel(const QString &nome) = 0;
    // Parks the keyboard focus on an invisible picture.
    virtual void RetirarFoco() = 0;
    virtual void AvisarCadastroPendente() = 0;
    // The print picture: hidden while a form lies over a panel, shown again once it closes.
    virtual void MostrarImpressora(bool visivel) = 0;
    // The long date under the identity labels.
    virtual void MostrarData(const QDate &dia) = 0;
    // The identity labels take the session's values that are not "".
    virtual void AtualizarIdentificacao() = 0;
    // The identity labels back to their placeholders, for an account still being made.
    virtual void IdentificacaoPadrao() = 0;

protected:
    ~Navegacao() = default;
};
