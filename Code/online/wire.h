// Peer messages between copies of the program and the records they carry.
//
// Interface: the record structs below, Pack*/Unpack* for each record (Unpack
// validates: every 16-byte name and every text must end inside its field),
// the Build*Message builders, and ParsePeerMessage, the one validating parser
// of a received message. Everything on the wire is little-endian and packed
// field by field, so every build writes the same bytes; nothing here trusts a
// length, count or text that came from outside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kOnlineProtocolVersion = 0x00010001;  // major in the high half

constexpr size_t kPeerHeaderSize = 8;
constexpr size_t kOnlineUserSize = 208;
constexpr size_t kGameDescriptorSize = 76;
constexpr size_t kChallengeSize = 56;
constexpr size_t kOnlineMoveSize = 16;
constexpr size_t kSnapshotBaseSize = 144;  // plus 16 per move
constexpr size_t kNetRatingBlockSize = 72;
constexpr size_t kNetUserDataSize = 216;
constexpr size_t kGameListSlotSize = 124;
constexpr size_t kGameListSlots = 10;
constexpr size_t kLobbyGameListSize = 1244;
constexpr size_t kProfileBlockSize = 976;
constexpr uint32_t kMaxOnlineMoves = 512;
constexpr size_t kStoredGameMaxSize = kSnapshotBaseSize + 16 * kMaxOnlineMoves;  // 8,336
constexpr size_t kNameSize = 16;

// Descriptor flag bits.
constexpr uint32_t kTimeTypeMask = 0x0F;
constexpr uint32_t kTimeInfinite = 0, kTimeMinutesPerGame = 1, kTimeFischer = 2, kTimeHourglass = 4,
                   kTimeSecondsPerMove = 8;
constexpr uint32_t kGameUnratedEnforced = 0x10;
constexpr uint32_t kGameRated = 0x20;
constexpr uint32_t kGameViewersAllowed = 0x80;
constexpr uint32_t kGameTakebacksAllowed = 0x100;

struct OnlineGameDescriptor {
  uint8_t guid[16] = {};
  uint32_t flags = 0;
  uint32_t base = 0;
  uint32_t bonus = 0;
  char white[kNameSize] = {};
  char black[kNameSize] = {};
  char author[kNameSize] = {};
};

struct OnlineChallenge {
  uint32_t head[4] = {};  // the challenge dialog's own words
  uint32_t timeType = 0;
  uint32_t base = 0;
  uint32_t bonus = 0;
  uint32_t word7 = 0;
  uint32_t lowestRating = 0;
  uint32_t highestRating = 0;
  char nickname[kNameSize] = {};  // the user it is addressed to
};

// Rating pair of a time category: games (capped at 20 when sent) and rating.
struct OnlineRatingPair {
  uint32_t games = 0;
  uint32_t rating = 0;
};

struct OnlineUser {
  uint32_t changeMask = 0;  // type 25 only
  uint32_t version = 0;
  uint32_t word2 = 0;  // 1 at login; non-zero lets a disconnect offer adjournment
  uint32_t state = 0;
  uint32_t word4 = 0;
  OnlineRatingPair ratings[3];  // Bullet, Blitz, Standard
  char nickname[kNameSize] = {};
  char channel[kNameSize] = {};
  OnlineGameDescriptor game;
  OnlineChallenge challenge;
};

struct OnlineMove {
  uint8_t from = 0;
  uint8_t to = 0;
  // The sender's word at offset 4 is ignored on receipt and sent as 0: in the
  // move record it is a text slot, never something a peer may fill in.
  uint16_t flags = 0;
  uint8_t extra[4] = {};  // the move record's bytes after its flag word
};

struct OnlineGameSnapshot {
  uint32_t version = kOnlineProtocolVersion;
  char madeAt[32] = {};
  uint32_t whiteRating = 0;
  uint32_t blackRating = 0;
  uint32_t result = 0;
  OnlineGameDescriptor game;
  std::vector<OnlineMove> moves;
};

struct NetRatingBlock {
  uint32_t category = 0;
  uint32_t rating = 0;
  uint32_t highest = 0;
  uint32_t wonWhite = 0, wonBlack = 0;
  uint32_t lostWhite = 0, lostBlack = 0;
  uint32_t drawnWhite = 0, drawnBlack = 0;
  uint32_t averageOpponent = 0;
  char highestWhen[32] = {};
};

