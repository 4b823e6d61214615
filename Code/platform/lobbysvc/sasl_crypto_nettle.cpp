// SCRAM hashing through nettle.
#include <nettle/hmac.h>
#include <nettle/memops.h>
#include <nettle/pbkdf2.h>
#include <nettle/sha1.h>

#include "sasl_crypto.h"

namespace lobbysvc {

Sha1Digest Sha1(const void* data, size_t size) {
  sha1_ctx ctx;
  sha1_init(&ctx);
  sha1_update(&ctx, size, static_cast<const uint8_t*>(data));
  Sha1Digest d;
  sha1_digest(&ctx, d.size(), d.data());
  return d;
}

Sha1Digest HmacSha1(const void* key, size_t keySize, const void* data, size_t size) {
  hmac_sha1_ctx ctx;
  hmac_sha1_set_key(&ctx, keySize, static_cast<const uint8_t*>(key));
  hmac_sha1_update(&ctx, size, static_cast<const uint8_t*>(data));
  Sha1Digest d;
  hmac_sha1_digest(&ctx, d.size(), d.data());
  return d;
}

Sha1Digest Pbkdf2HmacSha1(const std::string& password, const std::string& salt,
                          uint32_t iterations) {
  Sha1Digest d;
  pbkdf2_hmac_sha1(password.size(), reinterpret_cast<const uint8_t*>(password.data()),
                   iterations, salt.size(), reinterpret_cast<const uint8_t*>(salt.data()),
                   d.size(), d.data());
  return d;
}

bool EqualInConstantTime(const void* a, const void* b, size_t size) {
  return memeql_sec(a, b, size) != 0;
}

}  // namespace lobbysvc
