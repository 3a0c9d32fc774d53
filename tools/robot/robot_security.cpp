#include "robot_security.h"

#include <sodium.h>

#include <stdexcept>
#include <vector>

namespace {
constexpr char kAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
// Addresses kept before the windows that ended are swept out.
constexpr std::size_t kSweepAt = 10000;

std::string Hex(const unsigned char* bytes, std::size_t size) {
  std::string out(size * 2 + 1, '\0');
  sodium_bin2hex(out.data(), out.size(), bytes, size);
  out.pop_back();
  return out;
}
}  // namespace

bool SecurityReady() { return sodium_init() >= 0; }

std::string RandomCode(std::size_t chars) {
  std::string code;
  for (std::size_t i = 0; i < chars; ++i) {
    code += kAlphabet[randombytes_uniform(sizeof kAlphabet - 1)];
  }
  return code;
}

std::string NewReceiptCode() {
  const std::string code = RandomCode(15);
  return code.substr(0, 5) + "-" + code.substr(5, 5) + "-" + code.substr(10);
}

std::string RandomHex(std::size_t bytes) {
  std::vector<unsigned char> buffer(bytes);
  randombytes_buf(buffer.data(), buffer.size());
  return Hex(buffer.data(), buffer.size());
}

std::string Sha256Hex(std::string_view bytes) {
  unsigned char digest[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return Hex(digest, sizeof digest);
}

std::string HashPassword(const std::string& password) {
  char stored[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(stored, password.data(), password.size(),
                        crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw std::runtime_error("not enough memory to hash the password");
  }
  return stored;
}

bool PasswordMatches(const std::string& stored, const std::string& password) {
  return !stored.empty() &&
         crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

std::string FormToken(const std::string& key, const std::string& binding) {
  if (key.size() != crypto_auth_KEYBYTES) {
    throw std::logic_error("a form key is 32 bytes");
  }
  unsigned char mac[crypto_auth_BYTES];
  crypto_auth(mac, reinterpret_cast<const unsigned char*>(binding.data()), binding.size(),
              reinterpret_cast<const unsigned char*>(key.data()));
  return Hex(mac, sizeof mac);
}

bool FormTokenMatches(const std::string& key, const std::string& binding,
                      const std::string& token) {
  return !binding.empty() && SameSecret(FormToken(key, binding), token);
}

bool SameSecret(const std::string& a, const std::string& b) {
  return a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

bool RateLimit::Allow(const std::string& address, std::int64_t now) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (windows_.size() >= kSweepAt) {
    for (auto it = windows_.begin(); it != windows_.end();) {
      it = now - it->second.start >= window_ ? windows_.erase(it) : std::next(it);
    }
    // Memory stays bounded whatever the number of addresses: past this, the
    // count starts afresh for everyone.
    if (windows_.size() >= kSweepAt * 10) {
      windows_.clear();
    }
  }
  Window& w = windows_[address];
  if (now - w.start >= window_) {
    w.start = now;
    w.count = 0;
  }
  return ++w.count <= limit_;
}
