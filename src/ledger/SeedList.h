#pragma once

#include "Schema.h"

#include <QList>
#include <QStringView>

#include <optional>

namespace corvanta::ledger {

// The stock list shipped inside the program (resource ":/data/seed-stocks.txt"),
// one "[code[,[name[,[PINYIN[" entry per line, the placeholder stock first.
// Throws std::runtime_error when the resource is missing or an entry is malformed.
QList<SeedStock> loadSeedList();

// One entry of that form; empty for anything else (a missing bracket, a field
// too many or too few, an empty code or name). The pinyin may be empty.
std::optional<SeedStock> parseSeedEntry(QStringView line);

} // namespace corvanta::ledger
