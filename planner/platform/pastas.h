#pragma once

#include <QString>

// Where the planner's files live on a Linux system: the folder of dadosu.lst, and the folder of
// the documents the program opens (the help document and the README).
namespace pastas {

enum class OrigemDados {
    Variavel,  // VELORA_DADOS (or a folder given by a test)
    Programa,  // the executable's folder: a build-tree run, or a copy that keeps its file beside it
    Usuario,   // the installed program's folder under $XDG_DATA_HOME
};

struct PastaDados {
    QString pasta;
    OrigemDados origem;
};

// The facts the choice rests on: AmbienteAtual() reads them from the process, tests give any.
struct Ambiente {
    QString variavel;        // VELORA_DADOS
    QString pastaPrograma;   // the running executable's folder
    QString pastaInstalada;  // the configured install bin folder
    QString xdgDataHome;     // XDG_DATA_HOME
    QString home;            // HOME
};
Ambiente AmbienteAtual();

// The running executable is the installed one: it lies in the configured install bin folder.
bool ProgramaInstalado(const Ambiente &a);

// VELORA_DADOS when set; else the program's folder when it holds dadosu.lst; else, for the
// installed program only, $XDG_DATA_HOME/velora (~/.local/share/velora when that is unset or
// not absolute); else the program's folder, where the start-up probe will find no file.
PastaDados EscolherPastaDados(const Ambiente &a);

// Readies the chosen folder before the start-up probe. The installed program's own folder is
// made (0700, as for any XDG folder) with an empty database when it holds none; a folder that
// holds the file, or is to hold it, must take new files (SQLite writes its journal beside the
// file) and the file must open for writing. Elsewhere a missing file is left for the probe to
// report. Returns "" when ready, else the message naming the folder (or the file); nothing but
// the folder and its empty database is ever made.
QString PrepararPastaDados(const PastaDados &p);

// The folder of README.md and AjudaAgenda.doc: the installed program's share folder, else the
// executable's folder, where the build puts them.
QString PastaDocumentos();

} // namespace pastas
