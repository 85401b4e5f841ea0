#include "calc/NumericKeyFilter.h"

#include <QString>

#include <gtest/gtest.h>

using namespace corvanta;

namespace {

struct KeyCase {
    NumericField field;
    const char* text; // the input's text before the key
    NumericKey key;
    char digit;
    bool accepted;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << (c.field == NumericField::Quantity ? "quantity" : "price") << " \"" << c.text
        << "\" key " << int(c.key) << " '" << (c.digit ? c.digit : ' ') << "'";
}

class FieldKeyAccepted : public ::testing::TestWithParam<KeyCase> {};

TEST_P(FieldKeyAccepted, DigitsOnePointBackspaceAndEnter)
{
    const KeyCase& c = GetParam();
    const QChar digit = c.digit ? QChar(QLatin1Char(c.digit)) : QChar();
    EXPECT_EQ(fieldKeyAccepted(c.field, QString::fromUtf8(c.text), c.key, digit), c.accepted);
}

constexpr auto Price = NumericField::Price;
constexpr auto Quantity = NumericField::Quantity;

INSTANTIATE_TEST_SUITE_P(Keys, FieldKeyAccepted,
                         ::testing::Values(KeyCase{Price, "", NumericKey::Point, 0, false},
                                           KeyCase{Price, "1", NumericKey::Point, 0, true},
                                           KeyCase{Price, "1.5", NumericKey::Point, 0, false},
                                           KeyCase{Price, "0", NumericKey::Digit, '0', false},
                                           KeyCase{Price, "0", NumericKey::Digit, '5', true},
                                           KeyCase{Price, "10", NumericKey::Digit, '0', true},
                                           KeyCase{Price, "0.", NumericKey::Digit, '0', true},
                                           KeyCase{Price, "", NumericKey::Digit, '0', true},
                                           KeyCase{Price, "12", NumericKey::Other, 0, false},
                                           KeyCase{Price, "", NumericKey::Backspace, 0, true},
                                           KeyCase{Price, "0", NumericKey::Enter, 0, true},
                                           KeyCase{Quantity, "", NumericKey::Point, 0, false},
                                           KeyCase{Quantity, "12", NumericKey::Point, 0, false},
                                           KeyCase{Quantity, "0", NumericKey::Digit, '0', false},
                                           KeyCase{Quantity, "1", NumericKey::Digit, '0', true},
                                           KeyCase{Quantity, "1", NumericKey::Other, 0, false},
                                           KeyCase{Quantity, "12", NumericKey::Enter, 0, true}));

// The base filter leaves a "." into an empty text to the per-field rules.
TEST(NumericKeyAccepted, PointIntoEmptyTextWithoutFieldRule)
{
    EXPECT_TRUE(numericKeyAccepted(u"", NumericKey::Point));
    EXPECT_FALSE(numericKeyAccepted(u".", NumericKey::Point));
}

} // namespace
