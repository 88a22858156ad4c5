#include "dados/modVCard.h"

#include "core/modDb.h"
#include "core/sessao.h"
#include "dados/modIdentificadores.h"

#include <QRegularExpression>

namespace {

QByteArray Escapar(const QString &texto)
{
    QString s;
    s.reserve(texto.size());
    for (const QChar c : texto) {
        if (c == u'\\' || c == u',' || c == u';')
            s += u'\\';
        if (c == u'\n')
            s += QStringLiteral("\\n");
        else if (c != u'\r')
            s += c;
    }
    return s.toUtf8();
}

// A value split at the separator not escaped, each part unescaped.
QStringList Partes(const QString &valor, QChar separador)
{
    QStringList partes{QString()};
    for (qsizetype i = 0; i < valor.size(); ++i) {
        const QChar c = valor[i];
        if (c == u'\\' && i + 1 < valor.size()) {
            const QChar e = valor[++i];
            partes.last() += (e == u'n' || e == u'N') ? QChar(u'\n') : e;
        } else if (c == separador) {
            partes << QString();
        } else {
            partes.last() += c;
        }
    }
    return partes;
}

QString Texto(const QString &valor)
{
    return Partes(valor, QChar()).join(QString()).trimmed();
}

// One content line: the name without its group, the TYPE values in lower case, the value.
struct Linha {
    QString nome;
    QStringList tipos;
    QString valor;
};

Linha LerLinha(const QString &bruta)
{
    Linha l;
    // The name and the parameters end at the first colon outside double quotes.
    bool aspas = false;
    qsizetype doisPontos = -1;
    for (qsizetype i = 0; i < bruta.size(); ++i) {
        if (bruta[i] == u'"')
            aspas = !aspas;
        else if (bruta[i] == u':' && !aspas) {
            doisPontos = i;
            break;
        }
    }
    if (doisPontos < 0)
        return l;
    l.valor = bruta.mid(doisPontos + 1);
    const QStringList cabeca = bruta.left(doisPontos).split(u';');
    l.nome = cabeca.first().section(u'.', -1).toUpper();
    for (qsizetype i = 1; i < cabeca.size(); ++i) {
        const QString p = cabeca[i];
        const qsizetype igual = p.indexOf(u'=');
        // vCard 2.1 writes the types bare ("TEL;CELL:").
        const QString nome = igual < 0 ? QStringLiteral("TYPE") : p.left(igual).toUpper();
        if (nome == QLatin1String("TYPE"))
            for (const QString &t : p.mid(igual + 1).remove(u'"').split(u','))
                l.tipos << t.toLower();
    }
    return l;
}

// "--MMDD", "--MM-DD", "YYYYMMDD", "YYYY-MM-DD", a time after them aside: the planner's "DD/MM".
QString Aniversario(const QString &valor)
{
    static const QRegularExpression formato(QStringLiteral("^(?:\\d{4}|--)-?(\\d{2})-?(\\d{2})(?:T.*)?$"));
    const QRegularExpressionMatch m = formato.match(valor.trimmed());
    if (!m.hasMatch())
        return QString();
    return LerAniversario(m.captured(2) + u'/' + m.captured(1)).value_or(QString());
}

} // namespace

QByteArray EscreverVCard(const QVector<Contato> &contatos, const QVector<QString> &uids)
{
    QByteArray s;
    const auto linha = [&s](const QByteArray &l) { AcrescentarDobrada(s, l); };
    for (qsizetype i = 0; i < contatos.size(); ++i) {
        const Contato &c = contatos[i];
        linha("BEGIN:VCARD");
        linha("VERSION:4.0");
        linha("UID:" + Escapar(uids.value(i)));
        linha("FN:" + Escapar(c.nome));
        linha("N:" + Escapar(c.nome) + ";;;;");
        if (!c.empresa.isEmpty())
            linha("ORG:" + Escapar(c.empresa));
        if (!c.endereco.isEmpty() || !c.cidade.isEmpty() || !c.estado.isEmpty() || !c.cep.isEmpty())
            linha("ADR;TYPE=home:;;" + Escapar(c.endereco) + ';' + Escapar(c.cidade) + ';' + Escapar(c.estado) + ';' +
                  Escapar(c.cep) + ';');
        if (!c.email.isEmpty())
            linha("EMAIL:" + Escapar(c.email));
        for (const auto &[tipo, fone] : {std::pair{"home", &c.foneRes}, std::pair{"cell", &c.foneCel}, std::pair{"work", &c.foneCom}})
            if (!fone->isEmpty())
                linha(QByteArray("TEL;TYPE=") + tipo + ':' + Escapar(*fone));
        if (!c.aniversario.isEmpty())
            linha("BDAY:--" + c.aniversario.mid(3, 2).toLatin1() + c.aniversario.left(2).toLatin1());
        if (!c.observacao.isEmpty())
            linha("NOTE:" + Escapar(c.observacao));
        if (c.compartilhado == QLatin1String("S"))
            linha("X-VELORA-COMPARTILHADO:S");
        linha("END:VCARD");
    }
    return s;
}

