// SCRAM-SHA-1, client side.
#include "scram_sha1.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "base64.h"

namespace lobbysvc {

std::string ScramEscapeName(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '=')
      out += "=3D";
    else if (c == ',')
      out += "=2C";
    else
      out += c;
  }
  return out;
}

namespace {

// Splits "a=1,b=2" into (letter, value) pairs; false for any part that is not
// a single letter, '=' and a value.
bool SplitAttributes(const std::string& message, std::vector<std::pair<char, std::string>>* out) {
  size_t start = 0;
  while (start <= message.size()) {
    size_t end = message.find(',', start);
    if (end == std::string::npos) end = message.size();
    const std::string part = message.substr(start, end - start);
    if (part.size() < 2 || part[1] != '=') return false;
    const char key = part[0];
    if (!((key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z'))) return false;
    out->emplace_back(key, part.substr(2));
    start = end + 1;
  }
  return true;
}

bool Printable(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x21 || c > 0x7E || c == ',') return false;
  return !s.empty();
}

}  // namespace

ScramSha1Client::ScramSha1Client(std::string user, std::string password, std::string nonce,
                                 uint32_t maxIterations)
    : user_(std::move(user)),
      password_(std::move(password)),
      nonce_(std::move(nonce)),
      maxIterations_(maxIterations) {}

bool ScramSha1Client::Fail(const char* why) {
  error_ = why;
  state_ = -1;
  return false;
}

std::string ScramSha1Client::ClientFirst() {
  clientFirstBare_ = "n=" + ScramEscapeName(user_) + ",r=" + nonce_;
  state_ = 1;
  return "n,," + clientFirstBare_;
}

bool ScramSha1Client::ClientFinal(const std::string& serverFirst, std::string* clientFinal) {
  if (state_ != 1) return Fail("SCRAM: out of order");
  std::vector<std::pair<char, std::string>> attrs;
  if (!SplitAttributes(serverFirst, &attrs)) return Fail("SCRAM: malformed server message");
  // r, s, i in this order; a leading m= is a mandatory extension we do not know.
  if (attrs.size() < 3 || attrs[0].first != 'r' || attrs[1].first != 's' ||
      attrs[2].first != 'i')
    return Fail("SCRAM: malformed server message");
  const std::string& nonce = attrs[0].second;
  if (nonce.size() <= nonce_.size() || nonce.compare(0, nonce_.size(), nonce_) != 0 ||
      !Printable(nonce))
    return Fail("SCRAM: server nonce does not extend ours");
  const auto salt = Base64Decode(attrs[1].second);
  if (!salt || salt->empty()) return Fail("SCRAM: bad salt");
  const std::string& count = attrs[2].second;
  if (count.empty() || count.size() > 10 || count[0] == '0')
    return Fail("SCRAM: bad iteration count");
  uint64_t iterations = 0;
  for (char c : count) {
    if (c < '0' || c > '9') return Fail("SCRAM: bad iteration count");
    iterations = iterations * 10 + uint64_t(c - '0');
  }
  if (iterations > maxIterations_) return Fail("SCRAM: iteration count too high");

  const std::string withoutProof = "c=biws,r=" + nonce;
  authMessage_ = clientFirstBare_ + "," + serverFirst + "," + withoutProof;
  Sha1Digest salted, clientKey, storedKey, signature, serverKey;
  try {
    salted = Pbkdf2HmacSha1(password_, *salt, static_cast<uint32_t>(iterations));
    clientKey = HmacSha1(salted.data(), salted.size(), "Client Key", 10);
    storedKey = Sha1(clientKey.data(), clientKey.size());
    signature =
        HmacSha1(storedKey.data(), storedKey.size(), authMessage_.data(), authMessage_.size());
    serverKey = HmacSha1(salted.data(), salted.size(), "Server Key", 10);
    serverSignature_ =
        HmacSha1(serverKey.data(), serverKey.size(), authMessage_.data(), authMessage_.size());
  } catch (const std::exception&) {
    // The system's crypto provider failed (it reports by exception).
    return Fail("SCRAM: hashing failed");
  }
  Sha1Digest proof;
  for (size_t i = 0; i < proof.size(); ++i) proof[i] = clientKey[i] ^ signature[i];
  *clientFinal = withoutProof + ",p=" + Base64Encode(proof.data(), proof.size());
  state_ = 2;
  return true;
}

bool ScramSha1Client::VerifyServerFinal(const std::string& serverFinal) {
  if (state_ != 2) return Fail("SCRAM: out of order");
  if (serverFinal.compare(0, 2, "e=") == 0) return Fail("SCRAM: the server refused the login");
  if (serverFinal.compare(0, 2, "v=") != 0) return Fail("SCRAM: malformed server message");
  // Extensions may follow the verifier.
  const std::string text = serverFinal.substr(2, serverFinal.find(',') - 2);
  const auto verifier = Base64Decode(text);
  if (!verifier || verifier->size() != serverSignature_.size() ||
      !EqualInConstantTime(verifier->data(), serverSignature_.data(), serverSignature_.size()))
    return Fail("SCRAM: the server's signature is wrong");
  state_ = 3;
  return true;
}

}  // namespace lobbysvc