struct NetUserData {
  NetRatingBlock blocks[3];
};

// A slot is the first 124 bytes of the stored game's snapshot.
struct LobbyGameList {
  uint32_t count = 0;
  uint8_t slots[kGameListSlots][kGameListSlotSize] = {};
};
constexpr size_t kSlotGuidOffset = 48;
constexpr size_t kSlotUsedOffset = 108;

struct OnlineProfileBlock {
  char userName[30] = {};
  char secondText[514] = {};
  NetUserData local;
  NetUserData online;
};

bool NameIsTerminated(const char* field, size_t size);

void PackOnlineGameDescriptor(const OnlineGameDescriptor& d, uint8_t* out);
bool UnpackOnlineGameDescriptor(const uint8_t* in, OnlineGameDescriptor* d);
void PackOnlineChallenge(const OnlineChallenge& c, uint8_t* out);
bool UnpackOnlineChallenge(const uint8_t* in, OnlineChallenge* c);
void PackOnlineUser(const OnlineUser& u, uint8_t* out);
bool UnpackOnlineUser(const uint8_t* in, OnlineUser* u);
void PackOnlineMove(const OnlineMove& m, uint8_t* out);
void UnpackOnlineMove(const uint8_t* in, OnlineMove* m);
void PackNetUserData(const NetUserData& d, uint8_t* out);
bool UnpackNetUserData(const uint8_t* in, size_t size, NetUserData* d);
void PackLobbyGameList(const LobbyGameList& l, uint8_t* out);
bool UnpackLobbyGameList(const uint8_t* in, size_t size, LobbyGameList* l);
void PackProfileBlock(const OnlineProfileBlock& p, uint8_t* out);
bool UnpackProfileBlock(const uint8_t* in, OnlineProfileBlock* p);

size_t SnapshotSize(const OnlineGameSnapshot& s);  // 144 + 16n
// Fails (empty) for more than 512 moves: such a game fits no reader's buffer.
std::vector<uint8_t> PackOnlineGameSnapshot(const OnlineGameSnapshot& s);
// A stored or received snapshot: n <= 512 and 144 + 16n within size.
bool UnpackOnlineGameSnapshot(const uint8_t* in, size_t size, OnlineGameSnapshot* s);

bool SlotIsUsed(const LobbyGameList& l, size_t slot);
bool SlotHoldsGuid(const LobbyGameList& l, size_t slot, const uint8_t guid[16]);

// --- Messages ---------------------------------------------------------------

enum PeerMessageType : uint32_t {
  MSG_CHALLENGE = 1,
  MSG_CHALLENGE_WITHDRAWN = 2,
  MSG_CHALLENGE_DECLINED = 3,
  MSG_CHALLENGE_ACCEPTED = 4,
  MSG_MOVE = 5,
  MSG_TAKEBACK_REQUEST = 6,
  MSG_TAKEBACK_DECLINED = 7,
  MSG_TAKEBACK_ACCEPTED = 8,
  MSG_RESIGNED = 9,
  MSG_LOST_ON_TIME = 10,
  MSG_TIME_EXPIRED = 12,
  MSG_ABORT_GAME = 14,
  MSG_DRAW_OFFER = 16,
  MSG_DRAW_17 = 17,
  MSG_DRAW_ACCEPTED = 18,
  MSG_VIEW_REQUEST = 19,
  MSG_VIEW_REFUSED = 20,
  MSG_VIEW_21 = 21,
  MSG_VIEW_SNAPSHOT = 22,
  MSG_LOGIN = 23,
  MSG_LOGIN_ANSWER = 24,
  MSG_USER_UPDATE = 25,
  MSG_LEAVING = 26,
  MSG_CHAT = 27,
  MSG_TAKEBACK_DONE = 31,
  MSG_GAME_START = 32,
  MSG_ADJOURN_REQUEST = 33,
  MSG_ADJOURN_DECLINED = 34,
  MSG_ADJOURN_ACCEPTED = 35,
  MSG_PROFILE_REQUEST = 50,
  MSG_PROFILE = 51,
  MSG_GAMES_REQUEST = 52,
  MSG_GAME_LIST = 53,
  MSG_STORED_GAME_REQUEST = 54,
  MSG_STORED_GAME = 55,
  MSG_VIEWER_ADMITTED = 56,
  MSG_TYPE_60 = 60,
  MSG_TYPE_61 = 61,
  MSG_TYPE_70 = 70,
  MSG_TYPE_90 = 90,
  MSG_KEEP_ALIVE = 101,
};

