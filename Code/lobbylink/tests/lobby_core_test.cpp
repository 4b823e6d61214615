// Records, error names and dispatch of Lobbylink, without Windows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lobby_errors.h"
#include "lobby_handle.h"
#include "lobby_records.h"

using namespace lobbylink;

namespace {

// Keeps every block it hands out; posting may be made to fail.
struct FakeSink : LobbyRecordSink {
  std::vector<std::vector<uint8_t>*> live;
  std::vector<std::vector<uint8_t>> posted;
  std::vector<size_t> allocations;
  bool postFails = false;
  bool allocFails = false;
  int freed = 0;

  ~FakeSink() override {
    for (auto* b : live) delete b;
  }
  uint8_t* Alloc(size_t size) override {
    if (allocFails) return nullptr;
    allocations.push_back(size);
    live.push_back(new std::vector<uint8_t>(size, 0));
    return live.back()->data();
  }
  std::vector<uint8_t>* Find(uint8_t* r) {
    for (auto* b : live)
      if (b->data() == r) return b;
    return nullptr;
  }
  bool Post(uint8_t* r) override {
    if (postFails) return false;
    posted.push_back(*Find(r));
    Free(r);  // the copy stands for the host's record
    --freed;
    return true;
  }
  void SetTarget(LobbyTarget) override {}
  void Free(uint8_t* r) override {
    for (size_t i = 0; i < live.size(); ++i)
      if (live[i]->data() == r) {
        delete live[i];
        live.erase(live.begin() + i);
        ++freed;
        return;
      }
    ADD_FAILURE() << "free of a block never allocated";
  }
};

std::string Text(const std::vector<uint8_t>& r, size_t at, size_t max) {
  return std::string(reinterpret_cast<const char*>(r.data() + at), strnlen(reinterpret_cast<const char*>(r.data() + at), max));
}

}  // namespace

TEST(LobbyRecords, AllocationAndHeaderOfEveryType) {
  FakeSink sink;
  const uint8_t payload[5] = {1, 2, 3, 4, 5};
  const uint8_t guid[16] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                            0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f};
  ASSERT_TRUE(PostDataRecord(sink, 7, 9, payload, 5));
  ASSERT_TRUE(PostPlayerLeftRecord(sink, 7, 42));
  ASSERT_TRUE(PostLoginRecord(sink, 7, "alice"));
  ASSERT_TRUE(PostSessionLostRecord(sink, 7));
  ASSERT_TRUE(PostSessionRecord(sink, 7, guid, "Friday game", 2));
  ASSERT_TRUE(PostConnectionRecord(sink, 7, 2, "TCP/IP", payload, 5));
  ASSERT_TRUE(PostAddressRecord(sink, 7, 2, "10.0.0.1", 9));

  struct Expect {
    uint32_t type, sender, size;
    size_t alloc;
  };
  const Expect expect[] = {{0, 9, 5, 21},  {1, 0, 4, 20},  {3, 0, 16, 32}, {4, 0, 0, 16},
                           {5, 0, 84, 100}, {6, 0, 77, 93}, {7, 0, 21, 37}};
  ASSERT_EQ(sink.posted.size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    const auto& r = sink.posted[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(sink.allocations[i], expect[i].alloc);
    EXPECT_EQ(GetU32(&r[0]), expect[i].type);
    EXPECT_EQ(GetU32(&r[4]), 7u);
    EXPECT_EQ(GetU32(&r[8]), expect[i].sender);
    EXPECT_EQ(GetU32(&r[12]), expect[i].size);
  }
  EXPECT_EQ(0, std::memcmp(&sink.posted[0][16], payload, 5));
  EXPECT_EQ(GetU32(&sink.posted[1][16]), 42u);
  EXPECT_EQ(Text(sink.posted[2], 16, 16), "alice");
  // Type 5: GUID @16, name @32, kind @96.
  EXPECT_EQ(0, std::memcmp(&sink.posted[4][16], guid, 16));
  EXPECT_EQ(Text(sink.posted[4], 32, 64), "Friday game");
  EXPECT_EQ(GetU32(&sink.posted[4][96]), 2u);
  // Type 6: kind @16, n @20, name @24, data @87.
  EXPECT_EQ(GetU32(&sink.posted[5][16]), 2u);
  EXPECT_EQ(GetU32(&sink.posted[5][20]), 5u);
  EXPECT_EQ(Text(sink.posted[5], 24, 63), "TCP/IP");
  EXPECT_EQ(0, std::memcmp(&sink.posted[5][87], payload, 5));
  // Type 7: kind @16, n @20, value @24.
  EXPECT_EQ(GetU32(&sink.posted[6][20]), 9u);
  EXPECT_EQ(Text(sink.posted[6], 24, 9), "10.0.0.1");
}

