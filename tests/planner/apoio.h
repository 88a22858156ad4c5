#pragma once

// Test support for the planner: a real database file in a temporary folder, answers for the
// modal windows, and small helpers to read what the planner showed.

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// A fresh empty database, made by the schema tool, that the planner uses for this test: the file
// dadosu.lst in a temporary folder, or, when VELORA_TESTE_POSTGRES names the socket folder of the
// tests' PostgreSQL server, a database of its own copied from the template made there.
struct BaseDeTeste {
    BaseDeTeste();
    ~BaseDeTeste();
    BaseDeTeste(const BaseDeTeste &) = delete;
    BaseDeTeste &operator=(const BaseDeTeste &) = delete;
    QTemporaryDir pasta;
    QString arquivo;
    QString uri;  // the PostgreSQL database, "" for the file
    QString Banco() const { return uri.isEmpty() ? arquivo : uri; }

    // Inserts a user the way the profile does and returns its key.
    qint64 InserirUsuario(const QString &login, const std::optional<QString> &senha,
                       const QString &nome = QStringLiteral("Fulano de Tal"));
    // Runs one statement on the file, outside the planner.
    void Executar(const QString &sql);
    // The first column of the first row of a query, outside the planner.
    QString Valor(const QString &sql);
};

// The same on any database file or PostgreSQL URI.
QString ValorEm(const QString &banco, const QString &sql);
void ExecutarEm(const QString &banco, const QString &sql);

// The socket folder of the tests' PostgreSQL server, "" when the tests run on SQLite files.
QString ServidorDeTeste();

// Another program holding the whole database locked while it lives: an exclusive transaction on
// the file, or every planner table locked by a transaction of another PostgreSQL session.
class TravaDeOutroPrograma {
public:
    explicit TravaDeOutroPrograma(const BaseDeTeste &base);
    ~TravaDeOutroPrograma();
    TravaDeOutroPrograma(const TravaDeOutroPrograma &) = delete;
    TravaDeOutroPrograma &operator=(const TravaDeOutroPrograma &) = delete;

private:
    struct Sessao;
    std::unique_ptr<Sessao> sessao;
};

class QWidget;

// Starts the planner on the current database (the logon form's load) and signs the user on
// through the form, as a user would.
void Entrar(const QString &login, const QString &senha = QString());

// Whether a stored password is a hash of senha, never its old reversible encoding.
bool HashDaSenha(const QString &guardada, const QString &senha);

// Types the text key by key into the widget, accented letters included.
void Digitar(QWidget *alvo, const QString &texto);

// What one message box showed.
struct MensagemVista {
    bool exibida = false;
    QString texto;
    int icone = -1;   // 0 none, 1 question, 2 information, 3 serious
    int botoes = -1;  // 1 "&Okay" alone, 0 "&Confirmar"/"C&ancelar"
    int beeps = 0;    // beeps counted when it was answered
    int left = 0, top = 0, width = 0, height = 0;  // the text's place, in twips
    bool noTopo = false;  // in the topmost band while shown
};

// Queues the answer to the next message box: agree ("&Okay"/"&Confirmar") or decline; aoExibir
// runs while the box is shown.
std::shared_ptr<MensagemVista> ResponderMensagem(bool concordar = true, std::function<void()> aoExibir = {});

// Queues the answer to the next system message box (the start-up probe's).
std::shared_ptr<MensagemVista> ResponderMensagemDoSistema();
