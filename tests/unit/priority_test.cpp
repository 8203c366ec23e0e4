#include "core/priority.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

TEST(PriorityName, ByteExactTextsAndFallback) {
    EXPECT_EQ(PriorityName(0x100), "\x83\x8A\x83\x41\x83\x8B\x83\x5E\x83\x43\x83\x80");
    EXPECT_EQ(PriorityName(0x80), "\x8D\x82");
    EXPECT_EQ(PriorityName(0x8000), "\x92\xCA\x8F\xED\x88\xC8\x8F\xE3");
    EXPECT_EQ(PriorityName(0x20), "\x92\xCA\x8F\xED");
    EXPECT_EQ(PriorityName(0x4000), "\x92\xCA\x8F\xED\x88\xC8\x89\xBA");
    EXPECT_EQ(PriorityName(0x40), "\x92\xE1");
    EXPECT_EQ(PriorityName(0), "\x8E\x77\x92\xE8\x82\xC8\x82\xB5");
    EXPECT_EQ(PriorityName(0x10), "\x92\xE1");
    EXPECT_EQ(EntryPriorityName(0), "\x92\xE1");
    EXPECT_EQ(EntryPriorityName(0x80), "\x8D\x82");
}

TEST(PriorityFromName, RoundTripsAndFallsBackToLow) {
    for (PriorityLevel level : {kRealtime, kHigh, kAboveNormal, kNormal, kBelowNormal, kIdle, kNoPriority}) {
        EXPECT_EQ(PriorityFromName(PriorityName(level)), level);
    }
    EXPECT_EQ(PriorityFromName(""), kIdle);
    EXPECT_EQ(PriorityFromName("\x8D\x82 "), kIdle);  // "高 " is not "高"
    EXPECT_EQ(PriorityFromName("high"), kIdle);
    EXPECT_EQ(EntryPriorityFromName("指定なし"), kIdle);
    EXPECT_EQ(EntryPriorityFromName("通常以下"), kBelowNormal);
}

TEST(ExtendedPriorities, OnlyFromWindows2000) {
    EXPECT_FALSE(HasExtendedPriorities({4, 0, 1381, kPlatformNt}));
    EXPECT_TRUE(HasExtendedPriorities({5, 0, 2195, kPlatformNt}));
    EXPECT_FALSE(HasExtendedPriorities({4, 90, 3000, kPlatformWindows}));
    EXPECT_EQ(PriorityMenuPosition({6, 1, 0, kPlatformNt}), 1);
    EXPECT_EQ(PriorityMenuPosition({4, 0, 0, kPlatformNt}), 2);
}

TEST(ConfirmHighPriority, AsksWithExactBoxAndOnlyNoRefuses) {
    testing::ScriptedMessageBoxes boxes;
    boxes.answers = {kIdNo, kIdYes, kIdCancel};
    EXPECT_FALSE(ConfirmHighPriority(boxes));
    EXPECT_TRUE(ConfirmHighPriority(boxes));
    EXPECT_TRUE(ConfirmHighPriority(boxes));
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].flags, 0x134u);
    EXPECT_EQ(boxes.shown[0].caption, "\x97\x44\x90\xE6\x93\x78\x82\xCC\x8A\x6D\x94\x46");  // 優先度の確認
    EXPECT_EQ(boxes.shown[0].text,
              "この設定は、他のアプリケーションの実行速度を著しく\n低下させる可能性があるため、おすすめできません。"
              "\n本当に設定してもよろしいですか？");
}

}  // namespace
}  // namespace tarnwick
