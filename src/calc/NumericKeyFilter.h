#pragma once

#include <QStringView>

namespace corvanta {

// Which keys a numeric input accepts, given its text before the key.
enum class NumericKey { Digit, Point, Backspace, Enter, Other };

// Digits, one ".", Backspace and Enter; a "0" is refused while the text is exactly "0".
bool numericKeyAccepted(QStringView text, NumericKey key, QChar digit = QChar());

// The per-input rules: the quantity never takes "."; the price, the rate inputs
// and the sell-target boxes refuse a "." into an empty text.
enum class NumericField { Quantity, Price };
bool fieldKeyAccepted(NumericField field, QStringView text, NumericKey key, QChar digit = QChar());

} // namespace corvanta
