#include "PinyinReadings.h"

#include <algorithm>
#include <iterator>

namespace corvanta {

namespace {

struct Readings {
    char32_t hanzi;
    const char16_t* initials;
};

// Sorted by code point.
constexpr Readings readingsTable[] = {
#include "PinyinReadingsTable.inc"
};

} // namespace

QStringView readingInitials(char32_t hanzi)
{
    const auto found =
        std::lower_bound(std::begin(readingsTable), std::end(readingsTable), hanzi,
                         [](const Readings& entry, char32_t value) { return entry.hanzi < value; });
    if (found == std::end(readingsTable) || found->hanzi != hanzi)
        return {};
    return QStringView(found->initials);
}

bool pinyinPrefixMatches(const QString& name, const QString& stored, QStringView typed)
{
    qsizetype position = 0;
    for (qsizetype i = 0; position < typed.size() && i < name.size();) {
        char32_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name.at(i), name.at(i + 1));
            ++i;
        }
        ++i;
        if (c == U' ')
            continue; // blanks have no letter in the stored code
        const QChar wanted = typed.at(position);
        const bool storedLetter = position < stored.size() && stored.at(position) == wanted;
        if (!storedLetter && !readingInitials(c).contains(wanted))
            return false;
        ++position;
    }
    return position == typed.size();
}

} // namespace corvanta
