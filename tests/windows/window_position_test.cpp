#include "windows/window_position.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const char kIni[] = "Plugins/KOVA-BRAWLCUP.ini";

class WindowPositionTest : public ScratchDirTest {
 protected:
  Settings settings_;
};

}  // namespace

TEST_F(WindowPositionTest, NothingStoredOpensAtTheDefaults) {
  WindowPosition multiplier(settings_, kMultiplierPositionKeys);
  const ScreenPoint p = multiplier.Restore();
  EXPECT_EQ(10, p.x);
  EXPECT_EQ(400, p.y);
  WindowPosition panel(settings_, kPanelPositionKeys);
  const ScreenPoint q = panel.Restore();
  EXPECT_EQ(10, q.x);
  EXPECT_EQ(10, q.y);
  EXPECT_FALSE(FileExists(kIni)) << "opening writes nothing";
}

TEST_F(WindowPositionTest, AStoredZeroCountsAsNoValue) {
  settings_.Write("dxcc_x", "0");
  settings_.Write("dxcc_y", "250");
  WindowPosition multiplier(settings_, kMultiplierPositionKeys);
  ScreenPoint p = multiplier.Restore();
  EXPECT_EQ(10, p.x);
  EXPECT_EQ(250, p.y);

  settings_.Write("dxcc_x", "-30");
  settings_.Write("dxcc_y", "junk");
  p = multiplier.Restore();
  EXPECT_EQ(-30, p.x) << "a window left of the screen edge stays there";
  EXPECT_EQ(400, p.y);
}

TEST_F(WindowPositionTest, WritesOnlyTheAxisThatMovedAndOnlyOnce) {
  WindowPosition panel(settings_, kPanelPositionKeys);
  panel.Restore();
  panel.Track(10, 10);
  EXPECT_FALSE(FileExists(kIni)) << "not moved since it opened";

  panel.Track(120, 10);
  EXPECT_EQ("120", settings_.Read("mode_x"));
  EXPECT_EQ("", settings_.Read("mode_y"));

  // The file is changed behind the tracker's back: an unmoved window must not
  // write again.
  settings_.Write("mode_x", "7");
  panel.Track(120, 10);
  EXPECT_EQ("7", settings_.Read("mode_x"));

  panel.Track(120, 0);
  EXPECT_EQ("0", settings_.Read("mode_y"));
  EXPECT_EQ("7", settings_.Read("mode_x"));
  EXPECT_EQ(120, panel.last().x);
  EXPECT_EQ(0, panel.last().y);
}
