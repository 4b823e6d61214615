#include "wire.h"

#include <cstring>

namespace {

void Put32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

// A text field is copied whole; the builder's copy always ends inside it.
void PutText(uint8_t* p, const char* field, size_t size) {
  std::memcpy(p, field, size);
  p[size - 1] = 0;
}
bool GetText(const uint8_t* p, char* field, size_t size) {
  std::memcpy(field, p, size);
  return NameIsTerminated(field, size);
}

std::vector<uint8_t> Message(uint32_t type, size_t length) {
  std::vector<uint8_t> m(length, 0);
  Put32(m.data(), kOnlineProtocolVersion);
  Put32(m.data() + 4, type);
  return m;
}

void PackMoves(const std::vector<OnlineMove>& moves, uint8_t* out) {
  for (size_t i = 0; i < moves.size(); ++i) PackOnlineMove(moves[i], out + 16 * i);
}

bool UnpackMoves(const uint8_t* in, size_t available, std::vector<OnlineMove>* moves) {
  uint32_t n = Get32(in);
  if (n > kMaxOnlineMoves || 4 + 16 * size_t(n) > available) return false;
  moves->assign(n, OnlineMove());
  for (uint32_t i = 0; i < n; ++i) UnpackOnlineMove(in + 4 + 16 * i, &(*moves)[i]);
  return true;
}

void PackRatingBlock(const NetRatingBlock& b, uint8_t* out) {
  const uint32_t words[10] = {b.category,  b.rating,    b.highest,    b.wonWhite,   b.wonBlack,
                              b.lostWhite, b.lostBlack, b.drawnWhite, b.drawnBlack, b.averageOpponent};
  for (int i = 0; i < 10; ++i) Put32(out + 4 * i, words[i]);
  PutText(out + 40, b.highestWhen, sizeof b.highestWhen);
}

bool UnpackRatingBlock(const uint8_t* in, NetRatingBlock* b) {
  uint32_t* words[10] = {&b->category,  &b->rating,    &b->highest,    &b->wonWhite,   &b->wonBlack,
                         &b->lostWhite, &b->lostBlack, &b->drawnWhite, &b->drawnBlack, &b->averageOpponent};
  for (int i = 0; i < 10; ++i) *words[i] = Get32(in + 4 * i);
  return GetText(in + 40, b->highestWhen, sizeof b->highestWhen);
}

}  // namespace

bool NameIsTerminated(const char* field, size_t size) { return std::memchr(field, 0, size) != nullptr; }

void PackOnlineGameDescriptor(const OnlineGameDescriptor& d, uint8_t* out) {
  std::memcpy(out, d.guid, 16);
  Put32(out + 16, d.flags);
  Put32(out + 20, d.base);
  Put32(out + 24, d.bonus);
  PutText(out + 28, d.white, kNameSize);
  PutText(out + 44, d.black, kNameSize);
  PutText(out + 60, d.author, kNameSize);
}

bool UnpackOnlineGameDescriptor(const uint8_t* in, OnlineGameDescriptor* d) {
  std::memcpy(d->guid, in, 16);
  d->flags = Get32(in + 16);
  d->base = Get32(in + 20);
  d->bonus = Get32(in + 24);
  bool ok = GetText(in + 28, d->white, kNameSize);
  ok = GetText(in + 44, d->black, kNameSize) && ok;
  return GetText(in + 60, d->author, kNameSize) && ok;
}

void PackOnlineChallenge(const OnlineChallenge& c, uint8_t* out) {
  for (int i = 0; i < 4; ++i) Put32(out + 4 * i, c.head[i]);
  Put32(out + 16, c.timeType);
  Put32(out + 20, c.base);
  Put32(out + 24, c.bonus);
  Put32(out + 28, c.word7);
  Put32(out + 32, c.lowestRating);
  Put32(out + 36, c.highestRating);
  PutText(out + 40, c.nickname, kNameSize);
}

