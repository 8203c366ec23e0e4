#include "core/priority.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tarnwick {
namespace {

// Cancel, or a box that could not be shown, lets the change through.
TEST(ConfirmHighPriority, OnlyNoRefuses) {
    testing::ScriptedMessageBoxes boxes;
    boxes.answers = {kIdNo, kIdYes, kIdCancel, 0};
    EXPECT_FALSE(ConfirmHighPriority(boxes));
    EXPECT_TRUE(ConfirmHighPriority(boxes));
    EXPECT_TRUE(ConfirmHighPriority(boxes));
    EXPECT_TRUE(ConfirmHighPriority(boxes));
    EXPECT_EQ(boxes.shown.size(), 4u);
}

}  // namespace
}  // namespace tarnwick
