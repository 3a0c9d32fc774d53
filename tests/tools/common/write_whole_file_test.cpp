#include "tools/common/write_whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(WriteWholeFileTest, TrueOnceWrittenElseTheReason) {
  const fs::path dir = fs::temp_directory_path() / "stats_write_whole_file_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string error = "untouched";
  EXPECT_TRUE(SaveWholeFile((dir / "a.txt").string(), "one\r\ntwo", Durability::kWritten, error));
  EXPECT_EQ("one\r\ntwo", Bytes(dir / "a.txt"));
  EXPECT_EQ("untouched", error) << "success leaves the message alone";

  EXPECT_FALSE(SaveWholeFile((dir / "none" / "b.txt").string(), "x", Durability::kWritten, error));
  EXPECT_NE("untouched", error);
  EXPECT_FALSE(error.empty());

  WholeFileWriter writer((dir / "c.txt").string(), Durability::kWritten);
  writer.Write("pieces ");
  writer.Write("joined");
  error.clear();
  EXPECT_TRUE(CommitWholeFile(writer, error));
  EXPECT_EQ("pieces joined", Bytes(dir / "c.txt"));
  EXPECT_EQ("", error);
  fs::remove_all(dir);
}

}  // namespace
