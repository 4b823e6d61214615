// The online session: one object per connection to the lobby, owning the
// incoming queue, the user table, the own user record and the stored-game
// list, and routing every received peer message to its handler.
//
// Interface: LobbyLink (the transport, faked in tests), OnlineHooks (message
// boxes, windows, profile: everything outside the core), OnlineSession with
// Start/Close, QueueLobbyEvent/DrainLobbyEvents, the send routes, the dispatch
// table (RegisterPeerHandler), the user table and the lobby-stored data.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <vector>

#include "wire.h"

class IniNameList;

// Kinds of the records Lobbylink posts.
enum LobbyEventKind : uint32_t {
  LOBBY_PEER_DATA = 0,
  LOBBY_PLAYER_GONE = 1,
  LOBBY_LOGGED_IN = 3,
  LOBBY_SESSION_FOUND = 5,     // a session of a search: its name and GUID
  LOBBY_CONNECTION_FOUND = 6,  // a connection kind the transport offers
  LOBBY_ADDRESS = 7,
};

// Connection kinds of ConnectOnline.
enum ConnectionKind : uint32_t {
  CONNECT_NONE = 0,
  CONNECT_LAN = 1,
  CONNECT_INTERNET = 2,
  CONNECT_MODEM = 3,
  CONNECT_LOBBY_LAUNCHED = 5,
};

struct LobbyEvent {
  uint32_t kind = 0;
  uint32_t senderId = 0;     // peer data: the sender; player gone: the id
  uint32_t addressKind = 0;  // address, connection and session records: the connection kind
  std::vector<uint8_t> data;
  uint8_t session[16] = {};  // session found: its GUID
  std::string text;          // session found: its name; address: a modem's name
};

constexpr int kLobbyNoValue = -227;  // nothing stored under the key

class LobbyLink {
 public:
  virtual ~LobbyLink() = default;
  virtual int Init(uint32_t kind, const std::string& loginName) = 0;
  virtual int Disconnect() = 0;
  virtual int UserSendData(const std::vector<uint32_t>& ids, const uint8_t* data, size_t size) = 0;
  virtual int ChanSendData(const uint8_t* data, size_t size) = 0;
  virtual void ReleaseData(LobbyEvent* record) = 0;
  virtual std::string GetErrorString(int code) = 0;
  virtual bool GetNickFromID(uint32_t id, std::string* nickname) = 0;
  virtual int GetUserData(const std::string& key, uint8_t* buffer, size_t capacity, size_t* size) = 0;
  virtual int PutUserData(const std::string& key, const uint8_t* data, size_t size) = 0;
  // Connecting: results as the library gives them; -1 when not offered.
  virtual int EnumAddresses(uint32_t /*kind*/) { return -1; }
  virtual int Connect(uint32_t /*kind*/, bool /*noSessionSearch*/, const std::string& /*address*/,
                      const std::string& /*modem*/, const std::string& /*phone*/) {
    return -1;
  }
  // `session` null: the first session, or the host's own.
  virtual int Login(const uint8_t* /*session*/, bool /*host*/, const std::string& /*value*/) { return -1; }
};

struct OnlineUserEntry {
  uint32_t id = 0;
  uint32_t flags = 0;  // bit 0: ignored
  OnlineUser user;
};

// Window notices of user-table changes (WPARAM of 0x810B).
constexpr uint32_t kUserNoticeMessage = 0x810B;
constexpr uint32_t kUserAdded = 0x2000;
constexpr uint32_t kUserRemoved = 0x4000;
constexpr uint32_t kUserIgnoreToggled = 0x800;
constexpr uint32_t kFatalSendNotice = 9999;  // host notice without a record

class OnlineHooks {
 public:
  virtual ~OnlineHooks() = default;
  virtual void ShowModeless(const std::string& text, int timeoutSeconds) = 0;  // 0: no time-out
  virtual void AppMessageBox(const std::string& text) = 0;
  virtual bool AskYesNo(const std::string& text) = 0;  // may pump messages
  virtual void PostHostNotice(uint32_t wparam) = 0;
  virtual void NotifyUserWindows(uint32_t wparam, const OnlineUserEntry* entry) = 0;
  virtual void ShowChat(uint32_t verb, const std::string& text, uint32_t sender) = 0;
  virtual void SessionLeft() = 0;  // the room goes back to the connect dialog
  // Ends the current online game with a result code (the live-game layer).
  virtual void EndOnlineGame(uint32_t result) = 0;
  virtual uint32_t NowMs() = 0;
  virtual std::string NowText() = 0;  // date, a blank and the time
  // The chat window's current channel, copied into the own record at login;
  // the first channel stays current for the whole session.
  virtual std::string CurrentChatChannel() { return "RWLive Central"; }
};

