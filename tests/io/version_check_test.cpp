#include "io/version_check.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(VersionCheck, OnlyTheExactTextMeansNoNews) {
  EXPECT_EQ(CompareVersion(true, std::string(kVersionText)), UpdateMessage::kNoNewInfo);
  EXPECT_EQ(CompareVersion(true, std::string(kVersionText) + "\r\n"), UpdateMessage::kNewVersion);
  EXPECT_EQ(CompareVersion(true, std::string()), UpdateMessage::kNewVersion);
  EXPECT_EQ(CompareVersion(true, "tavi ver 2.06 beta release 10.11.14"),
            UpdateMessage::kNewVersion);
  // A failed transfer reports the failure only, whatever body came with it.
  EXPECT_EQ(CompareVersion(false, std::string(kVersionText)), UpdateMessage::kFetchFailed);
  EXPECT_EQ(CompareVersion(false, std::string()), UpdateMessage::kFetchFailed);
}

TEST(VersionCheck, RunsOncePerMonthWhenEnabled) {
  EXPECT_EQ(MonthStamp(2010, 11), 201011);
  EXPECT_TRUE(UpdateCheckDue(true, 0, 201011));
  EXPECT_FALSE(UpdateCheckDue(true, 201011, 201011));
  EXPECT_TRUE(UpdateCheckDue(true, 201011, 201012));
  EXPECT_FALSE(UpdateCheckDue(false, 0, 201011));
}

}  // namespace
}  // namespace tavi
