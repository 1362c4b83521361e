#include "session/scrambler.h"

#include <gtest/gtest.h>

using chemodesk::session::AccessCodeKey;
using chemodesk::session::Scramble;

namespace {

QString encode(const QString &text)
{
    return Scramble(QStringLiteral("E"), AccessCodeKey, text);
}
QString decode(const QString &text)
{
    return Scramble(QStringLiteral("D"), AccessCodeKey, text);
}

TEST(Scrambler, EveryCharacterCodeSurvivesARoundTrip)
{
    for (int code = 1; code <= 254; ++code) {
        const QString text(QChar{code});
        const QString encoded = encode(text);
        EXPECT_EQ(encoded.size(), 4) << code;
        EXPECT_TRUE(encoded.startsWith(QLatin1String("5B"))) << code;
        EXPECT_EQ(decode(encoded), text) << code;
    }
}

TEST(Scrambler, LongTextsSurviveARoundTripAcrossTheKeyLength)
{
    // Longer than the 13-character key, so the key wraps round.
    QString text;
    for (int code = 1; code <= 254; code += 7)
        text += QChar{code};
    EXPECT_EQ(decode(encode(text)), text);
    EXPECT_EQ(decode(encode(QStringLiteral("ROSE1001"))), QStringLiteral("ROSE1001"));
}

// Worked by hand: "A" (65) + 91 = 156, 156 xor 'K' (75) = 215 = D7;
// "B" (66) + 215 = 281 mod 255 = 26, 26 xor 'E' (69) = 95 = 5F;
// "ä" (228) + 91 = 319 mod 255 = 64, 64 xor 'K' (75) = 11, written " B";
// then "A" (65) + 11 = 76, 76 xor 'E' (69) = 9, written " 9".
TEST(Scrambler, KnownEncodings)
{
    const struct {
        QString plain;
        QString scrambled;
    } cases[] = {
        {QStringLiteral("A"), QStringLiteral("5BD7")},
        {QStringLiteral("AB"), QStringLiteral("5BD75F")},
        {QString(QChar{228}), QStringLiteral("5B B")},
        {QString(QChar{228}) + QLatin1Char('A'), QStringLiteral("5B B 9")},
        {QString(), QStringLiteral("5B")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(encode(c.plain), c.scrambled) << c.plain.toStdString();
        EXPECT_EQ(decode(c.scrambled), c.plain) << c.scrambled.toStdString();
    }
}

TEST(Scrambler, OtherModesGiveAnEmptyText)
{
    for (const QString &mode : {QStringLiteral("e"), QStringLiteral("X"), QString()})
        EXPECT_TRUE(Scramble(mode, AccessCodeKey, QStringLiteral("ABC")).isEmpty())
            << mode.toStdString();
}

} // namespace
