// What keeps strangers out and codes unguessable: random codes from the
// system's generator, SHA-256 of files, the back office's password as a
// salted slow hash, form tokens bound to a browser's cookie, and a limit of
// requests per address. Everything here comes from libsodium; call
// SecurityReady() once before anything else.
//
// The functions are safe on any thread; a RateLimit serialises itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

// False when the library could not be started (no random source).
bool SecurityReady();

// `chars` characters from an alphabet without look-alikes (no I, O, 0, 1):
// five random bits each.
std::string RandomCode(std::size_t chars);
// A receipt: 15 random characters (75 bits) in groups of five.
std::string NewReceiptCode();
// `bytes` random bytes as lower-case hex.
std::string RandomHex(std::size_t bytes);

std::string Sha256Hex(std::string_view bytes);

// A password's stored form: Argon2id with a random salt, at libsodium's
// interactive cost (about 64 MiB and a tenth of a second).
std::string HashPassword(const std::string& password);
bool PasswordMatches(const std::string& stored, const std::string& password);

// A form's token: a keyed hash of what it is bound to (a browser's cookie, a
// session), so that a page of another site cannot make one. `key` is 32
// bytes.
std::string FormToken(const std::string& key, const std::string& binding);
bool FormTokenMatches(const std::string& key, const std::string& binding,
                      const std::string& token);

// Equal texts, compared in a time that does not tell where they differ.
bool SameSecret(const std::string& a, const std::string& b);

// At most `limit` events per address in each window of `windowSeconds`.
class RateLimit {
 public:
  RateLimit(int limit, std::int64_t windowSeconds) : limit_(limit), window_(windowSeconds) {}
  // Counts an event of `address` at `now` (seconds); false when it is one
  // too many.
  bool Allow(const std::string& address, std::int64_t now);

 private:
  struct Window {
    std::int64_t start = 0;
    int count = 0;
  };
  const int limit_;
  const std::int64_t window_;
  std::mutex mutex_;
  std::unordered_map<std::string, Window> windows_;
};
