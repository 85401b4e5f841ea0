#pragma once

#include <QString>
#include <QStringView>

namespace corvanta {

// The initials of the common readings of a hanzi that has readings beginning with
// different letters ("HX" for 行: háng, xíng); empty for every other character.
QStringView readingInitials(char32_t hanzi);

// Whether `typed` (upper-case pinyin initials) begins the name's code when each
// character may stand for any of its common readings: 招商银行, stored as ZSYX, is
// found by ZSYH too. `stored` is the name's stored code (one character per
// character of the name, blanks left out); its letter always counts.
bool pinyinPrefixMatches(const QString& name, const QString& stored, QStringView typed);

} // namespace corvanta