bool UnpackOnlineChallenge(const uint8_t* in, OnlineChallenge* c) {
  for (int i = 0; i < 4; ++i) c->head[i] = Get32(in + 4 * i);
  c->timeType = Get32(in + 16);
  c->base = Get32(in + 20);
  c->bonus = Get32(in + 24);
  c->word7 = Get32(in + 28);
  c->lowestRating = Get32(in + 32);
  c->highestRating = Get32(in + 36);
  return GetText(in + 40, c->nickname, kNameSize);
}

void PackOnlineUser(const OnlineUser& u, uint8_t* out) {
  Put32(out, u.changeMask);
  Put32(out + 4, u.version);
  Put32(out + 8, u.word2);
  Put32(out + 12, u.state);
  Put32(out + 16, u.word4);
  for (int c = 0; c < 3; ++c) {
    Put32(out + 20 + 8 * c, u.ratings[c].games);
    Put32(out + 24 + 8 * c, u.ratings[c].rating);
  }
  PutText(out + 44, u.nickname, kNameSize);
  PutText(out + 60, u.channel, kNameSize);
  PackOnlineGameDescriptor(u.game, out + 76);
  PackOnlineChallenge(u.challenge, out + 152);
}

bool UnpackOnlineUser(const uint8_t* in, OnlineUser* u) {
  u->changeMask = Get32(in);
  u->version = Get32(in + 4);
  u->word2 = Get32(in + 8);
  u->state = Get32(in + 12);
  u->word4 = Get32(in + 16);
  for (int c = 0; c < 3; ++c) {
    u->ratings[c].games = Get32(in + 20 + 8 * c);
    u->ratings[c].rating = Get32(in + 24 + 8 * c);
  }
  bool ok = GetText(in + 44, u->nickname, kNameSize);
  ok = GetText(in + 60, u->channel, kNameSize) && ok;
  ok = UnpackOnlineGameDescriptor(in + 76, &u->game) && ok;
  return UnpackOnlineChallenge(in + 152, &u->challenge) && ok;
}

void PackOnlineMove(const OnlineMove& m, uint8_t* out) {
  std::memset(out, 0, kOnlineMoveSize);
  out[0] = m.from;
  out[1] = m.to;
  Put16(out + 8, m.flags);
  std::memcpy(out + 10, m.extra, 4);
}

void UnpackOnlineMove(const uint8_t* in, OnlineMove* m) {
  m->from = in[0];
  m->to = in[1];
  m->flags = uint16_t(in[8] | in[9] << 8);
  std::memcpy(m->extra, in + 10, 4);
}

void PackNetUserData(const NetUserData& d, uint8_t* out) {
  for (int i = 0; i < 3; ++i) PackRatingBlock(d.blocks[i], out + kNetRatingBlockSize * i);
}

bool UnpackNetUserData(const uint8_t* in, size_t size, NetUserData* d) {
  if (size < kNetUserDataSize) return false;
  bool ok = true;
  for (int i = 0; i < 3; ++i) ok = UnpackRatingBlock(in + kNetRatingBlockSize * i, &d->blocks[i]) && ok;
  return ok;
}

void PackLobbyGameList(const LobbyGameList& l, uint8_t* out) {
  Put32(out, l.count);
  std::memcpy(out + 4, l.slots, sizeof l.slots);
}

bool UnpackLobbyGameList(const uint8_t* in, size_t size, LobbyGameList* l) {
  if (size < kLobbyGameListSize) return false;
  l->count = Get32(in);
  std::memcpy(l->slots, in + 4, sizeof l->slots);
  uint32_t used = 0;
  for (size_t i = 0; i < kGameListSlots; ++i) {
    if (!SlotIsUsed(*l, i)) continue;
    ++used;
    // The slot's texts: the date and the three names of its descriptor.
    const char* slot = reinterpret_cast<const char*>(l->slots[i]);
    if (!NameIsTerminated(slot + 4, 32) || !NameIsTerminated(slot + 76, kNameSize) ||
        !NameIsTerminated(slot + 92, kNameSize) || !NameIsTerminated(slot + 108, kNameSize))
      return false;
  }
  return l->count <= kGameListSlots && l->count == used;
}

