#include "wire.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Expected images are written here from the layout tables, byte by byte,
// independently of the packers.
struct Image {
  std::vector<uint8_t> bytes;
  explicit Image(size_t n) : bytes(n, 0) {}
  void U32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (8 * i));
  }
  void Text(size_t at, const char* s) { std::memcpy(&bytes[at], s, std::strlen(s)); }
};

OnlineGameDescriptor SampleDescriptor() {
  OnlineGameDescriptor d;
  for (int i = 0; i < 16; ++i) d.guid[i] = uint8_t(0xA0 + i);
  d.flags = kTimeFischer | kGameRated | kGameViewersAllowed | kGameTakebacksAllowed;
  d.base = 5;
  d.bonus = 3;
  std::strcpy(d.white, "alice");
  std::strcpy(d.black, "bob");
  std::strcpy(d.author, "alice");
  return d;
}

void DescriptorImage(Image& im, size_t at) {
  for (int i = 0; i < 16; ++i) im.bytes[at + i] = uint8_t(0xA0 + i);
  im.U32(at + 16, 0x1A2);
  im.U32(at + 20, 5);
  im.U32(at + 24, 3);
  im.Text(at + 28, "alice");
  im.Text(at + 44, "bob");
  im.Text(at + 60, "alice");
}

OnlineChallenge SampleChallenge() {
  OnlineChallenge c;
  c.head[0] = 7;
  c.timeType = 2;
  c.base = 3;
  c.bonus = 2;
  c.lowestRating = 1200;
  c.highestRating = 2000;
  std::strcpy(c.nickname, "bob");
  return c;
}

void ChallengeImage(Image& im, size_t at) {
  im.U32(at, 7);
  im.U32(at + 16, 2);
  im.U32(at + 20, 3);
  im.U32(at + 24, 2);
  im.U32(at + 32, 1200);
  im.U32(at + 36, 2000);
  im.Text(at + 40, "bob");
}

std::vector<uint8_t> Bytes(void (*pack)(const OnlineGameDescriptor&, uint8_t*),
                           const OnlineGameDescriptor& d) {
  std::vector<uint8_t> out(kGameDescriptorSize);
  pack(d, out.data());
  return out;
}

}  // namespace

