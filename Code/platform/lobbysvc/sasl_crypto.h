// Hashing for SCRAM-SHA-1, from the system's crypto library (nettle natively,
// CNG in the Windows DLL). Interface: Sha1, HmacSha1, Pbkdf2HmacSha1,
// EqualInConstantTime.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lobbysvc {

using Sha1Digest = std::array<uint8_t, 20>;

Sha1Digest Sha1(const void* data, size_t size);
Sha1Digest HmacSha1(const void* key, size_t keySize, const void* data, size_t size);
Sha1Digest Pbkdf2HmacSha1(const std::string& password, const std::string& salt,
                          uint32_t iterations);
bool EqualInConstantTime(const void* a, const void* b, size_t size);

}  // namespace lobbysvc
