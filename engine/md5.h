// MD5 digest (RFC 1321). Use: init, any number of update, finalize, then digestWords or
// hexDigest; init starts the object again.
#pragma once
#include <cstdint>
#include <string>

class md5 {
 public:
  md5() { init(); }

  // Clears the finalized flag and the bit count and sets the initial state.
  void init();
  // Feeds count bytes (a count of 0 or below changes nothing). Allocates nothing.
  void update(const uint8_t* data, int32_t count);
  // Padding and length; a second call does nothing.
  void finalize();
  // The four state words; after finalize, stored little-endian they are the 16 digest bytes.
  void digestWords(uint32_t out[4]) const;
  // 32 lower-case hexadecimal digits of the digest, byte 0 first.
  std::string hexDigest() const;
  // Stores the words little-endian as the digest and returns its hexadecimal text.
  std::string hexOfDigestWords(const uint32_t words[4]);

 private:
  void transform(const uint8_t block[64]);

  uint8_t finalized_ = 0;
  uint8_t buffer_[64] = {};
  uint32_t bitCount_[2] = {};  // low word first, so inputs over 4 GiB are counted
  uint32_t state_[4] = {};
  uint8_t digest_[16] = {};
};