void PackProfileBlock(const OnlineProfileBlock& p, uint8_t* out) {
  std::memset(out, 0, kProfileBlockSize);
  PutText(out, p.userName, sizeof p.userName);
  PutText(out + 30, p.secondText, sizeof p.secondText);
  PackNetUserData(p.local, out + 544);
  PackNetUserData(p.online, out + 760);
}

bool UnpackProfileBlock(const uint8_t* in, OnlineProfileBlock* p) {
  bool ok = GetText(in, p->userName, sizeof p->userName);
  ok = GetText(in + 30, p->secondText, sizeof p->secondText) && ok;
  ok = UnpackNetUserData(in + 544, kNetUserDataSize, &p->local) && ok;
  return UnpackNetUserData(in + 760, kNetUserDataSize, &p->online) && ok;
}

size_t SnapshotSize(const OnlineGameSnapshot& s) { return kSnapshotBaseSize + 16 * s.moves.size(); }

std::vector<uint8_t> PackOnlineGameSnapshot(const OnlineGameSnapshot& s) {
  if (s.moves.size() > kMaxOnlineMoves) return {};
  std::vector<uint8_t> out(SnapshotSize(s), 0);
  uint8_t* p = out.data();
  Put32(p, s.version);
  PutText(p + 4, s.madeAt, sizeof s.madeAt);
  Put32(p + 36, s.whiteRating);
  Put32(p + 40, s.blackRating);
  Put32(p + 44, s.result);
  PackOnlineGameDescriptor(s.game, p + 48);
  Put32(p + 124, uint32_t(s.moves.size()));
  PackMoves(s.moves, p + 128);
  return out;
}

bool UnpackOnlineGameSnapshot(const uint8_t* in, size_t size, OnlineGameSnapshot* s) {
  if (size < kSnapshotBaseSize) return false;
  s->version = Get32(in);
  bool ok = GetText(in + 4, s->madeAt, sizeof s->madeAt);
  s->whiteRating = Get32(in + 36);
  s->blackRating = Get32(in + 40);
  s->result = Get32(in + 44);
  ok = UnpackOnlineGameDescriptor(in + 48, &s->game) && ok;
  // The 16 bytes after the moves belong to the size: 144 + 16n.
  return UnpackMoves(in + 124, size - 124 - 16, &s->moves) && ok;
}

bool SlotIsUsed(const LobbyGameList& l, size_t slot) { return l.slots[slot][kSlotUsedOffset] != 0; }

bool SlotHoldsGuid(const LobbyGameList& l, size_t slot, const uint8_t guid[16]) {
  return std::memcmp(l.slots[slot] + kSlotGuidOffset, guid, 16) == 0;
}

// --- Messages ---------------------------------------------------------------

PeerTypeInfo GetPeerTypeInfo(uint32_t type) {
  switch (type) {
    case 1:
    case 2:
    case 4:
      return {PAYLOAD_CHALLENGE, 64};
    case 3:
      return {PAYLOAD_DECLINE, 68};
    case 5:
      return {PAYLOAD_MOVE, 100};
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 12:
    case 14:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 33:
    case 34:
    case 35:
      return {PAYLOAD_DESCRIPTOR, 84};
    case 22:
      return {PAYLOAD_SNAPSHOT, 152};
    case 23:
    case 24:
    case 25:
      return {PAYLOAD_USER, 216};
    case 26:
    case 50:
    case 52:
    case 101:
      return {PAYLOAD_EMPTY, 8};
    case 27:
      return {PAYLOAD_CHAT, 17};
    case 31:
      return {PAYLOAD_TAKEBACK_DONE, 88};
    case 32:
      return {PAYLOAD_GAME_START, 44};
    case 51:
      return {PAYLOAD_PROFILE, 984};
    case 53:
      return {PAYLOAD_GAME_LIST, 1252};
    case 54:
      return {PAYLOAD_STORED_GAME_REQUEST, 28};
    case 55:
      return {PAYLOAD_STORED_GAME, 156};
    case 56:
      return {PAYLOAD_VIEWER, 88};
    case 60:
      return {PAYLOAD_OPAQUE_60, 92};
    case 61:
      return {PAYLOAD_OPAQUE_61, 12};
    case 70:
      return {PAYLOAD_OPAQUE_70, 912};
    case 90:
      return {PAYLOAD_OPAQUE_90, 92};
    default:
      return {PAYLOAD_NONE_KNOWN, 0};
  }
}

