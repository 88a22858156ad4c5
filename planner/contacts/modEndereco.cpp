#include "contacts/modEndereco.h"

#include "core/modDb.h"
#include "core/modEntrada.h"
#include "core/sessao.h"
#include "platform/relogio.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace {

// An optional text as stored: as typed between quotes, or NULL when empty.
QString opcional(const QString &texto)
{
    return texto.isEmpty() ? QStringLiteral("NULL") : QStringLiteral("'") + SqlTexto(texto) + QStringLiteral("'");
}

// A stored birthday key reaches only a birthday row of the user: never another appointment,
// whatever became of the key.
const QString somenteAniversario = QStringLiteral(" and Status = '2' and ChavePai = 0");

// Portuguese alphabetical order (ICU through QCollator): "Ângela" beside "Angela", "maria"
// beside "Maria", both before "Bruno".
const QCollator &ordemAlfabetica()
{
    static const QCollator ordem(QLocale(QLocale::Portuguese, QLocale::Brazil));
    return ordem;
}

} // namespace

QString LinhaContato::NomeExibido() const
{
    return login.isEmpty() ? contato.nome : contato.nome + QStringLiteral(" [") + login + QStringLiteral("]");
}

QString LinhaContato::Telefone() const
{
    for (const QString *f : {&contato.foneRes, &contato.foneCom, &contato.foneCel})
        if (!f->isEmpty())
            return *f;
    return QString();
}

bool LinhaContato::DeOutroUsuario() const
{
    return contato.compartilhado == QLatin1String("S") && contato.usuario != Sessao.Codigo;
}

Letra DaLetra(int indice)
{
    switch (indice) {
    case 0:
        return {QStringLiteral("0-9"), QStringLiteral(" and ( Asc(Left(Nome,1)) < 65 or  Asc(Left(Nome,1)) > 90 )")};
    case 24:
        return {QStringLiteral("X/Y"), QStringLiteral(" and ( ucase(Left(Nome,1)) = 'X' or ucase(Left(Nome,1)) = 'Y' )")};
    case 25:
        return {QStringLiteral("Z"), QStringLiteral(" and ucase(Left(Nome,1)) = 'Z'")};
    default:
        return {QString(QChar(char16_t(indice + 64))), QStringLiteral(" and  Asc(ucase(Left(Nome,1))) = ") + QString::number(indice + 64)};
    }
}

QString CondicaoDaPesquisa(const QString &nome, const QString &empresa, const QString &telefone, const QString &email)
{
    const auto padrao = [](const QString &t) { return QStringLiteral("'%") + SqlTextoLike(t) + QStringLiteral("%' escape '\\'"); };
    QString filtro;
    if (const QString t = nome.trimmed(); !t.isEmpty())
        filtro += QStringLiteral(" and Nome like ") + padrao(t);
    if (const QString t = empresa.trimmed(); !t.isEmpty())
        filtro += QStringLiteral(" and Empresa like ") + padrao(t);
    if (const QString t = telefone.trimmed(); !t.isEmpty())
        filtro += QStringLiteral(" and ( FoneRes like ") + padrao(t) + QStringLiteral(" or FoneCom like ") + padrao(t) +
                  QStringLiteral(" or FoneCel like ") + padrao(t) + QStringLiteral(")");
    if (const QString t = email.trimmed(); !t.isEmpty())
        filtro += QStringLiteral(" and Email like ") + padrao(t);
    return filtro;
}

