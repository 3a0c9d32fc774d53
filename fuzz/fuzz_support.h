// Shared by the fuzz targets: a scratch working folder (the plug-in writes
// relative to the current directory) and a reader of the fuzzer's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Moves into a new empty folder holding "Plugins", once per process.
void EnterScratchFolder();
// Empties the scratch folder (but keeps "Plugins") so files do not pile up.
void SweepScratchFolder();

class ByteReader {
 public:
  ByteReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  template <typename T>
  T Raw() {
    T value{};
    const std::size_t n = sizeof(T) < size_ - pos_ ? sizeof(T) : size_ - pos_;
    if (n > 0) {
      std::memcpy(&value, data_ + pos_, n);
      pos_ += n;
    }
    return value;
  }

  // A text of up to 255 bytes; it may hold any byte but NUL.
  std::string Text() {
    const std::size_t want = Byte();
    std::string s;
    while (s.size() < want && pos_ < size_) {
      const char c = static_cast<char>(data_[pos_++]);
      s += c == '\0' ? '0' : c;
    }
    return s;
  }

  std::string Rest() {
    std::string s(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return s;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};
