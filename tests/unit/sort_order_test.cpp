#include "ui/sort_order.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tarnwick {
namespace {

TEST(SortOrderTest, EachColumnFlipsItsOwnDirectionStartingDescending) {
    SortDirections directions;
    EXPECT_FALSE(directions.Ready());
    directions.Prepare(3);
    EXPECT_EQ(directions.Flip(1), SORT_DESCENDING);
    EXPECT_EQ(directions.Flip(2), SORT_DESCENDING);  // another column in between
    EXPECT_EQ(directions.Flip(1), SORT_ASCENDING);
    directions.Prepare(6);  // a later click does not recreate them
    EXPECT_EQ(directions.Flip(1), SORT_DESCENDING);
    EXPECT_EQ(directions.Flip(2), SORT_ASCENDING);
}

TEST(SortOrderTest, CellsCompareAsUpperCasedUnsignedBytes) {
    const std::tuple<const char*, const char*, int> cases[] = {  // a, b, ascending
        {"editor.exe", "EDITOR.EXE", 0},               // letter case does not count
        {"\x82\x81.exe", "\x82\x60.EXE", 0},           // nor full-width letter case
        {"10", "9", -1},                               // digits compare as text
        {"", "1", -1},                                 // an empty cell comes first
        {"abc", "abcd", -1},                           // a prefix comes first
        {"z", "\x82\xA0", -1},                         // bytes are unsigned: 0x82 after 'Z'
        {"\x92\xCA\x8F\xED", "\x8D\x82", 1},           // 通常 after 高 by their bytes
        {"\xB1", "\x82\xA0", 1},                       // half-width ｱ (0xB1) after 0x82
    };
    for (const auto& [a, b, ascending] : cases) {
        SCOPED_TRACE(std::string(a) + " / " + b);
        EXPECT_EQ(SortColumn({a, b}, SORT_ASCENDING).Compare(0, 1), ascending);
        EXPECT_EQ(SortColumn({a, b}, SORT_DESCENDING).Compare(0, 1), -ascending);
    }
}

}  // namespace
}  // namespace tarnwick
