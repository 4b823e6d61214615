// The DirectPlay receive side over a fake DirectPlay that queues messages
// and answers Receive as DirectPlay does.
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "dplay_messages.h"
#include "dplay_receiver_win32.h"
#include "fakedplay/fake_directplay_base.h"
#include "lobby_records.h"

using namespace lobbylink;

namespace {

struct QueuedMessage {
  DPID from, to;
  std::vector<unsigned char> bytes;
};

class FakeQueue : public FakeDirectPlayBase {
 public:
  std::mutex mutex;
  std::deque<QueuedMessage> queue;
  std::vector<DWORD> sizesOffered;  // the buffer size of each Receive call

  void Add(DPID from, DPID to, std::vector<unsigned char> bytes) {
    std::lock_guard<std::mutex> lock(mutex);
    queue.push_back({from, to, std::move(bytes)});
  }
  STDMETHOD(Receive)(LPDPID from, LPDPID to, DWORD flags, LPVOID data, LPDWORD size) override {
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(flags, DWORD(DPRECEIVE_ALL));
    sizesOffered.push_back(*size);
    if (queue.empty()) return DPERR_NOMESSAGES;
    const QueuedMessage& m = queue.front();
    if (*size < m.bytes.size()) {
      *size = DWORD(m.bytes.size());
      return DPERR_BUFFERTOOSMALL;
    }
    std::copy(m.bytes.begin(), m.bytes.end(), static_cast<unsigned char*>(data));
    *size = DWORD(m.bytes.size());
    *from = m.from;
    *to = m.to;
    queue.pop_front();
    return DP_OK;
  }
};

struct Sink : LobbyRecordSink {
  std::mutex mutex;
  std::vector<std::vector<uint8_t>> posted;
  uint8_t* Alloc(size_t size) override {
    auto* p = new uint8_t[size + sizeof(size_t)]();
    *reinterpret_cast<size_t*>(p) = size;
    return p + sizeof(size_t);
  }
  bool Post(uint8_t* r) override {
    const size_t size = *reinterpret_cast<size_t*>(r - sizeof(size_t));
    {
      std::lock_guard<std::mutex> lock(mutex);
      posted.emplace_back(r, r + size);
    }
    Free(r);
    return true;
  }
  void Free(uint8_t* r) override { delete[] (r - sizeof(size_t)); }
  void SetTarget(LobbyTarget) override {}
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex);
    return posted.size();
  }
};

std::vector<unsigned char> Words(std::initializer_list<uint32_t> words, size_t size) {
  std::vector<unsigned char> out(size, 0);
  size_t at = 0;
  for (uint32_t w : words) PutU32(out.data() + 4 * at++, w);
  return out;
}

}  // namespace

TEST(DplayReceiver, DrainGrowsTheBufferToTheReportedSizeAndSortsMessages) {
  FakeQueue play;
  Sink sink;
  std::string debug;
  DplayReceiver receiver(&play, sink, [&](const char* line) { debug += line; });
  receiver.SetOwnId(7);
  play.Add(9, 7, std::vector<unsigned char>(5000, 0x5A));        // larger than any buffer yet
  play.Add(9, 7, {1, 2, 3});                                     // 3 bytes: dropped
  play.Add(0, 7, Words({5, 1, 42}, kDestroyPlayerMessageSize));  // player 42 left
  play.Add(0, 7, Words({0x31}, 4));                              // session lost
  play.Add(9, 7, std::vector<unsigned char>(kMaxDplayMessage + 1, 1));  // over 64 KiB: dropped
  play.Add(9, 7, {'l', 'a', 's', 't'});
  receiver.Drain();

  ASSERT_EQ(sink.posted.size(), 4u);
  EXPECT_EQ(GetU32(sink.posted[0].data()), 0u);
  EXPECT_EQ(GetU32(sink.posted[0].data() + 8), 9u);
  EXPECT_EQ(GetU32(sink.posted[0].data() + 12), 5000u);
  EXPECT_EQ(GetU32(sink.posted[1].data()), 1u);
  EXPECT_EQ(GetU32(sink.posted[1].data() + 16), 42u);
  EXPECT_EQ(GetU32(sink.posted[2].data()), 4u);
  EXPECT_EQ(GetU32(sink.posted[3].data()), 0u);
  EXPECT_EQ(std::string(sink.posted[3].begin() + 16, sink.posted[3].end()).substr(0, 4), "last");
  EXPECT_EQ(debug,
            "dp_HandleSystemMessage: DPSYS_DESTROYPLAYERORGROUP\n"
            "dp_HandleSystemMessage: DPSYS_SESSIONLOST\n");
  // The first message: asked with no buffer, then with exactly its size.
  ASSERT_GE(play.sizesOffered.size(), 2u);
  EXPECT_EQ(play.sizesOffered[0], 0u);
  EXPECT_EQ(play.sizesOffered[1], 5000u);
}

TEST(DplayReceiver, TheThreadDrainsWhenSignalledAndEndsOnStop) {
  FakeQueue play;
  Sink sink;
  DplayReceiver receiver(&play, sink, nullptr);
  ASSERT_TRUE(receiver.Start());
  ASSERT_NE(receiver.ReceiveEvent(), nullptr);
  play.Add(3, 1, {'p', 'i', 'n', 'g'});
  SetEvent(receiver.ReceiveEvent());
  for (int i = 0; i < 200 && sink.Count() == 0; ++i) Sleep(10);
  EXPECT_EQ(sink.Count(), 1u);
  receiver.Stop();
  // Once stopped, DirectPlay is no longer asked for anything.
  size_t calls;
  {
    std::lock_guard<std::mutex> lock(play.mutex);
    calls = play.sizesOffered.size();
  }
  Sleep(50);
  std::lock_guard<std::mutex> lock(play.mutex);
  EXPECT_EQ(play.sizesOffered.size(), calls);
  receiver.Stop();  // twice is harmless
}
