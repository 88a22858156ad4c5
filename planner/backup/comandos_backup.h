#pragma once

// The main window's backup and restore buttons, and the restore the reserved login starts on
// the logon window before anyone signs on. The folder standing for drive A: comes from
// platform/unidade_a.
void frmAgenda_cmdBackup_Click();
void frmAgenda_cmdRestore_Click();
void frmLogon_RestaurarBackup();