// Payload shapes, for the length table.
enum PeerPayload {
  PAYLOAD_NONE_KNOWN,  // not a message type of this version: ignored
  PAYLOAD_EMPTY,
  PAYLOAD_CHALLENGE,
  PAYLOAD_DECLINE,
  PAYLOAD_DESCRIPTOR,
  PAYLOAD_MOVE,
  PAYLOAD_SNAPSHOT,
  PAYLOAD_USER,
  PAYLOAD_CHAT,
  PAYLOAD_TAKEBACK_DONE,
  PAYLOAD_GAME_START,
  PAYLOAD_PROFILE,
  PAYLOAD_GAME_LIST,
  PAYLOAD_STORED_GAME_REQUEST,
  PAYLOAD_STORED_GAME,
  PAYLOAD_VIEWER,
  PAYLOAD_OPAQUE_60,
  PAYLOAD_OPAQUE_61,
  PAYLOAD_OPAQUE_70,
  PAYLOAD_OPAQUE_90,
};

struct PeerTypeInfo {
  PeerPayload payload;
  size_t minLength;  // whole message; for variable types the length with n = 0 / empty text
};
PeerTypeInfo GetPeerTypeInfo(uint32_t type);

// Everything a received message can carry; ParsePeerMessage fills what its
// type has.
struct PeerMessage {
  uint32_t version = 0;
  uint32_t type = 0;
  OnlineChallenge challenge;
  uint32_t word = 0;  // decline reason, takeback side code, chat verb, stored-game mode
  OnlineGameDescriptor game;
  OnlineMove move;
  OnlineGameSnapshot snapshot;
  OnlineUser user;
  std::string text;  // chat line, viewer nickname
  uint8_t guid[16] = {};
  std::vector<OnlineMove> moves;
  OnlineProfileBlock profile;
  LobbyGameList gameList;
};

// Header only: false when shorter than 8 bytes.
bool ReadPeerHeader(const uint8_t* data, size_t size, uint32_t* version, uint32_t* type);
// Full validation by type. False drops the message: too short, a count or
// size beyond the bytes present, an unterminated name or text, a game list
// whose count disagrees with its slots. Bytes beyond a fixed-size type's
// length are ignored (a later minor version may add fields). Unknown types
// give false too: they are ignored.
bool ParsePeerMessage(const uint8_t* data, size_t size, PeerMessage* out);

std::vector<uint8_t> BuildEmptyMessage(uint32_t type);
std::vector<uint8_t> BuildChallengeMessage(uint32_t type, const OnlineChallenge& c);
std::vector<uint8_t> BuildDeclineMessage(uint32_t reason, const OnlineChallenge& c);
std::vector<uint8_t> BuildDescriptorMessage(uint32_t type, const OnlineGameDescriptor& d);
std::vector<uint8_t> BuildMoveMessage(const OnlineGameDescriptor& d, const OnlineMove& m);
std::vector<uint8_t> BuildUserMessage(uint32_t type, const OnlineUser& u);
// Empty when the text does not fit a message.
std::vector<uint8_t> BuildChatMessage(uint32_t verb, const std::string& text);
std::vector<uint8_t> BuildTakebackDoneMessage(const OnlineGameDescriptor& d, uint32_t side);
// Empty for more than 512 moves.
std::vector<uint8_t> BuildGameStartMessage(const uint8_t guid[16], const std::vector<OnlineMove>& moves);
std::vector<uint8_t> BuildViewSnapshotMessage(const OnlineGameSnapshot& s);
std::vector<uint8_t> BuildStoredGameRequest(uint32_t mode, const uint8_t guid[16]);
std::vector<uint8_t> BuildStoredGameMessage(uint32_t mode, const OnlineGameSnapshot& s);
std::vector<uint8_t> BuildViewerMessage(const OnlineGameDescriptor& d, const std::string& nickname);
std::vector<uint8_t> BuildProfileMessage(const OnlineProfileBlock& p);
std::vector<uint8_t> BuildGameListMessage(const LobbyGameList& l);
