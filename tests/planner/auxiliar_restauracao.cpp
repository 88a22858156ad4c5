// Restores the backups named after the data folder one after the other, round and round, until
// it is killed: the test of interrupted restores kills it at random moments.
//   planner_auxiliar_restauracao <data folder> <backup>...

#include "backup/modBackup.h"
#include "core/modDb.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    modDb::DefinirPastaDados(QString::fromLocal8Bit(argv[1]));
    for (int i = 2;; i = i + 1 < argc ? i + 1 : 2) {
        const qint32 erro = RestaurarBackup(QString::fromLocal8Bit(argv[i]));
        std::printf("%d\n", int(erro));
        std::fflush(stdout);
        if (erro != 0)
            return 1;
    }
}