class OnlineSession;
using PeerHandler = std::function<void(OnlineSession&, const PeerMessage&, uint32_t sender)>;

enum PeerRoute { ROUTE_NONE, ROUTE_LIST, ROUTE_USER, ROUTE_PLAYERS, ROUTE_VIEWERS, ROUTE_CHANNEL };
PeerRoute GetPeerRoute(uint32_t type);

const char* GetChatVerbText(uint32_t verb);

class OnlineSession {
 public:
  OnlineSession(LobbyLink& link, OnlineHooks& hooks);
  ~OnlineSession();

  int Start(uint32_t kind, const std::string& loginName);  // 0, 1204 open, 1205 init failed
  int Close();
  bool IsOpen() const { return open_; }
  int DisconnectLobby();
  // -1 when no session is open.
  int EnumOnlineAddresses(uint32_t kind);
  int ConnectOnline(uint32_t kind, bool noSessionSearch, const std::string& address, const std::string& modem,
                    const std::string& phone);
  int LoginOnline(const uint8_t* session, bool host, const std::string& value);
  void Leave();  // DisconnectOnline: close and tell the room

  // Queue and drain.
  int QueueLobbyEvent(LobbyEvent* record);
  void DrainLobbyEvents();
  // The room hook's entry: a record, or the fatal-send notice without one.
  void HandleRoomMessage(uint32_t wparam, LobbyEvent* record);
  void DispatchPeerMessage(const uint8_t* data, size_t size, uint32_t sender);
  void RegisterPeerHandler(uint32_t type, PeerHandler handler);
  // Runs after every start, once the default handlers are in: the layers
  // above register their handlers again there.
  void OnStart(std::function<void()> hook) { startHooks_.push_back(std::move(hook)); }

  // Send routes: the library's result, -1 when it could not be tried.
  int SendPeerToUser(const std::vector<uint8_t>& m, const std::string& nickname);
  int SendPeerToUsers(const std::vector<uint8_t>& m, const std::vector<uint32_t>& ids);
  int SendPeerToChannel(const std::vector<uint8_t>& m);
  void ReportLobbyError(const std::string& description, int code, bool fatal);
  bool SendKeepAlive();
  int SendChat(uint32_t verb, const std::string& text, const std::vector<uint32_t>& ids);

  // Requests of the live game; each remembers what it waits for, so that
  // only the awaited answer from the user asked is acted on.
  int SendTakebackRequest();
  int OfferDraw();
  int RequestAdjournment();
  int RequestView(const std::string& nickname, const OnlineGameDescriptor& game);
  int RequestProfile(const std::string& nickname);
  int RequestPostedGames(const std::string& nickname);
  int RequestStoredGame(const std::string& owner, uint32_t mode, const uint8_t guid[16]);
  // Whether a received game message may act: sender, game and pending
  // request checked. Dispatch drops what fails.
  bool GameMessageAccepted(const PeerMessage& m, uint32_t sender);
  // 16 when the sender is the current game's White, 32 Black, 0 neither.
  uint32_t SenderSide(uint32_t sender);
  void ClearGameState();

  // Stores a rating change (see CountRatedGame) on the server or locally,
  // then announces the own new rating. False when the server refused it.
  bool SaveRatingChange(uint32_t category, uint32_t newRating, uint32_t score, uint32_t opponentRating);

  // Login step with the own id; ratings from the local profile (DirectPlay)
  // or from the server (lobby service).
  bool CompleteLogin(uint32_t ownId, const std::string& userName, const NetUserData* localRatings);
  void SetOwnChannel(const std::string& channel);
  void SendOwnUpdate(uint32_t mask);

