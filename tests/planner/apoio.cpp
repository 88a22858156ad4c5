#include "apoio.h"

#include "core/frmLogon.h"
#include "core/modDb.h"
#include "core/modMsgBox.h"
#include "core/modSenha.h"
#include "esquema.h"
#include "platform/modal.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QMessageBox>

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Opens the file directly, so a test sees what is stored, not what the planner reads back.
struct Direta {
    explicit Direta(const QString &arquivo)
    {
        EXPECT_EQ(sqlite3_open(arquivo.toUtf8().constData(), &db), SQLITE_OK);
    }
    ~Direta() { sqlite3_close(db); }
    sqlite3 *db = nullptr;
};

// The same for a PostgreSQL database: the first column of the first row, or "" when none.
QString comandoPostgres(const QString &uri, const QString &sql)
{
    PGconn *pg = PQconnectdb(uri.toUtf8().constData());
    EXPECT_EQ(PQstatus(pg), CONNECTION_OK) << PQerrorMessage(pg);
    // The tests' readings name no alias for a sub-select and call char(), as SQLite allows.
    static const QRegularExpression semNome(QStringLiteral(R"((\bfrom\s*\(.*\))\s*$)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression caractere(QStringLiteral(R"(\bchar\()"), QRegularExpression::CaseInsensitiveOption);
    const QString texto = QString(sql).replace(semNome, QStringLiteral("\\1 as sub")).replace(caractere, QStringLiteral("chr("));
    PGresult *r = PQexec(pg, texto.toUtf8().constData());
    const ExecStatusType estado = PQresultStatus(r);
    EXPECT_TRUE(estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK) << PQerrorMessage(pg) << " em " << sql.toStdString();
    QString valor;
    if (estado == PGRES_TUPLES_OK && PQntuples(r) > 0 && !PQgetisnull(r, 0, 0))
        valor = QString::fromUtf8(PQgetvalue(r, 0, 0));
    PQclear(r);
    PQfinish(pg);
    return valor;
}

QString uriDe(const QString &base)
{
    return QStringLiteral("postgresql:///%1?host=%2&user=velora").arg(base, ServidorDeTeste());
}

} // namespace

QString ServidorDeTeste()
{
    return qEnvironmentVariable("VELORA_TESTE_POSTGRES");
}

BaseDeTeste::BaseDeTeste()
{
    arquivo = pasta.filePath(QStringLiteral("dadosu.lst"));
    if (ServidorDeTeste().isEmpty()) {
        const QString erro = CriarBaseVazia(arquivo);
        EXPECT_TRUE(erro.isEmpty()) << erro.toStdString();
    } else {
        static int bases = 0;
        const QString nome = QStringLiteral("teste_%1_%2").arg(QCoreApplication::applicationPid()).arg(++bases);
        comandoPostgres(uriDe(QStringLiteral("postgres")), QStringLiteral("CREATE DATABASE %1 TEMPLATE velora_modelo").arg(nome));
        uri = uriDe(nome);
    }
    modDb::DefinirBanco(uri);
    modDb::DefinirPastaDados(pasta.path());
    modDb::DefinirEsperaOcupado(200);
}

BaseDeTeste::~BaseDeTeste()
{
    if (uri.isEmpty())
        return;
    const QString nome = uri.section(u'/', 3).section(u'?', 0, 0);
    comandoPostgres(uriDe(QStringLiteral("postgres")), QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(nome));
}

qint64 BaseDeTeste::InserirUsuario(const QString &login, const std::optional<QString> &senha, const QString &nome)
{
    Executar(QStringLiteral("Insert into Usuarios (Login,Nome,Email,FoneRes,FoneCel,Aniversario,Senha,Pastinha) "
                            "values ('%1','%2','fulano@exemplo.com.br',' ',' ','1900-01-01',%3,'Inicial')")
                 .arg(SqlTexto(login), SqlTexto(nome),
                      senha ? QStringLiteral("'") + SqlTexto(*senha) + QStringLiteral("'") : QStringLiteral("NULL")));
    const qint64 codigo = Valor(QStringLiteral("Select max(Codigo) from Usuarios")).toLongLong();
    Executar(QStringLiteral("Insert into Configuracao (Usuario,InicioGrade,FinalGrade,Intervalos,PosicaoAniversarios,"
                            "SomCompromisso,ChecagemGeral,VisualizarCompartilhamento) values (%1,'08:00','17:00',30,'A','Cuco',1,'S')")
                 .arg(codigo));
    return codigo;
}

void BaseDeTeste::Executar(const QString &sql)
{
    ExecutarEm(uri.isEmpty() ? arquivo : uri, sql);
}

void ExecutarEm(const QString &banco, const QString &sql)
{
    if (EhEnderecoPostgres(banco)) {
        comandoPostgres(banco, sql);
        return;
    }
    Direta d(banco);
    char *erro = nullptr;
    EXPECT_EQ(sqlite3_exec(d.db, sql.toUtf8().constData(), nullptr, nullptr, &erro), SQLITE_OK)
        << (erro ? erro : "") << " em " << sql.toStdString();
    sqlite3_free(erro);
}

QString BaseDeTeste::Valor(const QString &sql)
{
    return ValorEm(uri.isEmpty() ? arquivo : uri, sql);
}

QString ValorEm(const QString &banco, const QString &sql)
{
    if (EhEnderecoPostgres(banco))
        return comandoPostgres(banco, sql);
    Direta d(banco);
    sqlite3_stmt *st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(d.db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK) << sql.toStdString();
    QString valor;
    if (st && sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL)
        valor = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return valor;
}

struct TravaDeOutroPrograma::Sessao {
    sqlite3 *db = nullptr;
    PGconn *pg = nullptr;
};

TravaDeOutroPrograma::TravaDeOutroPrograma(const BaseDeTeste &base) : sessao(std::make_unique<Sessao>())
{
    if (base.uri.isEmpty()) {
        EXPECT_EQ(sqlite3_open(base.arquivo.toUtf8().constData(), &sessao->db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(sessao->db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        return;
    }
    sessao->pg = PQconnectdb(base.uri.toUtf8().constData());
    PGresult *r = PQexec(sessao->pg, "BEGIN; LOCK TABLE Usuarios, Configuracao, Compromissos, Enderecos, Financas, "
                                     "Saldos, Tarefas, Notas IN ACCESS EXCLUSIVE MODE");
    EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQerrorMessage(sessao->pg);
    PQclear(r);
}

TravaDeOutroPrograma::~TravaDeOutroPrograma()
{
    sqlite3_exec(sessao->db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(sessao->db);
    PQfinish(sessao->pg);
}

void Entrar(const QString &login, const QString &senha)
{
    FrmLogon &logon = frmLogon();
    if (!logon.iconeBandeja.Incluido()) {
        ASSERT_TRUE(logon.frmLogon_Form_Load());
        if (logon.EntrouAutomaticamente())
            return;
        logon.show();
    }
    logon.txtLogin->setText(login);
    logon.txtPass->setText(senha);
    logon.frmLogon_cmdLogar_Click();
}

bool HashDaSenha(const QString &guardada, const QString &senha)
{
    return guardada.startsWith(QLatin1String("$argon2id$")) && guardada != CodificarSenha(senha) && SenhaConfere(senha, guardada);
}

void Digitar(QWidget *alvo, const QString &texto)
{
    for (const QChar c : texto) {
        const int tecla = c.isLetter() ? int(c.toUpper().unicode()) : int(c.unicode());
        QKeyEvent pressionada(QEvent::KeyPress, tecla, Qt::NoModifier, QString(c));
        QKeyEvent solta(QEvent::KeyRelease, tecla, Qt::NoModifier, QString(c));
        QApplication::sendEvent(alvo, &pressionada);
        QApplication::sendEvent(alvo, &solta);
    }
}

std::shared_ptr<MensagemVista> ResponderMensagem(bool concordar, std::function<void()> aoExibir)
{
    auto vista = std::make_shared<MensagemVista>();
    modal::Enfileirar([vista, concordar, aoExibir](QWidget &janela) {
        if (aoExibir)
            aoExibir();
        auto *f = dynamic_cast<FrmMsgBox *>(&janela);
        ASSERT_NE(f, nullptr) << "esperava a caixa de mensagem, veio " << janela.windowTitle().toStdString();
        vista->exibida = true;
        vista->texto = f->lblMsg->text();
        vista->icone = !f->imgPergunta->isHidden() ? 1 : !f->imgInformacao->isHidden() ? 2 : !f->imgGrave->isHidden() ? 3 : 0;
        vista->botoes = f->cmdMOkay->isHidden() ? 0 : 1;
        vista->beeps = tk::BipesEmitidos();
        vista->left = tk::Left(*f->lblMsg);
        vista->top = tk::Top(*f->lblMsg);
        vista->width = tk::Width(*f->lblMsg);
        vista->height = tk::Height(*f->lblMsg);
        vista->noTopo = f->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        if (vista->botoes == 1)
            f->cmdMOkay->click();
        else
            (concordar ? f->cmdMConfirmar : f->cmdMCancelar)->click();
    });
    return vista;
}

std::shared_ptr<MensagemVista> ResponderMensagemDoSistema()
{
    auto vista = std::make_shared<MensagemVista>();
    modal::Enfileirar([vista](QWidget &janela) {
        auto *caixa = dynamic_cast<QMessageBox *>(&janela);
        ASSERT_NE(caixa, nullptr) << "esperava uma mensagem do sistema";
        vista->exibida = true;
        vista->texto = caixa->text();
        vista->icone = int(caixa->icon());
        caixa->button(QMessageBox::Ok)->click();
    });
    return vista;
}
