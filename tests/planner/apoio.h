#pragma once

// Test support for the planner: a real database file in a temporary folder, answers for the
// modal windows, and small helpers to read what the planner showed.

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// A fresh empty dadosu.lst, made by the schema tool, that the planner uses for this test.
struct BaseDeTeste {
    BaseDeTeste();
    QTemporaryDir pasta;
    QString arquivo;

    // Inserts a user the way the profile does and returns its key.
    qint64 InserirUsuario(const QString &login, const std::optional<QString> &senha,
                       const QString &nome = QStringLiteral("Fulano de Tal"));
    // Runs one statement on the file, outside the planner.
    void Executar(const QString &sql);
    // The first column of the first row of a query, outside the planner.
    QString Valor(const QString &sql);
};

// The same on any database file.
QString ValorEm(const QString &arquivo, const QString &sql);

class QWidget;

// Starts the planner on the current database (the logon form's load) and signs the user on
// through the form, as a user would.
void Entrar(const QString &login, const QString &senha = QString());

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
