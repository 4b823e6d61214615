// SCRAM-SHA-1 client (RFC 5802), without channel binding ("n,,").
// Interface: ScramSha1Client: ClientFirst, then ClientFinal with the
// server's first message, then VerifyServerFinal with its last one.
#pragma once

#include <cstdint>
#include <string>

#include "sasl_crypto.h"

namespace lobbysvc {

class ScramSha1Client {
 public:
  // `nonce`: printable ASCII without ',' from a random source. Iteration
  // counts above `maxIterations` are refused, so that a hostile server cannot
  // make the client hash for minutes.
  ScramSha1Client(std::string user, std::string password, std::string nonce,
                  uint32_t maxIterations = 1000000);

  std::string ClientFirst();
  // False (with Error() set) when the server's message is malformed, its
  // nonce does not extend ours, or it asks for an unknown mandatory extension.
  bool ClientFinal(const std::string& serverFirst, std::string* clientFinal);
  // True only when the server proved it knows the password.
  bool VerifyServerFinal(const std::string& serverFinal);
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const char* why);

  std::string user_, password_, nonce_;
  uint32_t maxIterations_;
  std::string clientFirstBare_;
  std::string authMessage_;
  Sha1Digest serverSignature_{};
  int state_ = 0;  // 0 new, 1 first sent, 2 final sent, 3 verified, -1 failed
  std::string error_;
};

// "=" and "," written as "=3D" and "=2C", as SCRAM user names carry them.
std::string ScramEscapeName(const std::string& name);

}  // namespace lobbysvc
