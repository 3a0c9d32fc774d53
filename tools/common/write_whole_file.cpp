#include "tools/common/write_whole_file.h"

namespace {

bool Succeeded(std::string reason, std::string& error) {
  if (reason.empty()) {
    return true;
  }
  error = std::move(reason);
  return false;
}

}  // namespace

bool SaveWholeFile(const std::string& path, std::string_view bytes, Durability durability,
                   std::string& error) {
  return Succeeded(WriteWholeFile(path, bytes, durability), error);
}

bool CommitWholeFile(WholeFileWriter& writer, std::string& error) {
  return Succeeded(writer.Commit(), error);
}