QVector<LinhaContato> LinhasContatos(const QString &filtro)
{
    const QString usuario = QString::number(Sessao.Codigo);
    QString sql = QStringLiteral("Select *,'' as NomeUsuario from Enderecos Where Usuario = ") + usuario + QStringLiteral(" ") + filtro;
    // The two halves never share a row (their owners differ), and the order is the alphabet's,
    // set below: the file neither removes duplicates nor sorts.
    if (Sessao.VisualizarCompartilhamento)
        sql += QStringLiteral(" Union All Select *,(Select Login from Usuarios Where Codigo = Usuario) as NomeUsuario from Enderecos Where Usuario <> ") +
               usuario + QStringLiteral(" and Compartilhado = 'S' ") + filtro;

    QVector<LinhaContato> linhas;
    RecordSet rs = Consultar(sql);
    linhas.reserve(rs.RecordCount());
    // Columns by position: a whole list of rows reads the names once.
    const auto posicao = [&rs](const char *coluna) { return rs.Posicao(QLatin1String(coluna)); };
    const int colChave = posicao("Chave"), colUsuario = posicao("Usuario"),
              colChaveAniversario = posicao("ChaveAniversario"), colLogin = posicao("NomeUsuario");
    const std::pair<QString Contato::*, int> textos[] = {
        {&Contato::nome, posicao("Nome")},           {&Contato::empresa, posicao("Empresa")},
        {&Contato::endereco, posicao("Endereco")},   {&Contato::cidade, posicao("Cidade")},
        {&Contato::estado, posicao("Estado")},       {&Contato::cep, posicao("Cep")},
        {&Contato::email, posicao("Email")},         {&Contato::foneRes, posicao("FoneRes")},
        {&Contato::foneCel, posicao("FoneCel")},     {&Contato::foneCom, posicao("FoneCom")},
        {&Contato::aniversario, posicao("Aniversario")}, {&Contato::observacao, posicao("Observacao")},
        {&Contato::compartilhado, posicao("Compartilhado")},
    };
    for (; !rs.Eof(); rs.MoveNext()) {
        LinhaContato l;
        Contato &c = l.contato;
        c.chave = rs.Indice(colChave).Inteiro();
        c.usuario = rs.Indice(colUsuario).Inteiro();
        for (const auto &[campo, coluna] : textos)
            c.*campo = rs.Indice(coluna).Texto();
        c.chaveAniversario = rs.Indice(colChaveAniversario).Inteiro();
        l.login = rs.Indice(colLogin).Texto();
        linhas << std::move(l);
    }
    // By name, then company, as a reader of Portuguese orders them (the file would compare
    // character codes: accented capitals after "Z", lower case after upper case); the key
    // settles full ties. The positions are sorted, not the rows.
    const QCollator &ordem = ordemAlfabetica();
    QVector<int> ordenadas(linhas.size());
    std::iota(ordenadas.begin(), ordenadas.end(), 0);
    std::sort(ordenadas.begin(), ordenadas.end(), [&](int a, int b) {
        const Contato &x = linhas.at(a).contato, &y = linhas.at(b).contato;
        if (const int nome = ordem.compare(x.nome, y.nome))
            return nome < 0;
        if (const int empresa = ordem.compare(x.empresa, y.empresa))
            return empresa < 0;
        return x.chave < y.chave;
    });
    QVector<LinhaContato> emOrdem;
    emOrdem.reserve(linhas.size());
    for (const int i : ordenadas)
        emOrdem << std::move(linhas[i]);
    linhas = std::move(emOrdem);
    return linhas;
}

QString NomeDoContato(const QString &digitado)
{
    QString nome = digitado.trimmed();
    if (!nome.isEmpty())
        nome[0] = nome.at(0).toUpper();
    return nome;
}

std::optional<QString> LerAniversario(const QString &digitado)
{
    const auto data = LerDataDigitada(digitado.trimmed() + QStringLiteral("/1905"));
    if (!data)
        return std::nullopt;
    return data->toString(QStringLiteral("dd/MM"));
}

QDate ProximoAniversario(const QString &aniversario, const QDate &hoje)
{
    const QDate esteAno = DiaEMesNoAno(aniversario, hoje.year());
    return esteAno.isValid() && esteAno > hoje ? esteAno : DiaEMesNoAno(aniversario, hoje.year() + 1);
}

