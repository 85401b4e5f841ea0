#include "exchange/PinyinCode.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Failure messages show texts as texts.
static void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

static void PrintTo(QChar c, std::ostream* os)
{
    PrintTo(QString(c), os);
}

namespace corvanta {
namespace {

// The character whose two GBK bytes are the given value.
QString gbkCharacter(unsigned value)
{
    const char bytes[] = {char(value >> 8), char(value & 0xff)};
    QStringDecoder gbk("GBK");
    return gbk.decode(QByteArrayView(bytes, 2));
}

struct NameCase {
    QString name;
    QString code;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << '"' << c.name.toStdString() << "\" -> \"" << c.code.toStdString() << '"';
}

class PinyinCodeOfName : public testing::TestWithParam<NameCase> {};

TEST_P(PinyinCodeOfName, GivesInitialsWithoutBlanks)
{
    EXPECT_EQ(pinyinCode(GetParam().name), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Names, PinyinCodeOfName,
                         testing::Values(
                             // 银 and 行 sit in the X and Y runs by their GB2312 positions.
                             NameCase{u"银行"_s, u"YX"_s}, NameCase{u"中兴通讯"_s, u"ZXTX"_s},
                             NameCase{u"保利地产"_s, u"BLDC"_s},
                             // A full-width letter is double-byte but no hanzi.
                             NameCase{u"深振业Ａ"_s, u"SZY*"_s},
                             // Single-byte characters stay as they are; only the blank is dropped.
                             NameCase{u"*ST 宝投"_s, u"*STBT"_s},
                             NameCase{u"ST 达 声"_s, u"STDS"_s}, NameCase{u"万  科Ａ"_s, u"WK*"_s},
                             NameCase{u"PT金田A"_s, u"PTJTA"_s}, NameCase{u"abc 12"_s, u"abc12"_s},
                             NameCase{u""_s, u""_s}, NameCase{u"   "_s, u""_s},
                             // The full-width blank is a double-byte symbol, not a blank.
                             NameCase{u"万　科"_s, u"W*K"_s},
                             // A level-2 hanzi (鑫, 0xF6CE) has no initial.
                             NameCase{u"鑫"_s, u"*"_s},
                             // Characters GBK cannot write at all, a lone surrogate included.
                             NameCase{u"A😀B"_s, u"A*B"_s},
                             NameCase{QString(QChar(0xD800)) + u"中"_s, u"*Z"_s},
                             // 0x80 is the one single-byte GBK character outside ASCII.
                             NameCase{u"€1"_s, u"€1"_s}));

struct ValueCase {
    unsigned value;
    char16_t initial;
};

void PrintTo(const ValueCase& c, std::ostream* os)
{
    *os << std::hex << "0x" << c.value << " -> " << char(c.initial);
}

class PinyinInitialOfValue : public testing::TestWithParam<ValueCase> {};

TEST_P(PinyinInitialOfValue, MatchesItsRange)
{
    EXPECT_EQ(pinyinInitial(GetParam().value), QChar(GetParam().initial));
}

// The same value reached through a name: the encoder must give exactly these bytes.
TEST_P(PinyinInitialOfValue, SameThroughTheCharacter)
{
    const QString character = gbkCharacter(GetParam().value);
    ASSERT_EQ(character.size(), 1);
    EXPECT_EQ(pinyinCode(character), QString(QChar(GetParam().initial)));
}

// The first and last value of every run, and the values just outside the table.
INSTANTIATE_TEST_SUITE_P(
    RangeBounds, PinyinInitialOfValue,
    testing::Values(ValueCase{0xB0A1, u'A'}, ValueCase{0xB0C4, u'A'}, ValueCase{0xB0C5, u'B'},
                    ValueCase{0xB2C0, u'B'}, ValueCase{0xB2C1, u'C'}, ValueCase{0xB4ED, u'C'},
                    ValueCase{0xB4EE, u'D'}, ValueCase{0xB6E9, u'D'}, ValueCase{0xB6EA, u'E'},
                    ValueCase{0xB7A1, u'E'}, ValueCase{0xB7A2, u'F'}, ValueCase{0xB8C0, u'F'},
                    ValueCase{0xB8C1, u'G'}, ValueCase{0xB9FD, u'G'}, ValueCase{0xB9FE, u'H'},
                    ValueCase{0xBBF6, u'H'}, ValueCase{0xBBF7, u'J'}, ValueCase{0xBFA5, u'J'},
                    ValueCase{0xBFA6, u'K'}, ValueCase{0xC0AB, u'K'}, ValueCase{0xC0AC, u'L'},
                    ValueCase{0xC2E7, u'L'}, ValueCase{0xC2E8, u'M'}, ValueCase{0xC4C2, u'M'},
                    ValueCase{0xC4C3, u'N'}, ValueCase{0xC5B5, u'N'}, ValueCase{0xC5B6, u'O'},
                    ValueCase{0xC5BD, u'O'}, ValueCase{0xC5BE, u'P'}, ValueCase{0xC6D9, u'P'},
                    ValueCase{0xC6DA, u'Q'}, ValueCase{0xC8BA, u'Q'}, ValueCase{0xC8BB, u'R'},
                    ValueCase{0xC8F5, u'R'}, ValueCase{0xC8F6, u'S'}, ValueCase{0xCBF9, u'S'},
                    ValueCase{0xCBFA, u'T'}, ValueCase{0xCDD9, u'T'}, ValueCase{0xCDDA, u'W'},
                    ValueCase{0xCEF3, u'W'}, ValueCase{0xCEF4, u'X'}, ValueCase{0xD1B8, u'X'},
                    ValueCase{0xD1B9, u'Y'}, ValueCase{0xD4D0, u'Y'}, ValueCase{0xD4D1, u'Z'},
                    ValueCase{0xD7F9, u'Z'},
                    // Symbols below the hanzi, and the first level-2 hanzi.
                    ValueCase{0xA3C1, u'*'}, ValueCase{0xAFFE, u'*'}, ValueCase{0xD8A1, u'*'}));

TEST(PinyinInitial, OutsideTheRunsGivesStar)
{
    for (unsigned value : {0u, 0x41u, 0xB0A0u, 0xD7FAu, 0xF7FEu, 0xFFFFu, 0x1B0A1u})
        EXPECT_EQ(pinyinInitial(value), QChar(u'*')) << std::hex << value;
}

// 选 (0xD1A1) to 迅 (0xD1B8) close the X run; 0xD1B9 opens Y.
TEST(PinyinInitial, XRunEndsAtD1B8)
{
    for (unsigned value = 0xD1A1; value <= 0xD1B8; ++value)
        EXPECT_EQ(pinyinInitial(value), QChar(u'X')) << std::hex << value;
    EXPECT_EQ(pinyinCode(u"选迅"_s), u"XX"_s);
    EXPECT_EQ(pinyinInitial(0xD1B9), QChar(u'Y'));
}

} // namespace
} // namespace corvanta