TEST(WireRecords, GoldenImagesOfEveryRecord) {
  Image desc(76);
  DescriptorImage(desc, 0);
  EXPECT_EQ(Bytes(PackOnlineGameDescriptor, SampleDescriptor()), desc.bytes);

  Image ch(56);
  ChallengeImage(ch, 0);
  std::vector<uint8_t> chBytes(56);
  PackOnlineChallenge(SampleChallenge(), chBytes.data());
  EXPECT_EQ(chBytes, ch.bytes);

  OnlineUser u;
  u.changeMask = 0x400;
  u.version = kOnlineProtocolVersion;
  u.word2 = u.word4 = 1;
  u.state = 2;
  u.ratings[0] = {20, 1650};
  u.ratings[1] = {19, 1580};
  u.ratings[2] = {0, 1600};
  std::strcpy(u.nickname, "alice");
  std::strcpy(u.channel, "Lobby");
  u.game = SampleDescriptor();
  u.challenge = SampleChallenge();
  Image user(208);
  user.U32(0, 0x400);
  user.U32(4, 0x00010001);
  user.U32(8, 1);
  user.U32(12, 2);
  user.U32(16, 1);
  user.U32(20, 20), user.U32(24, 1650), user.U32(28, 19), user.U32(32, 1580), user.U32(36, 0),
      user.U32(40, 1600);
  user.Text(44, "alice");
  user.Text(60, "Lobby");
  DescriptorImage(user, 76);
  ChallengeImage(user, 152);
  std::vector<uint8_t> userBytes(208);
  PackOnlineUser(u, userBytes.data());
  EXPECT_EQ(userBytes, user.bytes);

  OnlineMove mv;
  mv.from = 12;
  mv.to = 28;
  mv.flags = 0x0100;
  mv.extra[0] = 9;
  mv.extra[3] = 4;
  Image move(16);
  move.bytes[0] = 12, move.bytes[1] = 28, move.bytes[8] = 0x00, move.bytes[9] = 0x01;
  move.bytes[10] = 9, move.bytes[13] = 4;
  std::vector<uint8_t> moveBytes(16);
  PackOnlineMove(mv, moveBytes.data());
  EXPECT_EQ(moveBytes, move.bytes);

  OnlineGameSnapshot s;
  std::strcpy(s.madeAt, "12/11/26 02:40");
  s.whiteRating = 1650;
  s.blackRating = 1580;
  s.result = 15;
  s.game = SampleDescriptor();
  s.moves = {mv, mv};
  Image snap(144 + 32);
  snap.U32(0, 0x00010001);
  snap.Text(4, "12/11/26 02:40");
  snap.U32(36, 1650);
  snap.U32(40, 1580);
  snap.U32(44, 15);
  DescriptorImage(snap, 48);
  snap.U32(124, 2);
  std::memcpy(&snap.bytes[128], move.bytes.data(), 16);
  std::memcpy(&snap.bytes[144], move.bytes.data(), 16);
  EXPECT_EQ(PackOnlineGameSnapshot(s), snap.bytes);

  NetUserData nd;
  for (int i = 0; i < 3; ++i) {
    nd.blocks[i].category = uint32_t(i);
    nd.blocks[i].rating = 1600 + i;
    nd.blocks[i].highest = 1700;
    nd.blocks[i].wonWhite = 1, nd.blocks[i].wonBlack = 2, nd.blocks[i].lostWhite = 3;
    nd.blocks[i].lostBlack = 4, nd.blocks[i].drawnWhite = 5, nd.blocks[i].drawnBlack = 6;
    nd.blocks[i].averageOpponent = 1550;
    std::strcpy(nd.blocks[i].highestWhen, "12/11/26 02:40");
  }
  Image net(216);
  for (int i = 0; i < 3; ++i) {
    size_t b = 72 * i;
    net.U32(b, i), net.U32(b + 4, 1600 + i), net.U32(b + 8, 1700);
    for (int k = 0; k < 6; ++k) net.U32(b + 12 + 4 * k, k + 1);
    net.U32(b + 36, 1550);
    net.Text(b + 40, "12/11/26 02:40");
  }
  std::vector<uint8_t> netBytes(216);
  PackNetUserData(nd, netBytes.data());
  EXPECT_EQ(netBytes, net.bytes);

  LobbyGameList list;
  list.count = 1;
  std::memcpy(list.slots[3], snap.bytes.data(), 124);
  Image li(1244);
  li.U32(0, 1);
  std::memcpy(&li.bytes[4 + 3 * 124], snap.bytes.data(), 124);
  std::vector<uint8_t> listBytes(1244);
  PackLobbyGameList(list, listBytes.data());
  EXPECT_EQ(listBytes, li.bytes);
  LobbyGameList back;
  ASSERT_TRUE(UnpackLobbyGameList(listBytes.data(), listBytes.size(), &back));
  EXPECT_TRUE(SlotIsUsed(back, 3));
  EXPECT_TRUE(SlotHoldsGuid(back, 3, s.game.guid));
  EXPECT_FALSE(SlotIsUsed(back, 0));
}

TEST(WireRecords, MoveWordIsSentAsZeroAndIgnoredOnReceipt) {
  uint8_t bytes[16];
  std::memset(bytes, 0xEE, sizeof bytes);  // a peer's planted pointer
  OnlineMove m;
  UnpackOnlineMove(bytes, &m);
  uint8_t out[16];
  PackOnlineMove(m, out);
  for (int i = 2; i < 8; ++i) EXPECT_EQ(out[i], 0) << i;
  EXPECT_EQ(out[14], 0);
  EXPECT_EQ(out[15], 0);
}