bool ReadPeerHeader(const uint8_t* data, size_t size, uint32_t* version, uint32_t* type) {
  if (!data || size < kPeerHeaderSize) return false;
  *version = Get32(data);
  *type = Get32(data + 4);
  return true;
}

bool ParsePeerMessage(const uint8_t* data, size_t size, PeerMessage* out) {
  if (!ReadPeerHeader(data, size, &out->version, &out->type)) return false;
  PeerTypeInfo info = GetPeerTypeInfo(out->type);
  if (info.payload == PAYLOAD_NONE_KNOWN || size < info.minLength) return false;
  const uint8_t* p = data + kPeerHeaderSize;
  switch (info.payload) {
    case PAYLOAD_NONE_KNOWN:
      return false;
    case PAYLOAD_EMPTY:
    case PAYLOAD_OPAQUE_60:
    case PAYLOAD_OPAQUE_61:
    case PAYLOAD_OPAQUE_70:
      return true;
    case PAYLOAD_OPAQUE_90:
      return 92 + size_t(Get32(p + 76)) <= size;
    case PAYLOAD_CHALLENGE:
      return UnpackOnlineChallenge(p, &out->challenge);
    case PAYLOAD_DECLINE:
      out->word = Get32(p);
      return UnpackOnlineChallenge(p + 4, &out->challenge);
    case PAYLOAD_DESCRIPTOR:
      return UnpackOnlineGameDescriptor(p, &out->game);
    case PAYLOAD_MOVE:
      UnpackOnlineMove(p + 76, &out->move);
      return UnpackOnlineGameDescriptor(p, &out->game);
    case PAYLOAD_TAKEBACK_DONE:
      out->word = Get32(p + 76);
      return UnpackOnlineGameDescriptor(p, &out->game);
    case PAYLOAD_USER:
      return UnpackOnlineUser(p, &out->user);
    case PAYLOAD_SNAPSHOT:
      return UnpackOnlineGameSnapshot(p, size - kPeerHeaderSize, &out->snapshot);
    case PAYLOAD_STORED_GAME:
      out->word = Get32(p);
      return UnpackOnlineGameSnapshot(p + 4, size - kPeerHeaderSize - 4, &out->snapshot);
    case PAYLOAD_GAME_START:
      std::memcpy(out->guid, p, 16);
      return UnpackMoves(p + 16, size - kPeerHeaderSize - 16 - 16, &out->moves);
    case PAYLOAD_CHAT: {
      out->word = Get32(p);
      const char* text = reinterpret_cast<const char*>(p + 4);
      // The length counts 4 bytes after the terminator.
      const void* end = std::memchr(text, 0, size - 12 - 4);
      if (!end) return false;
      out->text.assign(text, static_cast<const char*>(end));
      return true;
    }
    case PAYLOAD_VIEWER: {
      const char* text = reinterpret_cast<const char*>(p + 76);
      // The length counts 3 bytes after the terminator.
      const void* end = std::memchr(text, 0, size - 84 - 3);
      if (!end) return false;
      out->text.assign(text, static_cast<const char*>(end));
      return out->text.size() < kNameSize && UnpackOnlineGameDescriptor(p, &out->game);
    }
    case PAYLOAD_PROFILE:
      return UnpackProfileBlock(p, &out->profile);
    case PAYLOAD_GAME_LIST:
      return UnpackLobbyGameList(p, kLobbyGameListSize, &out->gameList);
    case PAYLOAD_STORED_GAME_REQUEST:
      out->word = Get32(p);
      std::memcpy(out->guid, p + 4, 16);
      return true;
  }
  return false;
}

std::vector<uint8_t> BuildEmptyMessage(uint32_t type) { return Message(type, 8); }

std::vector<uint8_t> BuildChallengeMessage(uint32_t type, const OnlineChallenge& c) {
  auto m = Message(type, 64);
  PackOnlineChallenge(c, m.data() + 8);
  return m;
}

