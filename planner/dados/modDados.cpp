#include "dados/modDados.h"

QString ResultadoImportacao::Texto(const QString &nomeDosItens) const
{
    if (!erro.isEmpty())
        return QStringLiteral("Nada foi importado: ") + erro;
    return QStringLiteral("Importação concluída: %1 %2 lidos, %3 registros gravados, %4 já importados antes e atualizados.")
        .arg(itens)
        .arg(nomeDosItens)
        .arg(linhas)
        .arg(atualizados);
}

QString VerificarArquivoTexto(const QByteArray &conteudo, const char *formato, const QByteArray &inicio, const QByteArray &fim)
{
    const QString nome = QString::fromLatin1(formato);
    if (conteudo.size() > TamanhoMaximoArquivo)
        return QStringLiteral("o arquivo passa de %1 MB.").arg(TamanhoMaximoArquivo / (1024 * 1024));
    qsizetype comeco = 0;
    while (comeco < conteudo.size()) {
        qsizetype fimDaLinha = conteudo.indexOf('\n', comeco);
        if (fimDaLinha < 0)
            fimDaLinha = conteudo.size();
        if (fimDaLinha - comeco > TamanhoMaximoLinha)
            return QStringLiteral("o arquivo tem uma linha de mais de %1 KB.").arg(TamanhoMaximoLinha / 1024);
        comeco = fimDaLinha + 1;
    }
    if (!QByteArrayView(conteudo).isValidUtf8())
        return QStringLiteral("o arquivo não está em UTF-8.");
    // Only the ends are compared, without a copy of the whole file.
    const QByteArrayView aparado = (conteudo.startsWith("\xEF\xBB\xBF") ? QByteArrayView(conteudo).sliced(3) : QByteArrayView(conteudo)).trimmed();
    const auto mesmoTexto = [](QByteArrayView parte, const QByteArray &marca) { return parte.toByteArray().toUpper() == marca; };
    if (aparado.size() < inicio.size() || !mesmoTexto(aparado.first(inicio.size()), inicio))
        return QStringLiteral("o arquivo não é do formato ") + nome + u'.';
    if (aparado.size() < fim.size() || !mesmoTexto(aparado.last(fim.size()), fim))
        return QStringLiteral("o arquivo ") + nome + QStringLiteral(" está incompleto (termina antes de ") +
               QString::fromLatin1(fim) + QStringLiteral(").");
    return QString();
}

void AcrescentarDobrada(QByteArray &saida, const QByteArray &linha)
{
    qsizetype pos = 0, limite = 75;
    while (linha.size() - pos > limite) {
        qsizetype corte = pos + limite;
        // A continuation byte (10xxxxxx) belongs to the character begun before it.
        while (corte > pos && (uchar(linha[corte]) & 0xC0) == 0x80)
            --corte;
        saida += QByteArrayView(linha).sliced(pos, corte - pos);
        saida += "\r\n ";
        pos = corte;
        limite = 74;  // the leading space counts
    }
    saida += QByteArrayView(linha).sliced(pos);
    saida += "\r\n";
}
