// The key filter: letters become capitals, every other key passes unchanged.

#include "components/keyaid.h"

#include <gtest/gtest.h>

#include <qnamespace.h>

using chemodesk::components::KeyAid;

TEST(KeyFilter, AllUppersCapitalisesLettersOnly)
{
    KeyAid keys;
    const std::pair<int, int> cases[] = {
        {'a', 'A'},
        {'z', 'Z'},
        {'m', 'M'},
        {'A', 'A'},
        {'1', '1'},
        {' ', ' '},
        {'-', '-'},
        {'\'', '\''},
        {0xF1, 0xD1}, // n with tilde, as in Peñaflor
        {0, 0},
        {8, 8},
        {13, 13},
        {27, 27},
        {Qt::Key_Return, Qt::Key_Return},
        {Qt::Key_Escape, Qt::Key_Escape},
        {Qt::Key_F3, Qt::Key_F3},
    };
    for (const auto &[typed, entered] : cases)
        EXPECT_EQ(keys.AllUppers(typed), entered) << typed;
}
