#include "hospitaldb/procedurevalues.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace chemodesk;
using namespace chemodesk::hospital::values;

namespace {

// What the saving procedures store for a number must not depend on whether it
// took the quick way: every plain decimal reads as the double's literal would.
TEST(ProcedureValues, APlainDecimalIsWrittenAsItsNumberWouldBe)
{
    struct Case {
        const char *text;
        const char *literal; // nullptr: not taken the quick way
    };
    const Case cases[] = {
        {"2", "2"},
        {"91.5", "91.5"},
        {"91.50", "91.5"},
        {"007", "7"},
        {"2.", "2"},
        {".5", "0.5"},
        {"0", "0"},
        {"0.000", "0"},
        {"0.0001", "0.0001"},
        {"100", "100"},
        {"123456789012345", "123456789012345"},
        {"12345678901234.5", "12345678901234.5"},
        {"0.000123456789012345", "0.000123456789012345"},
        {"0.00001", nullptr},           // 1e-05
        {"1234567890123456", nullptr},  // 1.23456789012346e+15
        {"1.234567890123456", nullptr}, // sixteen digits, rounded
        {"-2", nullptr},
        {"+2", nullptr},
        {"1e3", nullptr},
        {"1,000", nullptr},
        {" 2", nullptr},
        {".", nullptr},
        {"", nullptr},
        {"1.2.3", nullptr},
        {"\xd9\xa3", nullptr}, // an Arabic-Indic three
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const std::optional<QString> plain = plainDecimal(text);
        ASSERT_EQ(plain.has_value(), c.literal != nullptr) << c.text;
        if (!plain)
            continue;
        EXPECT_EQ(*plain, QLatin1String(c.literal)) << c.text;
        EXPECT_EQ(*plain, literal(text.toDouble())) << c.text;
    }

    // Decimals of every length and shape against the double's own literal.
    QRandomGenerator random(20261211);
    // Zeros more often than the other digits: leading and trailing ones are what is dropped.
    auto digit = [&random] {
        return QChar(u'0' + (random.bounded(3) == 0 ? 0 : random.bounded(10)));
    };
    for (int n = 0; n < 20000; ++n) {
        QString text;
        for (int i = random.bounded(18); i > 0; --i)
            text += digit();
        if (random.bounded(3) > 0) {
            text += QLatin1Char('.');
            for (int i = random.bounded(18); i > 0; --i)
                text += digit();
        }
        if (const std::optional<QString> plain = plainDecimal(text)) {
            ASSERT_EQ(*plain, literal(text.toDouble())) << qPrintable(text);
        }
    }
}

TEST(ProcedureValues, AQuantityMustBeAboveZeroWhicheverWayItIsRead)
{
    for (const char *text : {"0", "0.00", "-1", "0e1"})
        EXPECT_THROW(quantity(QStringLiteral("sp"), QLatin1String(text)), DatabaseError) << text;
    EXPECT_EQ(quantity(QStringLiteral("sp"), QStringLiteral("2.50")), QStringLiteral("2.5"));
    EXPECT_EQ(amount(QStringLiteral("sp"), QStringLiteral("1e3")), QStringLiteral("1000"));
    EXPECT_THROW(amount(QStringLiteral("sp"), QStringLiteral("12a")), DatabaseError);
    EXPECT_EQ(numberOrZero(QStringLiteral("sp"), "amount", QString()), QStringLiteral("0"));
}

} // namespace
