#include "tasks/modNotas.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"

namespace {

// The user's note row, the oldest when a file holds several.
RecordSet notaDoUsuario()
{
    return Consultar(QStringLiteral("Select * from Notas Where Usuario = ") + QString::number(Sessao.Codigo) +
                     QStringLiteral(" Order By Chave"));
}

} // namespace

std::optional<Nota> LerNota()
{
    const RecordSet rs = notaDoUsuario();
    if (rs.Eof())
        return std::nullopt;
    const Campo texto = rs(QStringLiteral("Notas"));
    return Nota{rs(QStringLiteral("Chave")).Inteiro(), texto.IsNull() ? std::nullopt : std::optional(texto.Texto())};
}

void GravarNota(qint64 chave, const QString &texto)
{
    const QString usuario = QString::number(Sessao.Codigo);
    const QString nota = SqlTexto(AparaEspacos(texto));
    Transacao t;
    // A key not known yet may still have a row (saved meanwhile by another copy of the planner):
    // the user keeps one row.
    if (chave == 0) {
        const RecordSet rs = notaDoUsuario();
        chave = rs.Eof() ? 0 : rs(QStringLiteral("Chave")).Inteiro();
    }
    if (chave == 0 || Executar(QStringLiteral("Update Notas set Notas = '") + nota + QStringLiteral("' Where Usuario = ") +
                               usuario + QStringLiteral(" and Chave = ") + QString::number(chave)) == 0)
        chave = ExecutarInsercao(QStringLiteral("Insert into Notas(Usuario,Notas) values (") + usuario + QStringLiteral(",'") +
                                 nota + QStringLiteral("')"));
    t.Confirmar();
    Sessao.ChaveNota = chave;
}

void LimparNota(qint64 chave)
{
    Executar(QStringLiteral("Update Notas set Notas = NULL Where Usuario = ") + QString::number(Sessao.Codigo) +
             QStringLiteral(" and Chave = ") + QString::number(chave));
}
