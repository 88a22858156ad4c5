#include "dados/modIdentificadores.h"

#include "core/modDb.h"
#include "core/sessao.h"

#include <QUuid>

namespace {

// Files made before imports existed get the table at their first export or import.
void GarantirTabela()
{
    Executar(QStringLiteral("Create Table If Not Exists Identificadores (Usuario bigint, Tipo text, Uid text, Chave bigint)"));
    Executar(QStringLiteral("Create Index If Not Exists IdentificadoresUsuario on Identificadores (Usuario, Tipo, Uid)"));
}

QString tabelaDoTipo(const QString &tipo)
{
    return tipo == QLatin1String("C") ? QStringLiteral("Compromissos") : QStringLiteral("Enderecos");
}

// Rows per statement when writing: a few statements for a whole import, each of a modest size.
constexpr qsizetype LinhasPorComando = 500;

} // namespace

Identificadores::Identificadores(const QString &tipo) : tipo(tipo)
{
    GarantirTabela();
    const QString usuario = QString::number(Sessao.Codigo);
    // Every identifier stored, those of deleted rows too: only these have entries to replace.
    // Only those whose row still belongs to the user stand for rows; the user's keys are read
    // once from an index rather than each row looked up in the table.
    RecordSet rs = Consultar(QStringLiteral("Select Uid, Chave, case when Chave in (Select Chave from ") + tabelaDoTipo(tipo) +
                             QStringLiteral(" Where Usuario = ") + usuario +
                             QStringLiteral(") then 1 else 0 end from Identificadores Where Usuario = ") + usuario +
                             QStringLiteral(" and Tipo = '") + SqlTexto(tipo) + QStringLiteral("'"));
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString uid = rs.Indice(0).Texto();
        guardados.insert(uid);
        if (rs.Indice(2).Inteiro() == 0)
            continue;
        const qint64 chave = rs.Indice(1).Inteiro();
        porChave.insert(chave, uid);
        porUid[uid] << chave;
    }
}

QString Identificadores::Uid(qint64 chave)
{
    if (const auto i = porChave.constFind(chave); i != porChave.constEnd())
        return *i;
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral("@velora");
    Associar(uid, {chave});
    return uid;
}

QVector<qint64> Identificadores::Chaves(const QString &uid) const
{
    return porUid.value(uid);
}

void Identificadores::Associar(const QString &uid, const QVector<qint64> &chaves)
{
    if (guardados.contains(uid))
        excluir << uid;
    for (const qint64 antiga : porUid.value(uid))
        porChave.remove(antiga);
    for (const qint64 chave : chaves)
        porChave.insert(chave, uid);
    porUid.insert(uid, chaves);
    novos.insert(uid);
}

void Identificadores::Gravar()
{
    const QString usuario = QString::number(Sessao.Codigo), doTipo = QStringLiteral("'") + SqlTexto(tipo) + QStringLiteral("'");
    for (qsizetype i = 0; i < excluir.size(); i += LinhasPorComando) {
        QStringList lista;
        for (const QString &uid : excluir.mid(i, LinhasPorComando))
            lista << QStringLiteral("'") + SqlTexto(uid) + QStringLiteral("'");
        Executar(QStringLiteral("Delete from Identificadores Where Usuario = ") + usuario + QStringLiteral(" and Tipo = ") + doTipo +
                 QStringLiteral(" and Uid in (") + lista.join(u',') + u')');
    }
    // In the order of the table's index, which then grows at its end rather than all over.
    QStringList ordem(novos.cbegin(), novos.cend());
    std::sort(ordem.begin(), ordem.end());
    QStringList linhas;
    const auto escrever = [&] {
        Executar(QStringLiteral("Insert into Identificadores (Usuario,Tipo,Uid,Chave) values ") + linhas.join(u','));
        linhas.clear();
    };
    for (const QString &uid : std::as_const(ordem)) {
        const QString comeco = u'(' + usuario + u',' + doTipo + QStringLiteral(",'") + SqlTexto(uid) + QStringLiteral("',");
        for (const qint64 chave : porUid.value(uid)) {
            linhas << comeco + QString::number(chave) + u')';
            if (linhas.size() == LinhasPorComando)
                escrever();
        }
        guardados.insert(uid);
    }
    if (!linhas.isEmpty())
        escrever();
    excluir.clear();
    novos.clear();
}
