#include "core/programa.h"

#include <QCoreApplication>

namespace programa {

namespace {
QStringList argumentos;
bool encerrado = false;
} // namespace

QString TextoDaOpcao(const QStringList &a)
{
    for (const QString &opcao : a) {
        if (opcao == u"--version")
            return QStringLiteral("velora " VELORA_VERSAO "\n");
        if (opcao == u"--help")
            return QStringLiteral(
                "Uso: velora [--help | --version | ARGUMENTO]\n"
                "Agenda pessoal diária: compromissos com lembretes, endereços, finanças, tarefas e notas.\n"
                "\n"
                "Sem argumentos abre a janela de logon; com qualquer outro argumento começa na bandeja.\n"
                "  --help     mostra este texto e termina\n"
                "  --version  mostra a versão e termina\n"
                "\n"
                "Dados de um usuário (a senha, quando houver, vem da primeira linha da entrada padrão):\n"
                "  --usuario LOGIN --exportar-ics ARQUIVO   compromissos para iCalendar\n"
                "  --usuario LOGIN --importar-ics ARQUIVO   compromissos de iCalendar\n"
                "  --usuario LOGIN --exportar-vcf ARQUIVO   endereços para vCard 4.0\n"
                "  --usuario LOGIN --importar-vcf ARQUIVO   endereços de vCard (4.0 ou 3.0)\n"
                "  --usuario LOGIN --exportar-csv ANO-MES [ARQUIVO]   finanças do mês em CSV\n"
                "\n"
                "Os dados ficam em dadosu.lst: na pasta de VELORA_DADOS, quando definida; senão na\n"
                "pasta do programa, quando o arquivo está lá; senão, no programa instalado, em\n"
                "$XDG_DATA_HOME/velora (~/.local/share/velora), criada com uma base vazia no primeiro início.\n");
    }
    return {};
}

void DefinirArgumentos(const QStringList &a)
{
    argumentos = a;
}

bool LinhaDeComandoPreenchida()
{
    return !argumentos.isEmpty();
}

void Encerrar()
{
    encerrado = true;
    QCoreApplication::exit(0);
}

bool Encerrado()
{
    return encerrado;
}

} // namespace programa
