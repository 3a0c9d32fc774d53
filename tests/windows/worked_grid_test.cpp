#include "windows/worked_grid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace {

const std::vector<std::string> kLabels = {"160m", "80m", "40m", "20m", "15m", "10m"};

std::vector<std::string> Labels() { return kLabels; }

WorkedGrid BuiltGrid() {
  WorkedGrid grid;
  for (int r = 0; r < kGridRows; ++r) {
    grid[r] = {kLabels[r], "-", "-", "-", "-", "-", "-", "-"};
  }
  return grid;
}

CInfo Qso(const std::string& call, const std::string& band, const std::string& mode, int hour,
          int minute) {
  CInfo q;
  q.m_call = call;
  q.m_band = band;
  q.m_mode = mode;
  q.m_time = HostTime(2016, 2, 13, hour, minute);
  return q;
}

std::vector<std::string> Cells(const WorkedGrid& grid, int row) {
  return std::vector<std::string>(grid[row].begin() + 1, grid[row].end());
}

const std::vector<std::string> kAllCleared(7, "   -");

}  // namespace

TEST(BandIndexFromHertz, OnlyWholeMegahertzOfTheContestBandsCount) {
  EXPECT_EQ(0, BandIndexFromHertz(1900000.0)) << "1.9 MHz is 160 m";
  EXPECT_EQ(0, BandIndexFromHertz(1000000.0));
  EXPECT_EQ(1, BandIndexFromHertz(3580000.0));
  EXPECT_EQ(2, BandIndexFromHertz(7040000.0));
  EXPECT_EQ(3, BandIndexFromHertz(14080000.0));
  EXPECT_EQ(4, BandIndexFromHertz(21080000.0));
  EXPECT_EQ(5, BandIndexFromHertz(28999999.0));
  EXPECT_EQ(6, BandIndexFromHertz(50100000.0));
  EXPECT_EQ(-1, BandIndexFromHertz(29500000.0)) << "29 MHz is not 10 m";
  EXPECT_EQ(-1, BandIndexFromHertz(999999.0));
  EXPECT_EQ(-1, BandIndexFromHertz(0.0));
  EXPECT_EQ(-1, BandIndexFromHertz(10140000.0)) << "30 m";
  EXPECT_EQ(-1, BandIndexFromHertz(-1900000.0)) << "truncation toward zero gives -1 MHz";
  EXPECT_EQ(-1, BandIndexFromHertz(1e30)) << "far past the int range";
  EXPECT_EQ(-1, BandIndexFromHertz(std::nan("")));
}

TEST(WorkedGrid, AResetLabelsTheSixBandRows) {
  EXPECT_EQ(kLabels, PanelBandLabels());
  WorkedGrid grid;
  grid[1] = {"old", "09:05"};
  LabelGridRows(grid);
  EXPECT_EQ(BuiltGrid(), grid);
}

TEST(WorkedGrid, ClearingKeepsBandLabelsAndPadsRowsNotYetBuilt) {
  WorkedGrid grid = BuiltGrid();
  grid[2][3] = "09:05";
  ClearWorkedCells(grid);
  for (int r = 0; r < kGridRows; ++r) {
    EXPECT_EQ(kLabels[r], grid[r][0]);
    EXPECT_EQ(kAllCleared, Cells(grid, r)) << "row " << r;
  }

  WorkedGrid empty;
  ClearWorkedCells(empty);
  EXPECT_EQ(std::vector<std::string>({"", "   -", "   -", "   -", "   -", "   -", "   -", "   -"}),
            empty[5]);
}

TEST(WorkedGrid, FillsTimeOfTheCallPerBandRowAndModeGroupCell) {
  QsoStore qsos;
  qsos.Append(Qso("Q2AA", "20m", "RTTY", 9, 5));
  qsos.Append(Qso("Q2AA", "160m", "BPSK63", 23, 59));
  qsos.Append(Qso("Q2AA", "10m", "OLIVIA", 0, 1));
  qsos.Append(Qso("Q2AA", "10m", "SSTV", 12, 0));
  qsos.Append(Qso("Q3BB", "20m", "HELL", 10, 0));
  WorkedGrid grid = BuiltGrid();
  ClearWorkedCells(grid);
  FillWorkedGrid(grid, qsos, Labels(), "Q2AA");

  EXPECT_EQ(std::vector<std::string>({"23:59", "   -", "   -", "   -", "   -", "   -", "   -"}),
            Cells(grid, 0));
  EXPECT_EQ(kAllCleared, Cells(grid, 1));
  EXPECT_EQ(kAllCleared, Cells(grid, 2));
  EXPECT_EQ(std::vector<std::string>({"   -", "   -", "   -", "   -", "09:05", "   -", "   -"}),
            Cells(grid, 3))
      << "the other call's HELL QSO fills nothing";
  EXPECT_EQ(kAllCleared, Cells(grid, 4));
  EXPECT_EQ(std::vector<std::string>({"   -", "   -", "00:01", "   -", "   -", "   -", "12:00"}),
            Cells(grid, 5));
}

TEST(WorkedGrid, LaterQsoOverwritesAndForeignOrSixMetreQsosFillNothing) {
  QsoStore qsos;
  qsos.Append(Qso("Q2AA", "40m", "BPSK31", 8, 0));
  qsos.Append(Qso("Q2AA", "40m", "BPSK125", 7, 30));  // later in the list, earlier in time
  qsos.Append(Qso("Q2AA", "6m", "RTTY", 9, 0));
  qsos.Append(Qso("Q2AA", "20m", "PSK31", 9, 0));
  qsos.Append(Qso("Q2AA", "20m", "rtty", 9, 0));
  qsos.Append(Qso("q2aa", "15m", "RTTY", 9, 0));
  qsos.Append(Qso("Q2AA", "20M", "RTTY", 9, 0));
  WorkedGrid grid = BuiltGrid();
  ClearWorkedCells(grid);
  FillWorkedGrid(grid, qsos, Labels(), "Q2AA");

  EXPECT_EQ("07:30", grid[2][1]) << "list order decides, not time";
  for (int r = 0; r < kGridRows; ++r) {
    if (r != 2) {
      EXPECT_EQ(kAllCleared, Cells(grid, r)) << "row " << r;
    }
  }
}

TEST(WorkedGrid, NoBandLabelsFillNothing) {
  QsoStore qsos;
  qsos.Append(Qso("Q2AA", "20m", "RTTY", 9, 5));
  WorkedGrid grid = BuiltGrid();
  ClearWorkedCells(grid);
  FillWorkedGrid(grid, qsos, {}, "Q2AA");
  EXPECT_EQ(kAllCleared, Cells(grid, 3));
}