TEST(WireRecords, SnapshotRoundTripAndLimits) {
  OnlineGameSnapshot s;
  s.game = SampleDescriptor();
  s.moves.resize(512);
  for (size_t i = 0; i < s.moves.size(); ++i) s.moves[i].from = uint8_t(i);
  auto bytes = PackOnlineGameSnapshot(s);
  ASSERT_EQ(bytes.size(), kStoredGameMaxSize);
  OnlineGameSnapshot back;
  ASSERT_TRUE(UnpackOnlineGameSnapshot(bytes.data(), bytes.size(), &back));
  EXPECT_EQ(back.moves.size(), 512u);
  EXPECT_EQ(back.moves[300].from, uint8_t(300));
  EXPECT_FALSE(UnpackOnlineGameSnapshot(bytes.data(), bytes.size() - 1, &back));

  s.moves.resize(513);
  EXPECT_TRUE(PackOnlineGameSnapshot(s).empty());
  EXPECT_TRUE(BuildViewSnapshotMessage(s).empty());
  EXPECT_TRUE(BuildStoredGameMessage(1, s).empty());
}

TEST(PeerMessages, LengthTable) {
  struct Case {
    uint32_t type;
    size_t length;
  } cases[] = {{1, 64},  {2, 64},  {3, 68},   {4, 64},   {5, 100},   {6, 84},  {9, 84},   {12, 84},
               {14, 84}, {19, 84}, {22, 152}, {23, 216}, {25, 216},  {26, 8},  {27, 17},  {31, 88},
               {32, 44}, {35, 84}, {50, 8},   {51, 984}, {53, 1252}, {54, 28}, {55, 156}, {56, 88},
               {60, 92}, {61, 12}, {70, 912}, {90, 92},  {101, 8}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetPeerTypeInfo(c.type).minLength, c.length) << c.type;
  }
  for (uint32_t t : {0u, 11u, 13u, 15u, 28u, 30u, 36u, 49u, 57u, 62u, 71u, 91u, 100u, 102u, 0xFFFFFFFFu})
    EXPECT_EQ(GetPeerTypeInfo(t).payload, PAYLOAD_NONE_KNOWN) << t;
}

// One well-formed message of every type with a payload, as the builders make it.
std::vector<std::vector<uint8_t>> EveryMessage() {
  OnlineGameDescriptor d = SampleDescriptor();
  OnlineUser u;
  std::strcpy(u.nickname, "bob");
  OnlineGameSnapshot s;
  s.game = d;
  s.moves.resize(3);
  OnlineProfileBlock profile;
  std::strcpy(profile.userName, "bob");
  LobbyGameList list;
  std::vector<std::vector<uint8_t>> all = {BuildChallengeMessage(1, SampleChallenge()),
                                           BuildDeclineMessage(2, SampleChallenge()),
                                           BuildMoveMessage(d, OnlineMove()),
                                           BuildUserMessage(23, u),
                                           BuildChatMessage(2, "hello"),
                                           BuildTakebackDoneMessage(d, 16),
                                           BuildGameStartMessage(d.guid, s.moves),
                                           BuildViewSnapshotMessage(s),
                                           BuildStoredGameRequest(1, d.guid),
                                           BuildStoredGameMessage(2, s),
                                           BuildViewerMessage(d, "carol"),
                                           BuildProfileMessage(profile),
                                           BuildGameListMessage(list),
                                           BuildEmptyMessage(26)};
  for (uint32_t t : {6u, 7u, 8u, 9u, 10u, 12u, 14u, 16u, 18u, 19u, 20u, 33u, 34u, 35u})
    all.push_back(BuildDescriptorMessage(t, d));
  return all;
}

TEST(PeerMessages, EveryTypeParsesWholeAndIsDroppedOneByteShort) {
  for (const auto& m : EveryMessage()) {
    PeerMessage out;
    ASSERT_TRUE(ParsePeerMessage(m.data(), m.size(), &out)) << m[4];
    // Extra bytes of a later minor version are ignored.
    auto longer = m;
    longer.resize(m.size() + 40, 0x55);
    EXPECT_TRUE(ParsePeerMessage(longer.data(), longer.size(), &out)) << m[4];
    auto shorter = std::vector<uint8_t>(m.begin(), m.end() - 1);
    EXPECT_FALSE(ParsePeerMessage(shorter.data(), shorter.size(), &out)) << int(m[4]);
  }
}

