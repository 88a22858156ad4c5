#pragma once

#include <QString>

// Makes an empty planner database with every table the planner expects.
// Returns an empty string on success, else the reason it failed. Never overwrites a file.
QString CriarBaseVazia(const QString &arquivo);
