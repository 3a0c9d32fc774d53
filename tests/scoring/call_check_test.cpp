#include "scoring/call_check.h"

#include "plugin/exports.h"
#include "plugin/module_state.h"
#include "test_support.h"

using CallCheckTest = ScratchDirTest;

TEST_F(CallCheckTest, BandDisagreementAnswersFourAndTouchesNoPanel) {
  FakePanel panel;
  Module().panel = &panel;
  EXPECT_EQ(4, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "40m"));
  EXPECT_EQ(0, panel.nudges);
  EXPECT_EQ(2, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "20M"));
  EXPECT_EQ(2, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", nullptr));
  EXPECT_EQ(2, HostCheck("Q2AA", "RTTY", "Q2", "599", nullptr, "40m"));
  EXPECT_EQ(3, panel.nudges) << "each answered check re-arms the panel timer";
}

TEST_F(CallCheckTest, DupeKnownPrefixOrNewMultiplier) {
  HostReset();
  HostQso q;  // Q2AA, 20m, RTTY, prefix Q2
  HostAdd(q);
  EXPECT_EQ(0, HostCheck("Q2AA", "RTTY", "Q2", "599", "20m", "20m"));
  EXPECT_EQ(1, HostCheck("Q2AA", "HELL", "Q2", "599", "20m", "20m"));
  EXPECT_EQ(1, HostCheck("Q2AA", "RTTY", "Q2", "599", "40m", "40m"));
  EXPECT_EQ(2, HostCheck("Q3BB", "RTTY", "Q3", "599", "20m", "20m"));
  EXPECT_EQ(2, HostCheck("q2aa", "RTTY", "q2", "599", "20m", "20m")) << "case counts";
  EXPECT_EQ(1, HostCheck("Q2AA", "RTTY", "Q2", "", "20m", "20m")) << "empty exchange answers 1";
}

TEST_F(CallCheckTest, PrefixOfADupeRecordStillCounts) {
  HostReset();
  HostQso q;
  HostAdd(q);
  HostAdd(q);
  HostQso first = q;
  HostRemove(first);  // the remaining record is the one marked as a dupe
  ASSERT_EQ(1, Module().qsos.at(0).m_isDupe);
  EXPECT_EQ(1, HostCheck("Q5ZZ", "RTTY", "Q2", "599", "15m", "15m"));
}

TEST(ExchangeValidation, FieldRules) {
  EXPECT_EQ(2, GetExchgCount0(nullptr, "x", "y"));
  EXPECT_EQ(1, IsValidExchg0("ABCxyz", "", "", "", 0, 0, 0));
  EXPECT_EQ(1, IsValidExchg0("", "", "", "", 0, 0, 0));
  EXPECT_EQ(1, IsValidExchg0(nullptr, nullptr, nullptr, nullptr, 0, 0, 0));
  EXPECT_EQ(0, IsValidExchg0("599", "", "", "", 0, 0, 0));
  EXPECT_EQ(0, IsValidExchg0("AB1", "", "", "", 0, 0, 0));
  EXPECT_EQ(0, IsValidExchg0("A B", "", "", "", 0, 0, 0));
  EXPECT_EQ(0, IsValidExchg0("\xC4", "", "", "", 0, 0, 0));
  EXPECT_EQ(1, IsValidExchg0("599", "ignored", "599", "ignored", 5, 6, 1));
  EXPECT_EQ(0, IsValidExchg0("599", "", "579", "", 0, 0, 1));
  EXPECT_EQ(0, IsValidExchg0("ABC", "", "ABC", "", 0, 0, 2));
  EXPECT_EQ(0, IsValidExchg0("ABC", "", "ABC", "", 0, 0, -1));
}