TEST(PeerMessages, CountsBeyondTheBytesAreDropped) {
  OnlineGameSnapshot s;
  s.moves.resize(2);
  PeerMessage out;
  // Type 22 with n = 513, and with n beyond the bytes present.
  auto view = BuildViewSnapshotMessage(s);
  ASSERT_EQ(view.size(), 152u + 32);
  view[8 + 124] = 3;
  EXPECT_FALSE(ParsePeerMessage(view.data(), view.size(), &out));
  view.resize(152 + 16 * 513, 0);
  view[8 + 124] = 0x01, view[8 + 125] = 0x02;  // 513
  EXPECT_FALSE(ParsePeerMessage(view.data(), view.size(), &out));
  // Type 32 and 55 the same.
  auto start = BuildGameStartMessage(s.game.guid, s.moves);
  start[24] = 3;
  EXPECT_FALSE(ParsePeerMessage(start.data(), start.size(), &out));
  auto stored = BuildStoredGameMessage(1, s);
  ASSERT_EQ(stored.size(), 156u + 32);
  stored[12 + 124] = 3;
  EXPECT_FALSE(ParsePeerMessage(stored.data(), stored.size(), &out));
  stored[12 + 124] = 2;
  EXPECT_TRUE(ParsePeerMessage(stored.data(), stored.size(), &out));
  EXPECT_EQ(out.word, 1u);
  EXPECT_EQ(out.snapshot.moves.size(), 2u);
}

TEST(PeerMessages, UnterminatedTextsAreDropped) {
  PeerMessage out;
  auto fill = [](std::vector<uint8_t> m, size_t at, size_t n) {
    std::memset(&m[at], 'x', n);
    return m;
  };
  OnlineGameDescriptor d = SampleDescriptor();
  OnlineUser u;
  OnlineProfileBlock profile;
  LobbyGameList list;
  struct Case {
    const char* what;
    std::vector<uint8_t> message;
  } cases[] = {
      {"chat text", fill(BuildChatMessage(1, ""), 12, 5)},
      {"viewer nickname", fill(BuildViewerMessage(d, ""), 84, 4)},
      {"viewer nickname too long", fill(BuildViewerMessage(d, "abcdefghijklmno"), 84, 16)},
      {"white", fill(BuildDescriptorMessage(9, d), 8 + 28, 16)},
      {"black", fill(BuildDescriptorMessage(9, d), 8 + 44, 16)},
      {"author", fill(BuildDescriptorMessage(9, d), 8 + 60, 16)},
      {"user nickname", fill(BuildUserMessage(23, u), 8 + 44, 16)},
      {"user channel", fill(BuildUserMessage(25, u), 8 + 60, 16)},
      {"user's game", fill(BuildUserMessage(25, u), 8 + 76 + 28, 16)},
      {"user's challenge", fill(BuildUserMessage(25, u), 8 + 152 + 40, 16)},
      {"challenge nickname", fill(BuildChallengeMessage(1, SampleChallenge()), 8 + 40, 16)},
      {"profile user name", fill(BuildProfileMessage(profile), 8, 30)},
      {"profile second text", fill(BuildProfileMessage(profile), 8 + 30, 514)},
      {"profile rating text", fill(BuildProfileMessage(profile), 8 + 544 + 40, 32)},
      {"game list slot names", fill(fill(BuildGameListMessage(list), 8, 1), 12 + 76, 48)},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(ParsePeerMessage(c.message.data(), c.message.size(), &out)) << c.what;

  auto chat = BuildChatMessage(3, "hi there");
  ASSERT_TRUE(ParsePeerMessage(chat.data(), chat.size(), &out));
  EXPECT_EQ(out.text, "hi there");
  EXPECT_EQ(out.word, 3u);
}

TEST(PeerMessages, GameListCountMustMatchUsedSlots) {
  LobbyGameList list;
  list.slots[2][kSlotUsedOffset] = 'a';
  PeerMessage out;
  for (uint32_t count : {0u, 2u, 11u, 0xFFFFFFFFu}) {
    list.count = count;
    auto m = BuildGameListMessage(list);
    EXPECT_FALSE(ParsePeerMessage(m.data(), m.size(), &out)) << count;
  }
  list.count = 1;
  auto m = BuildGameListMessage(list);
  EXPECT_TRUE(ParsePeerMessage(m.data(), m.size(), &out));
}