  // User table.
  OnlineUserEntry* FindOnlineUserByNickname(const std::string& nickname);
  OnlineUserEntry* FindOnlineUserById(uint32_t id);
  int AddOnlineUser(const OnlineUser& user, uint32_t id);
  void UpdateOnlineUser(const OnlineUser& user, uint32_t id);
  void RemoveOnlineUser(uint32_t id);
  void RemoveAllOnlineUsers();
  int ToggleIgnoreOnlineUser(const std::string& nickname);
  int CollectViewers(const OnlineGameDescriptor& game, uint32_t* ids, int* count);
  // Opponent first (when asked), then the viewers; empty without the opponent.
  bool MakeGameRecipients(const OnlineGameDescriptor& game, bool withOpponent, std::vector<uint32_t>* ids);
  const std::list<OnlineUserEntry>& Users() const { return users_; }
  // The buddy and ignore lists of the settings file `path` (the user's own
  // after login), made anew; Close deletes them.
  void OpenNameLists(const std::string& path);
  IniNameList* buddyList = nullptr;
  IniNameList* ignoreList = nullptr;
  // The ignore list's names in list order (empty without a list).
  std::vector<std::string> IgnoreList() const;

  // Lobby-stored data.
  int LoadNetUserData(NetUserData* out);
  int SaveNetUserData(const NetUserData& data);
  int LoadNetGameList(LobbyGameList* out);
  int SaveNetGameList(const LobbyGameList& list);
  int PostNetGame(const OnlineGameSnapshot& game);
  int ReadNetGame(const uint8_t guid[16], OnlineGameSnapshot* game);
  int RemoveNetGame(const uint8_t guid[16]);
  NetUserData MakeDefaultNetUserData();

  // Game state words, zeroed when a game ends.
  struct GameState {
    uint32_t playing = 0;
    uint32_t viewing = 0;
    uint32_t ownWhite = 0;
    uint32_t takebackAvailable = 0;
    uint32_t drawOffered = 0;
    uint32_t reserved = 0;
    uint32_t opponentGames = 0;
    uint32_t opponentRating = 0;
    uint32_t resignQuestion = 0;
    uint32_t autoplay = 0;
  };

  uint32_t version = 0;
  uint32_t kind = 0;
  GameState game;
  bool noSessionSearch = false;
  uint32_t ownId = 0;
  OnlineUser own;
  LobbyGameList gameList;
  NetUserData netUserData;
  std::string loginName;
  std::string internetAddress;
  struct Pending {
    bool takeback = false, adjourn = false;
    uint32_t view = 0, profile = 0, games = 0, storedGame = 0;  // ids asked, 0 none
  } pending;
  uint32_t lastKeepAliveMs = 0;
  bool keepAliveSent = false;

  LobbyLink& link;
  OnlineHooks& hooks;

 private:
  void HandleRecord(LobbyEvent* record);
  void InstallDefaultHandlers();
  void OnLogin(const PeerMessage& m, uint32_t sender, bool answer);
  void OnUserUpdate(const PeerMessage& m, uint32_t sender);

  bool open_ = false;
  bool draining_ = false;
  std::mutex lock_;
  std::deque<LobbyEvent*> queue_;
  std::list<OnlineUserEntry> users_;
  PeerHandler handlers_[102];
  std::vector<std::function<void()>> startHooks_;
};

// Time-control category: 0 Bullet, 1 Blitz, 2 Standard.
uint32_t GetTimeCategory(uint32_t flags, uint32_t base, uint32_t bonus);
const char* GetTimeCategoryText(uint32_t category);
std::string FormatOnlineTimeControl(uint32_t flags, uint32_t base, uint32_t bonus);
const char* FormatRatedFlag(uint32_t flags);
std::string FormatRating(bool hidden, uint32_t rating, uint32_t games);
const char* GetTimeTypeText(uint32_t flags);
const char* GetUserStateText(uint32_t state);
uint32_t CountRatedGames(const NetRatingBlock& block);
bool IsFreeForChallenge(const OnlineUserEntry& entry);
bool ChallengeFitsOwnRating(const OnlineChallenge& a, const OnlineChallenge& b, uint32_t ownRating);

enum OnlineUserState : uint32_t {
  USER_IDLE = 0,
  USER_UNAVAILABLE = 1,
  USER_PLAYING = 2,
  USER_VIEWING = 4,
  USER_VIEW_REQUESTED = 8,
  USER_CHALLENGING = 16,
  USER_CHALLENGED = 32,
  USER_TUTORIAL = 128,
  USER_AWAY = 2048,
};
