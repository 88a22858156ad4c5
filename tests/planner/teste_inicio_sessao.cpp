// Starting with the desktop session: the autostart entry the profile's check box writes.

#include "apoio.h"
#include "core/frmAgenda.h"
#include "core/frmConfig.h"
#include "platform/bandeja.h"
#include "platform/inicio_sessao.h"
#include "platform/modal.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

TEST(InicioSessao, CaminhoNoExecComAsAspasDoFormato)
{
    const struct {
        const char *caminho, *exec;
    } casos[] = {
        {"/usr/bin/velora", "/usr/bin/velora"},
        {"/home/ana/Meus Programas/velora", "\"/home/ana/Meus Programas/velora\""},
        {"/opt/a$b`c\"d/velora", "\"/opt/a\\\\$b\\\\`c\\\\\"d/velora\""},
        {"/opt/a\\b/velora", "\"/opt/a\\\\\\\\b/velora\""},
        {"/opt/100%/velora", "/opt/100%%/velora"},
        {"/opt/ação/velora", "/opt/ação/velora"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(inicio_sessao::ArgumentoExec(QString::fromUtf8(c.caminho)), QString::fromUtf8(c.exec)) << c.caminho;
}

TEST(InicioSessao, CaixaDoPerfilGravaERetiraAEntrada)
{
    BaseDeTeste base;
    bandeja::DefinirDisponivel(true);
    base.InserirUsuario(QStringLiteral("ANA"), std::nullopt);
    ASSERT_TRUE(inicio_sessao::Arquivo().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/")));
    QFile::remove(inicio_sessao::Arquivo());
    Entrar(QStringLiteral("ANA"));
    PainelConfig &p = *frmAgenda().frmConfig;
    for (const bool marcada : {true, false}) {
        frmAgenda().cmdConfig->click();
        EXPECT_EQ(p.chkIniciarComSessao->isChecked(), !marcada);
        p.chkIniciarComSessao->setChecked(marcada);
        auto sucesso = ResponderMensagem();
        p.cmdAgendaGravar->click();
        EXPECT_EQ(sucesso->texto, QStringLiteral("Dados Gravados e Atualizados com Sucesso !"));
        ASSERT_EQ(QFile::exists(inicio_sessao::Arquivo()), marcada);
        if (marcada) {
            QSettings entrada(inicio_sessao::Arquivo(), QSettings::IniFormat);
            entrada.beginGroup(QStringLiteral("Desktop Entry"));
            EXPECT_EQ(entrada.value(QStringLiteral("Exec")).toString(),
                      inicio_sessao::ArgumentoExec(QCoreApplication::applicationFilePath()) + QStringLiteral(" --bandeja"));
            EXPECT_EQ(entrada.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
        }
    }
    EXPECT_EQ(modal::RoteirosPendentes(), 0);
}