Contato GravarContato(Contato c)
{
    const QString usuario = QString::number(Sessao.Codigo);
    const QString flag = QStringLiteral("'") + SqlTexto(c.compartilhado) + QStringLiteral("'");
    const QString titulo = QStringLiteral("'") + SqlTexto(QStringLiteral("Aniversário ") + c.nome) + QStringLiteral("'");
    c.usuario = Sessao.Codigo;

    Transacao t;
    if (!c.aniversario.isEmpty()) {
        const QString data = TextoDaData(ProximoAniversario(c.aniversario, relogio::Hoje()));
        // Every save moves the row to the next occurrence and carries the name and the share
        // flag over; a key whose row is gone (deleted from the reminder window) gets a new row.
        const bool movida =
            c.chaveAniversario != 0 &&
            Executar(QStringLiteral("Update Compromissos set Data = cdate('") + data + QStringLiteral("'),Compromisso = ") + titulo +
                     QStringLiteral(",Compartilhado = ") + flag + QStringLiteral(" Where Usuario = ") + usuario +
                     QStringLiteral(" and Chave = ") + QString::number(c.chaveAniversario) + somenteAniversario) > 0;
        if (!movida)
            c.chaveAniversario = ExecutarInsercao(
                QStringLiteral("Insert into Compromissos(Usuario,Data,Hora,HoraFim,Compromisso,ChavePai,Status,Compartilhado) values (") +
                usuario + QStringLiteral(",cdate('") + data + QStringLiteral("'),NULL,NULL,") + titulo + QStringLiteral(",0,'2',") + flag +
                QStringLiteral(")"));
    } else if (c.chaveAniversario != 0) {
        Executar(QStringLiteral("Delete from Compromissos Where Usuario = ") + usuario + QStringLiteral(" and Chave = ") +
                 QString::number(c.chaveAniversario) + somenteAniversario);
        c.chaveAniversario = 0;
    }

    const QString chaveAniversario = QString::number(c.chaveAniversario);
    if (c.chave == 0) {
        c.chave = ExecutarInsercao(
            QStringLiteral("Insert into Enderecos(Usuario,Nome,Empresa,Endereco,Cidade,Estado,Cep,Email,FoneRes,FoneCel,FoneCom,"
                           "Observacao,Aniversario,Compartilhado,ChaveAniversario) values (") +
            usuario + QStringLiteral(",'") + SqlTexto(c.nome) + QStringLiteral("',") + opcional(c.empresa) + u',' + opcional(c.endereco) +
            u',' + opcional(c.cidade) + u',' + opcional(c.estado) + u',' + opcional(c.cep) + u',' + opcional(c.email) + u',' +
            opcional(c.foneRes) + u',' + opcional(c.foneCel) + u',' + opcional(c.foneCom) + u',' + opcional(c.observacao) + u',' +
            opcional(c.aniversario) + u',' + flag + u',' + chaveAniversario + u')');
    } else {
        const int alterados = Executar(
            QStringLiteral("Update Enderecos set Nome = '") + SqlTexto(c.nome) + QStringLiteral("',Empresa = ") + opcional(c.empresa) +
            QStringLiteral(",Endereco= ") + opcional(c.endereco) + QStringLiteral(",Cidade= ") + opcional(c.cidade) +
            QStringLiteral(",Estado= ") + opcional(c.estado) + QStringLiteral(",Cep= ") + opcional(c.cep) +
            QStringLiteral(",Email= ") + opcional(c.email) + QStringLiteral(",FoneRes= ") + opcional(c.foneRes) +
            QStringLiteral(",FoneCel= ") + opcional(c.foneCel) + QStringLiteral(",FoneCom= ") + opcional(c.foneCom) +
            QStringLiteral(",Observacao= ") + opcional(c.observacao) + QStringLiteral(",Aniversario= ") + opcional(c.aniversario) +
            QStringLiteral(",Compartilhado = ") + flag + QStringLiteral(",ChaveAniversario = ") + chaveAniversario +
            QStringLiteral(" Where Usuario = ") + usuario + QStringLiteral(" and Chave = ") + QString::number(c.chave));
        // Deleted meanwhile (another copy of the planner): a birthday row of its own must not
        // stay behind.
        if (alterados == 0)
            throw ErroBanco("O contato não existe mais no arquivo de dados");
    }
    t.Confirmar();
    return c;
}

Gravacao AlterarContato(const Contato &contato, const Contato &aberto)
{
    Transacao t;
    const QVector<LinhaContato> atual = LinhasContatos(QStringLiteral(" and Chave = ") + QString::number(aberto.chave));
    if (atual.isEmpty())
        return Gravacao::Excluida;
    if (atual.first().contato != aberto)
        return Gravacao::Alterada;
    GravarContato(contato);
    t.Confirmar();
    return Gravacao::Gravada;
}

void ExcluirContato(qint64 chave, qint64 chaveAniversario)
{
    const QString usuario = QString::number(Sessao.Codigo);
    Transacao t;
    Executar(QStringLiteral("Delete from Enderecos Where Usuario = ") + usuario + QStringLiteral(" and Chave = ") + QString::number(chave));
    if (chaveAniversario != 0)
        Executar(QStringLiteral("Delete from Compromissos Where Usuario = ") + usuario + QStringLiteral(" and Chave = ") +
                 QString::number(chaveAniversario) + somenteAniversario);
    t.Confirmar();
}
