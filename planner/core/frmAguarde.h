#pragma once

#include "platform/toolkit.h"

// The small "Carregando Agenda" window shown while the main window opens.
class FrmAguarde : public tk::Formulario {
public:
    FrmAguarde();
    tk::Rotulo *lblCarregando;
    void frmAguarde_Form_Load();
};

namespace frmAguarde {
void Show();    // loads the window when it is not loaded
void Unload();  // closes and destroys it
FrmAguarde *Carregado();
} // namespace frmAguarde
