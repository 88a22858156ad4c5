#pragma once

#include <QStringList>

#include <cstdio>
#include <optional>

// The data commands of the command line: --exportar-ics, --importar-ics, --exportar-vcf,
// --importar-vcf (each with a file) and --exportar-csv ANO-MES (to standard output, or to the
// file after it), for the user named by --usuario LOGIN, whose password (when the account has
// one) is read from the first line of standard input. Nothing when the arguments name no data
// command; else the exit status, the outcome written to saida and failures to erro.
bool ComandoDeDados(const QStringList &argumentos);
int ExecutarComandoDeDados(const QStringList &argumentos, FILE *entrada, FILE *saida, FILE *erro);
