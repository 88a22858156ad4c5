#pragma once

class JanelaPrincipal;

// The main window's backup and restore buttons, and the restore the reserved login starts on
// the logon window before anyone signs on. The folder standing for drive A: comes from
// platform/unidade_a.
void frmAgenda_cmdBackup_Click(JanelaPrincipal &principal);
void frmAgenda_cmdRestore_Click(JanelaPrincipal &principal);
// True once the file was restored; the logon form then readies itself for the restored users.
bool frmLogon_RestaurarBackup();
