#pragma once

#include "JournalNote.h"

#include <QString>

#include <optional>

namespace corvanta::journal {

enum class WriteKind { Add, Save };

// The widths of dxgp's text columns, in characters: the code 6, the name, the
// quote fields and the rating 10. The engine would store a longer value whole, so
// the journal refuses it itself.
inline constexpr int codeWidth = 6;
inline constexpr int fieldWidth = 10;

// The message refusing the first value longer than its column; none when all fit.
std::optional<QString> overlongValue(const NoteDraft& draft, const QString& rating, WriteKind kind);

} // namespace corvanta::journal
