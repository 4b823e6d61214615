// DirectPlay messages into records: data, the system messages and their debug
// lines, and everything too short or too long dropped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dplay_messages.h"

using namespace lobbylink;

namespace {

struct Sink : LobbyRecordSink {
  std::vector<std::vector<uint8_t>> posted;
  std::vector<uint8_t*> live;
  ~Sink() override {
    for (auto* p : live) delete[] p;
  }
  uint8_t* Alloc(size_t size) override {
    live.push_back(new uint8_t[size]());
    sizes.push_back(size);
    return live.back();
  }
  bool Post(uint8_t* r) override {
    const size_t i = Index(r);
    posted.emplace_back(r, r + sizes[i]);
    Free(r);
    return true;
  }
  void Free(uint8_t* r) override {
    const size_t i = Index(r);
    delete[] live[i];
    live.erase(live.begin() + long(i));
    sizes.erase(sizes.begin() + long(i));
  }
  void SetTarget(LobbyTarget) override {}
  size_t Index(uint8_t* r) {
    for (size_t i = 0; i < live.size(); ++i)
      if (live[i] == r) return i;
    ADD_FAILURE() << "unknown block";
    return 0;
  }
  std::vector<size_t> sizes;
};

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words, size_t size = 0) {
  std::vector<uint8_t> out(std::max(size, words.size() * 4), 0);
  size_t at = 0;
  for (uint32_t w : words) PutU32(out.data() + 4 * at++, w);
  return out;
}

}  // namespace

TEST(DplayMessages, SystemMessagesPostTheirRecordsAndDebugLines) {
  struct Case {
    std::vector<uint8_t> message;
    DplayMessageOutcome outcome;
    const char* line;
    int recordType;  // -1: none
    uint32_t leftId;
  } cases[] = {
      {Words({5, 1, 42}, kDestroyPlayerMessageSize), DplayMessageOutcome::kSystemHandled,
       "dp_HandleSystemMessage: DPSYS_DESTROYPLAYERORGROUP\n", 1, 42},
      {Words({0x31}), DplayMessageOutcome::kSystemHandled,
       "dp_HandleSystemMessage: DPSYS_SESSIONLOST\n", 4, 0},
      {Words({3, 1, 9}, 64), DplayMessageOutcome::kSystemHandled,
       "dp_HandleSystemMessage: DPSYS_CREATEPLAYERORGROUP\n", -1, 0},
      {Words({0x101}), DplayMessageOutcome::kSystemHandled, "dp_HandleSystemMessage: DPSYS_HOST\n",
       -1, 0},
      {Words({0x999}), DplayMessageOutcome::kSystemHandled,
       "dp_HandleSystemMessage: undefined system message\n", -1, 0},
      // Read at its third u32 only when the whole layout is there.
      {Words({5, 1, 42}), DplayMessageOutcome::kDropped, "", -1, 0},
      {Words({5, 1, 42}, kDestroyPlayerMessageSize - 1), DplayMessageOutcome::kDropped, "", -1, 0},
      {std::vector<uint8_t>{5, 0, 0}, DplayMessageOutcome::kDropped, "", -1, 0},
  };
  for (const Case& c : cases) {
    Sink sink;
    std::string lines;
    EXPECT_EQ(HandleDplayMessage(sink, 7, 0, 7, c.message.data(), c.message.size(),
                                 [&](const char* l) { lines += l; }),
              c.outcome);
    EXPECT_EQ(lines, c.line);
    if (c.recordType < 0) {
      EXPECT_TRUE(sink.posted.empty());
      continue;
    }
    ASSERT_EQ(sink.posted.size(), 1u);
    EXPECT_EQ(GetU32(sink.posted[0].data()), uint32_t(c.recordType));
    EXPECT_EQ(GetU32(sink.posted[0].data() + 4), 7u);
    if (c.recordType == 1) {
      EXPECT_EQ(GetU32(sink.posted[0].data() + 16), c.leftId);
    }
    EXPECT_TRUE(sink.live.empty());
  }
}

TEST(DplayMessages, DataBetweenFourBytesAndSixtyFourKiBIsPostedOnce) {
  for (size_t size : {size_t(0), size_t(3), size_t(4), size_t(1000), kMaxDplayMessage,
                      kMaxDplayMessage + 1}) {
    Sink sink;
    std::vector<uint8_t> message(size, 0xAB);
    const bool good = size >= 4 && size <= kMaxDplayMessage;
    EXPECT_EQ(HandleDplayMessage(sink, 7, 9, 7, message.data(), size, nullptr),
              good ? DplayMessageOutcome::kPosted : DplayMessageOutcome::kDropped)
        << size;
    ASSERT_EQ(sink.posted.size(), good ? 1u : 0u) << size;
    if (!good) continue;
    const auto& r = sink.posted[0];
    EXPECT_EQ(GetU32(r.data()), 0u);
    EXPECT_EQ(GetU32(r.data() + 4), 7u);
    EXPECT_EQ(GetU32(r.data() + 8), 9u);
    EXPECT_EQ(GetU32(r.data() + 12), size);
    EXPECT_EQ(std::vector<uint8_t>(r.begin() + 16, r.begin() + 16 + long(size)), message);
  }
}
