// SCRAM-SHA-1 against RFC 5802's example, and hostile server messages.
#include <gtest/gtest.h>

#include "base64.h"
#include "scram_sha1.h"

using namespace lobbysvc;

namespace {
const char kNonce[] = "fyko+d2lbbFgONRv9qkxdawL";
const char kServerFirst[] = "r=fyko+d2lbbFgONRv9qkxdawL3rfcNHYJY1ZVvWVs7j,s=QSXCR+Q6sek8bf92,i=4096";
}  // namespace

TEST(Scram, Rfc5802Example) {
  ScramSha1Client c("user", "pencil", kNonce);
  EXPECT_EQ(c.ClientFirst(), "n,,n=user,r=fyko+d2lbbFgONRv9qkxdawL");
  std::string final;
  ASSERT_TRUE(c.ClientFinal(kServerFirst, &final)) << c.Error();
  EXPECT_EQ(final, "c=biws,r=fyko+d2lbbFgONRv9qkxdawL3rfcNHYJY1ZVvWVs7j,p=v0X8v3Bz2T0CJGbJQyF0X+HI4Ts=");
  EXPECT_TRUE(c.VerifyServerFinal("v=rmF9pqV8S7suAoZWja4dJRkFsKQ=")) << c.Error();
}

TEST(Scram, ServerSignatureMustMatch) {
  for (const char* last : {"v=rmF9pqV8S7suAoZWja4dJRkFsKR=", "v=", "e=invalid-proof", "x=1",
                           "v=rmF9pqV8S7suAoZWja4dJRkF", ""}) {
    ScramSha1Client c("user", "pencil", kNonce);
    c.ClientFirst();
    std::string final;
    ASSERT_TRUE(c.ClientFinal(kServerFirst, &final));
    EXPECT_FALSE(c.VerifyServerFinal(last)) << last;
  }
  // Wrong password: the server's signature of the right one does not verify.
  ScramSha1Client wrong("user", "pencil2", kNonce);
  wrong.ClientFirst();
  std::string final;
  ASSERT_TRUE(wrong.ClientFinal(kServerFirst, &final));
  EXPECT_FALSE(wrong.VerifyServerFinal("v=rmF9pqV8S7suAoZWja4dJRkFsKQ="));
}

TEST(Scram, HostileServerFirstMessages) {
  const char* cases[] = {
      "",
      "r=fyko+d2lbbFgONRv9qkxdawL,s=QSXCR+Q6sek8bf92,i=4096",  // nonce not extended
      "r=other3rfcNHYJY1ZVvWVs7j,s=QSXCR+Q6sek8bf92,i=4096",
      "m=ext,r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=4096",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=,i=4096",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf9,i=4096",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=0",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=-1",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=4096x",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=99999999999",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=1000001",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92",
      "s=QSXCR+Q6sek8bf92,r=fyko+d2lbbFgONRv9qkxdawL3rfc,i=4096",
      "r=fyko+d2lbbFgONRv9qkxdawL3rfc,s=QSXCR+Q6sek8bf92,i=4096,",
  };
  for (const char* m : cases) {
    ScramSha1Client c("user", "pencil", kNonce);
    c.ClientFirst();
    std::string final = "untouched";
    EXPECT_FALSE(c.ClientFinal(m, &final)) << m;
    EXPECT_EQ(final, "untouched");
    EXPECT_FALSE(c.Error().empty());
  }
}

TEST(Scram, OrderAndNameEscaping) {
  ScramSha1Client c("a=b,c", "p", "n0nce");
  std::string final;
  EXPECT_FALSE(c.ClientFinal(kServerFirst, &final));  // before the first message
  ScramSha1Client d("a=b,c", "p", "n0nce");
  EXPECT_EQ(d.ClientFirst(), "n,,n=a=3Db=2Cc,r=n0nce");
  EXPECT_FALSE(d.VerifyServerFinal("v=rmF9pqV8S7suAoZWja4dJRkFsKQ="));
}

TEST(Base64, StrictDecoding) {
  struct Case {
    const char* text;
    bool ok;
    std::string bytes;
  };
  const Case cases[] = {
      {"", true, ""},           {"Zg==", true, "f"},      {"Zm8=", true, "fo"},
      {"Zm9v", true, "foo"},    {"Zm9vYg==", true, "foob"},
      {"Zh==", false, ""},      {"Zm9=", false, ""},      {"Zg=", false, ""},
      {"Zg", false, ""},        {"Z===", false, ""},      {"Zg==Zg==", false, ""},
      {"Zm9v\n", false, ""},    {"Zm 9", false, ""},      {"Zm=v", false, ""},
      {"Zm9-", false, ""},
  };
  for (const Case& c : cases) {
    const auto decoded = Base64Decode(c.text);
    EXPECT_EQ(decoded.has_value(), c.ok) << c.text;
    if (c.ok && decoded) {
      EXPECT_EQ(*decoded, c.bytes) << c.text;
      EXPECT_EQ(Base64Encode(*decoded), c.text);
    }
  }
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (size_t n = 0; n < all.size(); n += 7) EXPECT_EQ(*Base64Decode(Base64Encode(all.substr(0, n))), all.substr(0, n));
}
