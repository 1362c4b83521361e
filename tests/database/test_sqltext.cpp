// Texts come out as the hospital writes them; only apostrophes in values change.

#include "database/sqltext.h"

#include <gtest/gtest.h>

using namespace chemodesk;

TEST(SqlText, ProcedureCallsFollowTheHouseConvention)
{
    EXPECT_EQ(sql::call(QStringLiteral("Clinical_Area"), QStringLiteral("spCancer_GetPatient"),
                        {QStringLiteral("I"), QString(), QString(), QString()}),
              QStringLiteral("Clinical_Area..spCancer_GetPatient 'I','','',''"));
    EXPECT_EQ(sql::call(QStringLiteral("laboratory"), QStringLiteral("Verifiy_Chargeslip"),
                        {QStringLiteral("G1520C")}),
              QStringLiteral("laboratory..Verifiy_Chargeslip 'G1520C'"));
    EXPECT_EQ(sql::call(QStringLiteral("Clinical_Area"), QStringLiteral("spCancer_ChargingCodes"),
                        QStringList()),
              QStringLiteral("Clinical_Area..spCancer_ChargingCodes"));
    EXPECT_EQ(sql::call(QStringLiteral("X"), QStringLiteral("sp"),
                        {QStringLiteral("O'Brien"), QStringLiteral("'; --")}),
              QStringLiteral("X..sp 'O''Brien','''; --'"));
}

TEST(SqlText, QuotingDoublesApostrophesOnly)
{
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("''")},
        {QStringLiteral("SMITH"), QStringLiteral("'SMITH'")},
        {QStringLiteral("O'Brien"), QStringLiteral("'O''Brien'")},
        {QStringLiteral("''"), QStringLiteral("''''''")},
        {QString::fromUtf8("Peña \"x\" `y` \\"), QString::fromUtf8("'Peña \"x\" `y` \\'")},
    };
    for (const auto &[value, quoted] : cases)
        EXPECT_EQ(sql::quote(value), quoted);
    EXPECT_EQ(sql::backtickApostrophes(QStringLiteral("patient's bill")),
              QStringLiteral("patient`s bill"));
}
