#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// The planner's alert sounds, synthesised: each a complete WAVE file image (mono, 16-bit PCM).
namespace sons {

inline constexpr int TaxaDeAmostragem = 22050;

// Every sound under its resource name (AHA, CAMPAINHA, CUCO, NAVE, SIRENE, TELEFONE, TIRO).
std::vector<std::pair<QString, QByteArray>> TodosOsSons();

} // namespace sons
