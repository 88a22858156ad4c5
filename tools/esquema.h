#pragma once

#include <QString>

// Makes an empty planner database with every table the planner expects: an SQLite file at the
// path given, or the tables and functions in the PostgreSQL database a postgresql:// URI names.
// Returns an empty string on success, else the reason it failed. Never overwrites a file, nor a
// database that already holds the planner's tables.
QString CriarBaseVazia(const QString &arquivo);

// Whether banco names a PostgreSQL database (a postgresql:// or postgres:// URI) rather than a file.
bool EhEnderecoPostgres(const QString &banco);

// Whether the file exists, or the PostgreSQL database holds the planner's tables.
bool BaseExiste(const QString &banco);