QVector<QPair<QString, Contato>> LerVCard(const QByteArray &conteudo)
{
    // Unfolding: a line break followed by a space or a tab joins the lines.
    QString texto = QString::fromUtf8(conteudo);
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(QStringLiteral("\n "), QString());
    texto.replace(QStringLiteral("\n\t"), QString());
    QVector<QPair<QString, Contato>> cartoes;
    bool dentro = false;
    QString uid, n;
    Contato c;
    for (const QString &bruta : texto.split(u'\n', Qt::SkipEmptyParts)) {
        const Linha l = LerLinha(bruta);
        const QString valor = l.valor;
        if (l.nome == QLatin1String("BEGIN") && valor.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0) {
            dentro = true;
            uid.clear();
            n.clear();
            c = Contato{};
        } else if (!dentro) {
            continue;
        } else if (l.nome == QLatin1String("END")) {
            dentro = false;
            if (c.nome.isEmpty())
                c.nome = n;
            if (c.nome.isEmpty())
                throw ErroImportacao(QStringLiteral("um cartão não tem nome (FN)."));
            c.nome = NomeDoContato(c.nome);
            cartoes << qMakePair(uid, c);
        } else if (l.nome == QLatin1String("UID")) {
            uid = Texto(valor);
        } else if (l.nome == QLatin1String("FN")) {
            c.nome = Texto(valor);
        } else if (l.nome == QLatin1String("N")) {
            // Family; given; additional; prefixes; suffixes: read as "given additional family".
            const QStringList p = Partes(valor, u';');
            n = QStringList{p.value(3), p.value(1), p.value(2), p.value(0), p.value(4)}.join(u' ').simplified();
        } else if (l.nome == QLatin1String("ORG")) {
            c.empresa = Partes(valor, u';').join(QStringLiteral(", ")).trimmed();
        } else if (l.nome == QLatin1String("ADR") && c.endereco.isEmpty()) {
            const QStringList p = Partes(valor, u';');
            c.endereco = QStringList{p.value(0), p.value(1), p.value(2)}.join(u' ').simplified();
            c.cidade = p.value(3).trimmed();
            c.estado = p.value(4).trimmed();
            c.cep = p.value(5).trimmed();
        } else if (l.nome == QLatin1String("EMAIL") && c.email.isEmpty()) {
            c.email = Texto(valor);
        } else if (l.nome == QLatin1String("TEL")) {
            QString fone = Texto(valor);
            if (fone.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
                fone = fone.mid(4);
            QString *destino = l.tipos.contains(QLatin1String("cell")) ? &c.foneCel
                               : l.tipos.contains(QLatin1String("work")) ? &c.foneCom
                                                                         : &c.foneRes;
            for (QString *outro : {destino, &c.foneRes, &c.foneCom, &c.foneCel})
                if (outro->isEmpty()) {
                    *outro = fone;
                    break;
                }
        } else if (l.nome == QLatin1String("BDAY")) {
            c.aniversario = Aniversario(valor);
        } else if (l.nome == QLatin1String("NOTE")) {
            c.observacao = Texto(valor);
        } else if (l.nome == QLatin1String("X-VELORA-COMPARTILHADO")) {
            c.compartilhado = Texto(valor) == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("N");
        }
    }
    if (dentro)
        throw ErroImportacao(QStringLiteral("o arquivo vCard está incompleto (termina antes de END:VCARD)."));
    return cartoes;
}

QByteArray ExportarVCard()
{
    Transacao t;
    Identificadores ids(QStringLiteral("E"));
    QVector<Contato> contatos;
    QVector<QString> uids;
    for (const LinhaContato &l : LinhasContatos(QString())) {
        if (l.contato.usuario != Sessao.Codigo)
            continue;
        contatos << l.contato;
        uids << ids.Uid(l.contato.chave);
    }
    ids.Gravar();
    t.Confirmar();
    return EscreverVCard(contatos, uids);
}

ResultadoImportacao ImportarVCard(const QByteArray &conteudo)
{
    ResultadoImportacao r;
    r.erro = VerificarArquivoTexto(conteudo, "vCard", "BEGIN:VCARD", "END:VCARD");
    if (!r.erro.isEmpty())
        return r;
    try {
        const QVector<QPair<QString, Contato>> cartoes = LerVCard(conteudo);
        if (cartoes.size() > LinhasMaximasImportacao)
            throw ErroImportacao(QStringLiteral("o arquivo tem mais de %1 cartões.").arg(LinhasMaximasImportacao));
        Transacao t;
        Identificadores ids(QStringLiteral("E"));
        for (const QPair<QString, Contato> &cartao : cartoes) {
            Contato c = cartao.second;
            const QVector<qint64> anteriores = cartao.first.isEmpty() ? QVector<qint64>() : ids.Chaves(cartao.first);
            if (!anteriores.isEmpty()) {
                c.chave = anteriores.first();
                c.chaveAniversario = Consultar(QStringLiteral("Select ChaveAniversario from Enderecos Where Chave = ") +
                                               QString::number(c.chave))(QStringLiteral("ChaveAniversario"))
                                         .Inteiro();
                ++r.atualizados;
            }
            c = GravarContato(c);
            ++r.itens;
            ++r.linhas;
            if (!cartao.first.isEmpty() && anteriores.isEmpty())
                ids.Associar(cartao.first, {c.chave});
        }
        ids.Gravar();
        t.Confirmar();
    } catch (const ErroImportacao &erro) {
        r = ResultadoImportacao{};
        r.erro = erro.Texto();
    }
    return r;
}
