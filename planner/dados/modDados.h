#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// What an import did: items read, rows made, items that replaced an earlier import of theirs;
// or, when erro is not empty, why it did nothing (nothing was written then).
struct ResultadoImportacao {
    int itens = 0;
    int linhas = 0;
    int atualizados = 0;
    QString erro;
    QString Texto(const QString &nomeDosItens) const;  // the message shown to the user
};

// A file refused part way: the import's transaction is undone and the text is shown.
struct ErroImportacao : std::runtime_error {
    explicit ErroImportacao(const QString &texto) : std::runtime_error(texto.toStdString()) {}
    QString Texto() const { return QString::fromStdString(what()); }
};

// Bounds that keep a hostile or broken file from exhausting the machine.
constexpr qsizetype TamanhoMaximoArquivo = 256 * 1024 * 1024;
constexpr qsizetype TamanhoMaximoLinha = 1024 * 1024;
constexpr int LinhasMaximasImportacao = 1000000;

// Why an import file of the format named cannot be read as text (too big, a line too long, not
// UTF-8, not beginning with inicio or not ending with fim, as a truncated file does); "" when it
// can.
QString VerificarArquivoTexto(const QByteArray &conteudo, const char *formato, const QByteArray &inicio, const QByteArray &fim);

// Line folding as both formats write it: lines of at most 75 octets, continued on lines that
// start with a space, never splitting a UTF-8 character; every line ends with CRLF.
void AcrescentarDobrada(QByteArray &saida, const QByteArray &linha);
