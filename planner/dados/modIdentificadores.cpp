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

} // namespace

Identificadores::Identificadores(const QString &tipo) : tipo(tipo)
{
    GarantirTabela();
    // Only identifiers whose row still belongs to the user count.
    RecordSet rs = Consultar(QStringLiteral("Select i.Uid, i.Chave from Identificadores i, ") + tabelaDoTipo(tipo) +
                             QStringLiteral(" t Where i.Usuario = ") + QString::number(Sessao.Codigo) +
                             QStringLiteral(" and i.Tipo = '") + SqlTexto(tipo) + QStringLiteral("' and t.Chave = i.Chave and t.Usuario = i.Usuario"));
    // Every identifier stored, those of deleted rows too: only these have entries to replace.
    for (RecordSet todos = Consultar(QStringLiteral("Select Uid from Identificadores Where Usuario = ") + QString::number(Sessao.Codigo) +
                                     QStringLiteral(" and Tipo = '") + SqlTexto(tipo) + QStringLiteral("'"));
         !todos.Eof(); todos.MoveNext())
        guardados.insert(todos.Indice(0).Texto());
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString uid = rs.Indice(0).Texto();
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
    inserir(uid, chave);
    porUid[uid] << chave;
    return uid;
}

QVector<qint64> Identificadores::Chaves(const QString &uid) const
{
    return porUid.value(uid);
}

void Identificadores::Associar(const QString &uid, const QVector<qint64> &chaves)
{
    const QString condicao = QStringLiteral(" Where Usuario = ") + QString::number(Sessao.Codigo) + QStringLiteral(" and Tipo = '") + SqlTexto(tipo) +
                             QStringLiteral("' and Uid = '") + SqlTexto(uid) + QStringLiteral("'");
    if (guardados.contains(uid))
        Executar(QStringLiteral("Delete from Identificadores") + condicao);
    for (const qint64 antiga : porUid.value(uid))
        porChave.remove(antiga);
    for (const qint64 chave : chaves)
        inserir(uid, chave);
    porUid.insert(uid, chaves);
}

void Identificadores::inserir(const QString &uid, qint64 chave)
{
    Executar(QStringLiteral("Insert into Identificadores (Usuario,Tipo,Uid,Chave) values (") + QString::number(Sessao.Codigo) +
             QStringLiteral(",'") + SqlTexto(tipo) + QStringLiteral("','") + SqlTexto(uid) + QStringLiteral("',") +
             QString::number(chave) + QStringLiteral(")"));
    porChave.insert(chave, uid);
    guardados.insert(uid);
}