std::vector<uint8_t> BuildDeclineMessage(uint32_t reason, const OnlineChallenge& c) {
  auto m = Message(MSG_CHALLENGE_DECLINED, 68);
  Put32(m.data() + 8, reason);
  PackOnlineChallenge(c, m.data() + 12);
  return m;
}

std::vector<uint8_t> BuildDescriptorMessage(uint32_t type, const OnlineGameDescriptor& d) {
  auto m = Message(type, 84);
  PackOnlineGameDescriptor(d, m.data() + 8);
  return m;
}

std::vector<uint8_t> BuildMoveMessage(const OnlineGameDescriptor& d, const OnlineMove& mv) {
  auto m = Message(MSG_MOVE, 100);
  PackOnlineGameDescriptor(d, m.data() + 8);
  PackOnlineMove(mv, m.data() + 84);
  return m;
}

std::vector<uint8_t> BuildUserMessage(uint32_t type, const OnlineUser& u) {
  auto m = Message(type, 216);
  PackOnlineUser(u, m.data() + 8);
  return m;
}

std::vector<uint8_t> BuildChatMessage(uint32_t verb, const std::string& text) {
  if (text.size() > 4096 || text.find('\0') != std::string::npos) return {};
  auto m = Message(MSG_CHAT, 17 + text.size());
  Put32(m.data() + 8, verb);
  std::memcpy(m.data() + 12, text.data(), text.size());
  return m;
}

std::vector<uint8_t> BuildTakebackDoneMessage(const OnlineGameDescriptor& d, uint32_t side) {
  auto m = Message(MSG_TAKEBACK_DONE, 88);
  PackOnlineGameDescriptor(d, m.data() + 8);
  Put32(m.data() + 84, side);
  return m;
}

std::vector<uint8_t> BuildGameStartMessage(const uint8_t guid[16], const std::vector<OnlineMove>& moves) {
  if (moves.size() > kMaxOnlineMoves) return {};
  auto m = Message(MSG_GAME_START, 44 + 16 * moves.size());
  std::memcpy(m.data() + 8, guid, 16);
  Put32(m.data() + 24, uint32_t(moves.size()));
  PackMoves(moves, m.data() + 28);
  return m;
}

std::vector<uint8_t> BuildViewSnapshotMessage(const OnlineGameSnapshot& s) {
  auto body = PackOnlineGameSnapshot(s);
  if (body.empty()) return {};
  auto m = Message(MSG_VIEW_SNAPSHOT, 8 + body.size());
  std::memcpy(m.data() + 8, body.data(), body.size());
  return m;
}

std::vector<uint8_t> BuildStoredGameRequest(uint32_t mode, const uint8_t guid[16]) {
  auto m = Message(MSG_STORED_GAME_REQUEST, 28);
  Put32(m.data() + 8, mode);
  std::memcpy(m.data() + 12, guid, 16);
  return m;
}

std::vector<uint8_t> BuildStoredGameMessage(uint32_t mode, const OnlineGameSnapshot& s) {
  auto body = PackOnlineGameSnapshot(s);
  if (body.empty()) return {};
  auto m = Message(MSG_STORED_GAME, 12 + body.size());
  Put32(m.data() + 8, mode);
  std::memcpy(m.data() + 12, body.data(), body.size());
  return m;
}

std::vector<uint8_t> BuildViewerMessage(const OnlineGameDescriptor& d, const std::string& nickname) {
  if (nickname.size() >= kNameSize || nickname.find('\0') != std::string::npos) return {};
  auto m = Message(MSG_VIEWER_ADMITTED, 88 + nickname.size());
  PackOnlineGameDescriptor(d, m.data() + 8);
  std::memcpy(m.data() + 84, nickname.data(), nickname.size());
  return m;
}

std::vector<uint8_t> BuildProfileMessage(const OnlineProfileBlock& p) {
  auto m = Message(MSG_PROFILE, 984);
  PackProfileBlock(p, m.data() + 8);
  return m;
}

std::vector<uint8_t> BuildGameListMessage(const LobbyGameList& l) {
  auto m = Message(MSG_GAME_LIST, 1252);
  PackLobbyGameList(l, m.data() + 8);
  return m;
}
