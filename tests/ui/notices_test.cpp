// SPDX-License-Identifier: GPL-3.0-or-later
#include "notices.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(NoticeBoard, ShowsTheMostPressingPostedNotice) {
    NoticeBoard board;
    EXPECT_EQ(board.shown(), nullptr);
    board.post(NoticeId::earlier_log_kept, Severity::information, "kept");
    board.post(NoticeId::load_reading, Severity::information, "read as 35");
    EXPECT_EQ(board.shown()->text, "read as 35");
    board.post(NoticeId::load_problem, Severity::warning, "too large");
    EXPECT_EQ(board.shown()->text, "too large");
    EXPECT_EQ(board.shown()->severity, Severity::warning);
    board.withdraw(NoticeId::load_problem);
    board.post(NoticeId::load_reading, Severity::information, "");  // nothing to say: withdrawn
    EXPECT_EQ(board.shown()->text, "kept");
    EXPECT_FALSE(board.has(NoticeId::load_reading));
    board.withdraw(NoticeId::earlier_log_kept);
    EXPECT_EQ(board.shown(), nullptr);
}

}  // namespace
}  // namespace kestrune
