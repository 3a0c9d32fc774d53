#include "zip_files.h"

#include <zip.h>

#include <memory>

#include "tools/check/shown_text.h"

namespace {

struct ZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct EntryCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

}  // namespace

bool LooksLikeZip(const std::string& bytes) { return bytes.compare(0, 4, "PK\x03\x04") == 0; }

bool UnpackZip(const std::string& zipName, const std::string& bytes, std::size_t maxFiles,
               std::size_t maxBytes, std::vector<SubmittedFile>& out, std::string& problem) {
  const std::string shown = ShownText(zipName, 60);
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source == nullptr) {
    problem = shown + " cannot be read as a zip";
    zip_error_fini(&error);
    return false;
  }
  std::unique_ptr<zip_t, ZipCloser> zip(zip_open_from_source(source, ZIP_RDONLY, &error));
  zip_error_fini(&error);
  if (!zip) {
    zip_source_free(source);
    problem = shown + " cannot be read as a zip";
    return false;
  }
  const zip_int64_t entries = zip_get_num_entries(zip.get(), 0);
  std::size_t total = 0;
  std::size_t files = 0;
  for (zip_int64_t i = 0; i < entries; ++i) {
    const char* entryName = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), 0);
    std::string name = entryName != nullptr ? entryName : "";
    if (name.empty() || name.back() == '/' || name.back() == '\\') {
      continue;  // a folder
    }
    name = name.substr(name.find_last_of("/\\") + 1);
    if (++files > maxFiles) {
      problem = shown + " holds more than " + std::to_string(maxFiles) + " files";
      return false;
    }
    std::unique_ptr<zip_file_t, EntryCloser> entry(
        zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(i), 0));
    if (!entry) {
      problem = shown + ": " + ShownText(name, 60) +
                " cannot be unpacked (encrypted, or packed in a way this robot does not know)";
      return false;
    }
    SubmittedFile file;
    file.name = name;
    char buffer[65536];
    for (;;) {
      const zip_int64_t n = zip_fread(entry.get(), buffer, sizeof buffer);
      if (n < 0) {
        problem = shown + ": " + ShownText(name, 60) + " is damaged";
        return false;
      }
      if (n == 0) {
        break;
      }
      total += static_cast<std::size_t>(n);
      if (total > maxBytes) {
        problem = shown + " unpacks to more than " + std::to_string(maxBytes >> 20) + " MiB";
        return false;
      }
      file.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    out.push_back(std::move(file));
  }
  return true;
}
