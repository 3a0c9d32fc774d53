#include "windows/multiplier_window.h"

#include <gtest/gtest.h>

#include "fake_panel_module.h"
#include "recording_canvas.h"
#include "test_support.h"

namespace {

using Calls = std::vector<std::string>;

WorkedGrid SampleGrid() {
  const char* labels[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
  WorkedGrid grid;
  for (int r = 0; r < kGridRows; ++r) {
    grid[r] = {labels[r], "   -", "   -", "   -", "   -", "   -", "   -", "   -"};
  }
  grid[3][5] = "09:05";
  return grid;
}

const Calls kGridHeader = {
    "transparent",      "text 20,14 Band",  "text 100,14 BPSK", "text 140,14 HELL",
    "text 180,14 MFSK", "text 220,14 MT63", "text 260,14 RTTY", "text 300,14 THROB",
    "text 355,14 SSTV", "text 180,0 Q2AA",
};

Calls Slice(const Calls& calls, std::size_t from, std::size_t count) {
  if (from >= calls.size()) {
    return {};
  }
  return Calls(calls.begin() + from, calls.begin() + std::min(calls.size(), from + count));
}

}  // namespace

TEST(MultiplierColours, AreTheWindowSystemsBgrValues) {
  EXPECT_EQ(0x00C6FFFFu, kGridBackground);
  EXPECT_EQ(0x00FFFFC6u, kBandHighlight);
  EXPECT_EQ(0x00C6FAFFu, kPrefixBackground);
}

TEST(GridDisplay, ExactCallsForA400By140Button) {
  RecordingCanvas canvas;
  DrawWorkedGrid("Q2AA", 3, SampleGrid(), {0, 0, 400, 140}, canvas);

  ASSERT_EQ(2u + kGridHeader.size() + 48u, canvas.calls.size());
  EXPECT_EQ("fill 0,0,400,140 00C6FFFF", canvas.calls[0]);
  EXPECT_EQ("fill 0,90,400,100 00FFFFC6", canvas.calls[1]) << "row height 140/7 = 20, 20 m";
  EXPECT_EQ(kGridHeader, Slice(canvas.calls, 2, kGridHeader.size()));
  EXPECT_EQ(Calls({"text 20,30 160m", "text 100,30    -", "text 140,30    -", "text 180,30    -",
                   "text 220,30    -", "text 260,30    -", "text 300,30    -", "text 360,30    -"}),
            Slice(canvas.calls, 12, 8));
  EXPECT_EQ(
      Calls({"text 20,90 20m", "text 100,90    -", "text 140,90    -", "text 180,90    -",
             "text 220,90    -", "text 260,90 09:05", "text 300,90    -", "text 360,90    -"}),
      Slice(canvas.calls, 12 + 3 * 8, 8));
  EXPECT_EQ("text 20,130 10m", canvas.calls[12 + 5 * 8]);
  EXPECT_EQ("text 360,130    -", canvas.calls.back());
}

TEST(GridDisplay, RowHeightFollowsHeightOnlyAndColumnsStayPut) {
  RecordingCanvas narrow;
  DrawWorkedGrid("Q2AA", 0, SampleGrid(), {0, 0, 300, 71}, narrow);
  RecordingCanvas wide;
  DrawWorkedGrid("Q2AA", 0, SampleGrid(), {0, 0, 900, 71}, wide);

  EXPECT_EQ("fill 0,20,300,20 00FFFFC6", narrow.calls[1]) << "h = 71/7 = 10: no height left";
  EXPECT_EQ("fill 0,20,900,20 00FFFFC6", wide.calls[1]);
  EXPECT_EQ(Slice(narrow.calls, 2, 200), Slice(wide.calls, 2, 200));
  EXPECT_EQ("text 20,70 10m", narrow.calls[12 + 5 * 8]);
}

TEST(GridDisplay, SixMetreHighlightFallsBelowTheTableAndNoBandHasNone) {
  RecordingCanvas sixMetres;
  DrawWorkedGrid("Q2AA", 6, SampleGrid(), {0, 0, 400, 140}, sixMetres);
  EXPECT_EQ("fill 0,150,400,160 00FFFFC6", sixMetres.calls[1]);

  RecordingCanvas noBand;
  DrawWorkedGrid("Q2AA", -1, SampleGrid(), {0, 0, 400, 140}, noBand);
  EXPECT_EQ("fill 0,0,400,140 00C6FFFF", noBand.calls[0]);
  EXPECT_EQ("transparent", noBand.calls[1]);
  EXPECT_EQ(1u + kGridHeader.size() + 48u, noBand.calls.size());
}

TEST(PrefixDisplay, SortsByBytesAndWrapsBeforeTheRightEdge) {
  RecordingCanvas canvas;
  DrawWorkedPrefixes({"Q2", "K1", "3A", "AA7", "Q10", "a1", "DL"}, 3, {0, 0, 164, 100}, canvas);
  // x steps by 40 and wraps once x > 164 - 40: three per line.
  EXPECT_EQ(
      Calls({"fill 0,0,164,100 00C6FAFF", "transparent", "text 5,0 3A", "text 45,0 AA7",
             "text 85,0 DL", "text 5,15 K1", "text 45,15 Q10", "text 85,15 Q2", "text 5,30 a1"}),
      canvas.calls);

  RecordingCanvas wider;
  DrawWorkedPrefixes({"Q2", "K1", "3A", "AA7", "Q10", "a1", "DL"}, 3, {0, 0, 165, 100}, wider);
  EXPECT_EQ("text 125,0 K1", wider.calls[5]) << "x 125 is not beyond 165 - 40";
  EXPECT_EQ("text 5,15 Q10", wider.calls[6]);
}

TEST(PrefixDisplay, ANarrowButtonPutsEveryPrefixOnItsOwnLine) {
  RecordingCanvas canvas;
  DrawWorkedPrefixes({"K1", "DL", "F"}, 0, {0, 0, 84, 60}, canvas);
  EXPECT_EQ(Calls({"fill 0,0,84,60 00C6FAFF", "transparent", "text 5,0 DL", "text 5,15 F",
                   "text 5,30 K1"}),
            canvas.calls);

  RecordingCanvas just;
  DrawWorkedPrefixes({"K1", "DL", "F"}, 0, {0, 0, 85, 60}, just);
  EXPECT_EQ("text 45,0 F", just.calls[3]) << "85 pixels hold two per line";
}

TEST(PrefixDisplay, OutsideTheContestBandsOnlyTheBackgroundShows) {
  RecordingCanvas canvas;
  DrawWorkedPrefixes({"K1", "DL"}, -1, {0, 0, 400, 140}, canvas);
  EXPECT_EQ(Calls({"fill 0,0,400,140 00C6FAFF"}), canvas.calls);

  RecordingCanvas sixMetres;
  DrawWorkedPrefixes({"K1"}, 6, {0, 0, 400, 140}, sixMetres);
  EXPECT_EQ(Calls({"fill 0,0,400,140 00C6FAFF", "transparent", "text 5,0 K1"}), sixMetres.calls);
}

class MultiplierPictureTest : public ScratchDirTest {};

TEST_F(MultiplierPictureTest, ChoosesTheDisplayAndCopiesOnlyWhatItShows) {
  FakePanelModule m;
  m.modeWord = "MFSK";
  m.prefixLists[2] = {"Q2", "K1"};
  m.prefixLists[4] = {"DL"};
  m.bandIndex = 3;
  m.grid = SampleGrid();

  MultiplierPicture prefixes = TakeMultiplierPicture(m);
  EXPECT_EQ(1, m.locks) << "the picture is copied under one lock";
  EXPECT_EQ(std::vector<std::string>({"Q2", "K1"}), prefixes.prefixes);
  EXPECT_TRUE(prefixes.grid[0].empty());
  RecordingCanvas canvas;
  DrawMultiplier(prefixes, {0, 0, 400, 140}, canvas);
  EXPECT_EQ(Calls({"fill 0,0,400,140 00C6FAFF", "transparent", "text 5,0 K1", "text 45,0 Q2"}),
            canvas.calls);
  EXPECT_EQ(std::vector<std::string>({"Q2", "K1"}), m.prefixLists[2])
      << "the module's list keeps its order";

  m.modeWord = "";
  RecordingCanvas unknownWord;
  DrawMultiplier(TakeMultiplierPicture(m), {0, 0, 400, 140}, unknownWord);
  EXPECT_EQ(Calls({"fill 0,0,400,140 00C6FAFF", "transparent"}), unknownWord.calls);

  m.callEntered = "Q2AA";
  MultiplierPicture grid = TakeMultiplierPicture(m);
  EXPECT_TRUE(grid.prefixes.empty());
  RecordingCanvas gridCanvas;
  DrawMultiplier(grid, {0, 0, 400, 140}, gridCanvas);
  EXPECT_EQ("fill 0,90,400,100 00FFFFC6", gridCanvas.calls[1]);
  EXPECT_EQ("text 260,90 09:05", gridCanvas.calls[12 + 3 * 8 + 5]);
}

TEST(MultiplierLayout, ContentControlFillsTheClientAreaInsideAOnePixelMargin) {
  const CanvasRect r = ContentRectForClient(300, 200);
  EXPECT_EQ(CanvasRect({1, 1, 297, 197}), r);
}
