#include "PinyinCode.h"

#include <QByteArray>
#include <QStringEncoder>

#include <array>

namespace corvanta {

namespace {

struct InitialRange {
    unsigned from;
    unsigned to;
    char16_t letter;
};

// The level-1 hanzi of GB2312 are ordered by pinyin, so each initial letter
// covers one contiguous run of code values (bounds included). No hanzi reading
// starts with I, U or V.
constexpr std::array<InitialRange, 23> initialRanges{{
    {0xB0A1, 0xB0C4, u'A'}, {0xB0C5, 0xB2C0, u'B'}, {0xB2C1, 0xB4ED, u'C'}, {0xB4EE, 0xB6E9, u'D'},
    {0xB6EA, 0xB7A1, u'E'}, {0xB7A2, 0xB8C0, u'F'}, {0xB8C1, 0xB9FD, u'G'}, {0xB9FE, 0xBBF6, u'H'},
    {0xBBF7, 0xBFA5, u'J'}, {0xBFA6, 0xC0AB, u'K'}, {0xC0AC, 0xC2E7, u'L'}, {0xC2E8, 0xC4C2, u'M'},
    {0xC4C3, 0xC5B5, u'N'}, {0xC5B6, 0xC5BD, u'O'}, {0xC5BE, 0xC6D9, u'P'}, {0xC6DA, 0xC8BA, u'Q'},
    {0xC8BB, 0xC8F5, u'R'}, {0xC8F6, 0xCBF9, u'S'}, {0xCBFA, 0xCDD9, u'T'}, {0xCDDA, 0xCEF3, u'W'},
    {0xCEF4, 0xD1B8, u'X'}, {0xD1B9, 0xD4D0, u'Y'}, {0xD4D1, 0xD7F9, u'Z'},
}};

constexpr char16_t noInitial = u'*';

// Length in UTF-16 units of the character starting at `i` (2 for a surrogate pair).
qsizetype characterLength(const QString& text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

QChar pinyinInitial(unsigned value)
{
    for (const InitialRange& range : initialRanges) {
        if (value >= range.from && value <= range.to)
            return range.letter;
    }
    return noInitial;
}

QString pinyinCode(const QString& name)
{
    QStringEncoder gbk("GBK");
    QString code;
    code.reserve(name.size());
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype length = characterLength(name, i);
        const QStringView character = QStringView(name).mid(i, length);
        i += length;

        const char16_t first = character.front().unicode();
        if (first == u' ')
            continue;
        if (first < 0x80) { // ASCII is the single-byte half of GBK
            code += character;
            continue;
        }

        const QByteArray bytes = gbk.encode(character);
        if (gbk.hasError() || bytes.isEmpty()) {
            // Not a GBK character at all: it has no initial either.
            gbk.resetState();
            code += noInitial;
        } else if (bytes.size() == 2) {
            const auto lead = static_cast<unsigned char>(bytes.at(0));
            const auto trail = static_cast<unsigned char>(bytes.at(1));
            code += pinyinInitial(lead * 256u + trail);
        } else if (bytes.size() == 1 && static_cast<unsigned char>(bytes.at(0)) < 0x81) {
            code += character; // a single-byte character outside ASCII (0x80)
        } else {
            code += noInitial; // a lone lead byte, or a longer sequence
        }
    }
    return code;
}

} // namespace corvanta
