// Runs on an 800 x 500 screen: the planner refuses screens under 600 pixels high.

#include "apoio.h"
#include "core/frmLogon.h"
#include "platform/toolkit.h"

#include <gtest/gtest.h>

TEST(TelaPequena, MensagemEEncerramento)
{
    BaseDeTeste base;
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    ASSERT_EQ(tk::Tela::AlturaPixels(), 500);
    auto aviso = ResponderMensagem();
    EXPECT_FALSE(frmLogon().frmLogon_Form_Load());
    EXPECT_EQ(aviso->texto, QStringLiteral("Resolução mínima para Velora funcionar corretamente é de 800 x 600! Favor alterar!"));
    EXPECT_EQ(aviso->icone, 2);
    EXPECT_FALSE(frmLogon().iconeBandeja.Incluido());
}
