// SCRAM hashing through Windows CNG (bcrypt.dll). Algorithm handles are
// opened once per process and shared: CNG allows concurrent use of one
// provider handle from several threads.
#include <windows.h>
#include <bcrypt.h>

#include <cstring>
#include <stdexcept>

#include "sasl_crypto.h"

namespace lobbysvc {
namespace {

bool Ok(NTSTATUS status) { return status >= 0; }

BCRYPT_ALG_HANDLE Provider(bool hmac) {
  static BCRYPT_ALG_HANDLE plain = [] {
    BCRYPT_ALG_HANDLE h = nullptr;
    if (!Ok(BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA1_ALGORITHM, nullptr, 0))) h = nullptr;
    return h;
  }();
  static BCRYPT_ALG_HANDLE keyed = [] {
    BCRYPT_ALG_HANDLE h = nullptr;
    if (!Ok(BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA1_ALGORITHM, nullptr,
                                        BCRYPT_ALG_HANDLE_HMAC_FLAG)))
      h = nullptr;
    return h;
  }();
  BCRYPT_ALG_HANDLE h = hmac ? keyed : plain;
  // Without SHA-1 no login can be made; the callers' login attempt fails.
  if (!h) throw std::runtime_error("SHA-1 is not available from the system");
  return h;
}

Sha1Digest Hash(bool hmac, const void* key, size_t keySize, const void* data, size_t size) {
  BCRYPT_HASH_HANDLE hash = nullptr;
  // CNG takes a null key pointer only with length 0; an empty HMAC key is
  // valid, so hand it a dummy byte's address.
  static UCHAR empty = 0;
  PUCHAR k = hmac ? (keySize ? static_cast<PUCHAR>(const_cast<void*>(key)) : &empty) : nullptr;
  Sha1Digest d{};
  NTSTATUS s = BCryptCreateHash(Provider(hmac), &hash, nullptr, 0, k,
                                static_cast<ULONG>(hmac ? keySize : 0), 0);
  if (Ok(s) && size)
    s = BCryptHashData(hash, static_cast<PUCHAR>(const_cast<void*>(data)),
                       static_cast<ULONG>(size), 0);
  if (Ok(s)) s = BCryptFinishHash(hash, d.data(), static_cast<ULONG>(d.size()), 0);
  if (hash) BCryptDestroyHash(hash);
  if (!Ok(s)) throw std::runtime_error("SHA-1 hashing failed");
  return d;
}

}  // namespace

Sha1Digest Sha1(const void* data, size_t size) { return Hash(false, nullptr, 0, data, size); }

Sha1Digest HmacSha1(const void* key, size_t keySize, const void* data, size_t size) {
  return Hash(true, key, keySize, data, size);
}

Sha1Digest Pbkdf2HmacSha1(const std::string& password, const std::string& salt,
                          uint32_t iterations) {
  static UCHAR empty = 0;
  Sha1Digest d{};
  PUCHAR p = password.empty() ? &empty
                              : reinterpret_cast<PUCHAR>(const_cast<char*>(password.data()));
  PUCHAR s = salt.empty() ? &empty : reinterpret_cast<PUCHAR>(const_cast<char*>(salt.data()));
  NTSTATUS st = BCryptDeriveKeyPBKDF2(Provider(true), p, static_cast<ULONG>(password.size()), s,
                                      static_cast<ULONG>(salt.size()), iterations, d.data(),
                                      static_cast<ULONG>(d.size()), 0);
  if (!Ok(st)) throw std::runtime_error("PBKDF2 failed");
  return d;
}

bool EqualInConstantTime(const void* a, const void* b, size_t size) {
  const volatile unsigned char* x = static_cast<const unsigned char*>(a);
  const volatile unsigned char* y = static_cast<const unsigned char*>(b);
  unsigned char diff = 0;
  for (size_t i = 0; i < size; ++i) diff |= x[i] ^ y[i];
  return diff == 0;
}

}  // namespace lobbysvc