TEST(LobbyRecords, SizesFollowN) {
  for (size_t n : {0u, 1u, 300u}) {
    EXPECT_EQ(LobbyRecordAllocSize(kRecordConnection, n), n + 88);
    EXPECT_EQ(LobbyRecordAllocSize(kRecordAddress, n), n + 28);
    EXPECT_EQ(LobbyRecordAllocSize(kRecordData, n), n + 16);
  }
}

TEST(LobbyRecords, NetworkTextIsCutAndTerminated) {
  FakeSink sink;
  const std::string longName(200, 'x');
  ASSERT_TRUE(PostSessionRecord(sink, 0, nullptr, longName.c_str(), 1));
  ASSERT_TRUE(PostConnectionRecord(sink, 0, 4, longName.c_str(), "\xAA", 1));
  ASSERT_TRUE(PostLoginRecord(sink, 0, "abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(Text(sink.posted[0], 32, 64), std::string(63, 'x'));
  EXPECT_EQ(sink.posted[0][95], 0);
  EXPECT_EQ(GetU32(&sink.posted[0][96]), 1u);
  EXPECT_EQ(Text(sink.posted[1], 24, 63), std::string(62, 'x'));
  EXPECT_EQ(sink.posted[1][86], 0);
  EXPECT_EQ(sink.posted[1][87], 0xAA);
  EXPECT_EQ(Text(sink.posted[2], 16, 16), "abcdefghijklmno");
}

TEST(LobbyRecords, FailedPostFreesTheRecordAndFailedAllocPostsNothing) {
  FakeSink sink;
  sink.postFails = true;
  EXPECT_FALSE(PostDataRecord(sink, 1, 2, "abc", 3));
  EXPECT_FALSE(PostPlayerLeftRecord(sink, 1, 2));
  EXPECT_EQ(sink.freed, 2);
  EXPECT_TRUE(sink.live.empty());
  sink.postFails = false;
  sink.allocFails = true;
  EXPECT_FALSE(PostSessionLostRecord(sink, 1));
  EXPECT_TRUE(sink.posted.empty());
}

TEST(LobbyErrors, NamesUnknownCodesAndSmallBuffers) {
  struct Case {
    uint32_t code;
    const char* text;
  };
  const Case cases[] = {{0, "DP_OK"},
                        {0x8877001Eu, "DPERR_BUFFERTOOSMALL"},
                        {0x80004005u, "DPERR_GENERIC"},
                        {0x80070057u, "DPERR_INVALIDPARAMS"},
                        {0x8007000Eu, "DPERR_OUTOFMEMORY"},
                        {0x88770820u, "DPERR_LOGONDENIED"},
                        {0x887700BEu, "DPERR_NOMESSAGES"},
                        {0x12345678u, "0x12345678"},
                        {0x8877ABCDu, "0x8877ABCD"},
                        {0xFFFFFF1Du, "0xFFFFFF1D"}};
  for (const Case& c : cases) {
    char buffer[64] = "untouched";
    EXPECT_EQ(FormatDirectPlayError(static_cast<int32_t>(c.code), buffer, sizeof buffer),
              static_cast<int32_t>(c.code));
    EXPECT_STREQ(buffer, c.text);
    // The text must fit with its terminator, else the buffer stays as it was.
    const size_t length = std::strlen(c.text);
    char exact[64];
    std::memset(exact, '#', sizeof exact);
    FormatDirectPlayError(static_cast<int32_t>(c.code), exact, length);
    EXPECT_EQ(exact[0], '#');
    FormatDirectPlayError(static_cast<int32_t>(c.code), exact, length + 1);
    EXPECT_STREQ(exact, c.text);
  }
}

namespace {

struct FakeBackEnd : LobbyBackEnd {
  std::vector<std::string>* calls;
  uint32_t kind;
  FakeBackEnd(std::vector<std::string>* c, uint32_t k) : calls(c), kind(k) {}
  int Login(LobbyHandle&, LobbyTarget, const uint8_t*, int, const char*, const char*) override {
    calls->push_back("login");
    return 0;
  }
  int Disconnect() override {
    calls->push_back("disconnect");
    delete this;
    return 0;
  }
  int GetUserData(const char* k, void* b, uint32_t* s) override {
    // Kind 0 keeps the interface's own user-data calls.
    if (kind == 0) return LobbyBackEnd::GetUserData(k, b, s);
    calls->push_back("get");
    return 5;
  }
  int UserSend(const RecipientList& list, const void*, uint32_t) override {
    calls->push_back("send " + std::to_string(list.count));
    return 3;
  }
  int ChannelSend(const void*, uint32_t) override { return 4; }
  int GetNick(uint32_t, char* name) override {
    std::strcpy(name, "bob");
    return 0;
  }
  int ErrorString(int code, char*, size_t) override { return code; }
};

struct FakeFactory : LobbyBackEndFactory {
  std::vector<std::string> calls;
  bool fail = false;
  LobbyBackEnd* Start(uint32_t kind, LobbyTarget, const LobbyHandle&) override {
    calls.push_back("start " + std::to_string(kind));
    return fail ? nullptr : new FakeBackEnd(&calls, kind);
  }
};

int frees = 0;
void CountFree(void*) { ++frees; }

}  // namespace

TEST(LobbyDispatch, InitRefusesMissingArgumentsAndUnknownKinds) {
  FakeFactory f;
  const uint8_t id[16] = {};
  EXPECT_EQ(LobbyInit(f, {1, 0x810A}, 0, nullptr, "me"), nullptr);
  EXPECT_EQ(LobbyInit(f, {1, 0x810A}, 0, id, nullptr), nullptr);
  EXPECT_EQ(LobbyInit(f, {1, 0x810A}, 2, id, "me"), nullptr);
  EXPECT_TRUE(f.calls.empty());  // no back end was started for any of them
  f.fail = true;
  EXPECT_EQ(LobbyInit(f, {1, 0x810A}, 1, id, "me"), nullptr);
}

TEST(LobbyDispatch, NullHandleDoesNothing) {
  char buffer[16] = "keep";
  uint32_t size = 16;
  const RecipientList list = {1, {5}};
  EXPECT_EQ(LobbyLogin(nullptr, {}, nullptr, 0, "a", "b"), 0);
  EXPECT_EQ(LobbyGetUserData(nullptr, "k", buffer, &size), 0);
  EXPECT_EQ(LobbyUserSend(nullptr, &list, "x", 1), 0);
  EXPECT_EQ(LobbyErrorSeverity(nullptr, 5), 0);
  EXPECT_EQ(LobbyErrorString(nullptr, 5, buffer, 16), 0);
  EXPECT_EQ(LobbyReleaseData(nullptr, buffer, CountFree), 0);
  EXPECT_EQ(LobbyDisconnect(nullptr), 0);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_EQ(frees, 0);
}

TEST(LobbyDispatch, ForwardsByKindAndGuardsLists) {
  FakeFactory f;
  const uint8_t id[16] = {9};
  LobbyHandle* h = LobbyInit(f, {1, 0x810A}, 1, id, "carol");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->kind, 1u);
  EXPECT_EQ(h->applicationId[0], 9);
  EXPECT_STREQ(h->name, "carol");
  EXPECT_EQ(LobbyErrorSeverity(h, -227), 1);

  const RecipientList none = {0, {0}};
  EXPECT_EQ(LobbyUserSend(h, nullptr, "x", 1), 0);
  EXPECT_EQ(LobbyUserSend(h, &none, "x", 1), 0);
  const uint32_t two[3] = {2, 11, 12};
  EXPECT_EQ(LobbyUserSend(h, reinterpret_cast<const RecipientList*>(two), "x", 1), 3);
  EXPECT_EQ(LobbyChannelSend(h, "x", 1), 4);

  EXPECT_EQ(LobbyReleaseData(h, nullptr, CountFree), -1);
  char record[4];
  EXPECT_EQ(LobbyReleaseData(h, record, CountFree), 0);
  EXPECT_EQ(frees, 1);

  EXPECT_EQ(LobbyDisconnect(h), 0);
  EXPECT_EQ(LobbyDisconnect(h), -1);  // twice: the back end is gone, nothing runs
  // Records still queued at the host are released after the disconnect.
  EXPECT_EQ(LobbyReleaseData(h, record, CountFree), 0);
  EXPECT_EQ(frees, 2);
  EXPECT_EQ(f.calls, (std::vector<std::string>{"start 1", "send 2", "disconnect"}));
  delete h;
}

TEST(LobbyDispatch, DirectPlayHandleLeavesUserDataAlone) {
  FakeFactory f;
  const uint8_t id[16] = {};
  LobbyHandle* h = LobbyInit(f, {1, 0x810A}, 0, id, "dave");
  ASSERT_NE(h, nullptr);
  char buffer[8] = "same";
  uint32_t size = 8;
  EXPECT_EQ(LobbyGetUserData(h, "key", buffer, &size), 0);
  EXPECT_EQ(LobbyPutUserData(h, "key", "v", 1), 0);
  EXPECT_STREQ(buffer, "same");
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(LobbyReleaseData(h, nullptr, CountFree), 0);
  LobbyDisconnect(h);
  delete h;
}
