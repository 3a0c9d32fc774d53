#include "scoring/call_check.h"

#include <gtest/gtest.h>

#include "scoring/qso_store.h"

namespace {

CInfo Qso(const std::string& band = "20m") {
  CInfo q;
  q.m_call = "Q2AA";
  q.m_band = band;
  q.m_mode = "RTTY";
  q.m_prefix = "Q2";
  return q;
}

}  // namespace

TEST(CallCheckTest, BandsDisagreeOnlyWhenBothAreGivenAndDiffer) {
  EXPECT_TRUE(BandsDisagree("20m", "40m"));
  EXPECT_FALSE(BandsDisagree("20m", "20M"));
  EXPECT_FALSE(BandsDisagree("20m", nullptr));
  EXPECT_FALSE(BandsDisagree(nullptr, "40m"));
  EXPECT_TRUE(BandsDisagree("20m", "20m "));
}

TEST(CallCheckTest, DupeKnownPrefixOrNewMultiplier) {
  QsoStore store;
  store.Append(Qso());
  EXPECT_EQ(kCheckDupe, CheckCall(store, "Q2AA", "RTTY", "Q2", "599", "20m"));
  EXPECT_EQ(kCheckKnownPrefix, CheckCall(store, "Q2AA", "HELL", "Q2", "599", "20m"));
  EXPECT_EQ(kCheckKnownPrefix, CheckCall(store, "Q2AA", "RTTY", "Q2", "599", "40m"));
  EXPECT_EQ(kCheckNewMultiplier, CheckCall(store, "Q3BB", "RTTY", "Q3", "599", "20m"));
  EXPECT_EQ(kCheckNewMultiplier, CheckCall(store, "q2aa", "RTTY", "q2", "599", "20m"))
      << "case counts";
  EXPECT_EQ(kCheckKnownPrefix, CheckCall(store, "Q2AA", "RTTY", "Q2", "", "20m"))
      << "an empty exchange answers 1 before any search";
}

TEST(CallCheckTest, PrefixOfADupeRecordStillCounts) {
  QsoStore store;
  store.Append(Qso());
  CInfo dupe = Qso();
  dupe.m_isDupe = 1;
  store.Append(dupe);
  store.RemoveFirst("Q2AA", "20m");  // the remaining record is the one marked as a dupe
  ASSERT_EQ(1, store.at(0).m_isDupe);
  EXPECT_EQ(kCheckKnownPrefix, CheckCall(store, "Q5ZZ", "RTTY", "Q2", "599", "15m"));
}

TEST(ExchangeValidation, FieldRules) {
  EXPECT_EQ(1, IsValidExchange("ABCxyz", "", 0));
  EXPECT_EQ(1, IsValidExchange("", "", 0));
  EXPECT_EQ(0, IsValidExchange("599", "", 0));
  EXPECT_EQ(0, IsValidExchange("AB1", "", 0));
  EXPECT_EQ(0, IsValidExchange("A B", "", 0));
  EXPECT_EQ(0, IsValidExchange("\xC4", "", 0));
  EXPECT_EQ(1, IsValidExchange("599", "599", 1));
  EXPECT_EQ(0, IsValidExchange("599", "579", 1));
  EXPECT_EQ(0, IsValidExchange("ABC", "ABC", 2));
  EXPECT_EQ(0, IsValidExchange("ABC", "ABC", -1));
}
