// Live online games over game records: beginning a game or a view, moves in
// both directions, the requests between the players and their answers, the
// end of a game with its rating step, stored games, viewing and profiles.
//
// Interface: OnlineGameHooks (the room, windows and profile, faked in
// tests), OnlineGames (one per session; registers its handlers into the
// session's dispatch table and owns the game on screen), LiveMenuState and
// ComputeLiveMenus (the live window's menu by game state).
//
// The rules' game host calls SendOnlineMove after the own move,
// EndOnlineGame when a game with the online kind flag ends, and
// NotifyOnlineGameOver when a side's flag falls; the program forwards those
// to its one OnlineGames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "session.h"

struct GameRecord;
struct MoveRecord;

constexpr uint32_t kOnlineGameKind = 0x2400;      // online (0x400) and live-window game
constexpr uint32_t kGameStoppedKind = 0x20000000;  // clocks off: ended, reviewed or idle
constexpr uint32_t kGameEventNotice = 0x8103;      // windows: code 0, the game changed

class OnlineGameHooks {
 public:
  virtual ~OnlineGameHooks() = default;
  // The game room's rating formula: score 1 won, 0 lost, 2 drawn.
  virtual int32_t NewRating(uint32_t rating, uint32_t opponentRating, uint32_t games, uint32_t opponentGames,
                            int score) = 0;
  // The room shows this game from now on; the previous one is released by
  // the live layer after this call.
  virtual void ShowGame(GameRecord* game) = 0;
  // Turn the board when its orientation differs from the wanted one.
  virtual void OrientBoard(bool whiteAtBottom) = 0;
  // 0x8103 to every numbered window.
  virtual void GameChanged(int code) = 0;
  virtual void MenusChanged() = 0;
  virtual bool InOnlineRoom() = 0;
  // The challenge window's flag makes the own idle state Unavailable.
  virtual bool ChallengesBlocked() = 0;
  // The ratings changed: copy them into the profile's online (or, with
  // DirectPlay, local) set and write the user file.
  virtual void StoreRatings(const NetUserData& data, bool lobbyService) = 0;
  virtual OnlineProfileBlock OwnProfile() = 0;
  virtual void ShowProfile(const std::string& nickname, const OnlineProfileBlock& profile) = 0;
  virtual void ShowPostedGames(const std::string& nickname, const LobbyGameList& list) = 0;
  // A stored game handed to the challenge dialog to be resumed.
  virtual void ResumeStoredGame(const OnlineGameSnapshot& game) = 0;
};

// The live window's menu, by game state.
enum LiveMenuId : uint32_t {
  MENU_LOAD = 40014,
  MENU_TAKEBACK = 40018,
  MENU_ADJOURN = 40023,
  MENU_OFFER_DRAW = 40024,
  MENU_RESIGN = 40025,
  MENU_PROFILE = 40046,
  MENU_VIEW_GAME = 40048,
  MENU_SHOW_VIEWERS = 40050,
  MENU_STORE_GAME = 40159,
  MENU_DISCONNECT = 40161,
};
struct LiveMenuState {
  bool load = false, viewGame = false, showViewers = false, takeback = false, offerDraw = false,
       resign = false, adjourn = false, profile = false, storeGame = false;
  bool stopViewingText = false;  // View Game reads "Stop Viewing Game"
};
struct LiveMenuInputs {
  bool lobbyService = false;
  bool hasGame = false;  // playing or viewing
  bool playing = false;
  bool viewing = false;
  bool ownMayAdjourn = false, opponentMayAdjourn = false;  // OnlineUser word 2
  bool takebackAvailable = false;                          // own move made, takebacks allowed
  bool drawOffered = false;
};
LiveMenuState ComputeLiveMenus(const LiveMenuInputs& in);
const char* LiveViewMenuText(const LiveMenuState& state);

class OnlineGames {
 public:
  OnlineGames(OnlineSession& session, OnlineGameHooks& hooks);
  ~OnlineGames();
  OnlineGames(const OnlineGames&) = delete;
  OnlineGames& operator=(const OnlineGames&) = delete;

  // Registers the game handlers; done at construction when the session is
  // open and again after every start; the session is not started again once
  // the games are gone.
  void Install();

  GameRecord* Game() const { return game_; }
  // Puts the game of the own descriptor (the default one without a game)
  // on screen, as the live window does when it is first shown.
  bool ShowOwnGame();

  bool BeginOnlineGame(const OnlineGameDescriptor& game, const std::vector<OnlineMove>* moves);
  // False (the game aborted, "Illegal move received") at the first move not
  // among the legal ones.
  bool ApplyOnlineMoves(const std::vector<OnlineMove>& moves);
  // The own move was played: type 5 to the opponent and the viewers.
  void SendOnlineMove(const MoveRecord& move);
  void EndOnlineGame(uint32_t result);
  void NotifyOnlineGameOver();
  // Retracts the side's last move (16 White, 32 Black).
  void TakeBackForSide(uint32_t side);

  // Commands of the live window. Each asks its question first.
  bool Resign();
  bool RequestTakeback();
  bool OfferDraw();
  bool RequestAdjournment();
  bool ViewGame(const std::string& nickname);
  void StopViewing();
  bool SaveOnlineGameToLobby();
  void OpenNetGameRecord(const std::string& owner, const uint8_t guid[16]);
  void ResumeNetGameRecord(const std::string& owner, const uint8_t guid[16]);
  // Whether the snapshot of the game on screen could be made (at most 512
  // moves).
  bool MakeSnapshot(OnlineGameSnapshot* out);

  LiveMenuState Menus();

 private:
  GameRecord* MakeOwnOnlineGame();
  GameRecord* MakeGameFromSnapshot(const OnlineGameSnapshot& s);
  void ReplaceGame(GameRecord* game);
  void SendToPlayers(const std::vector<uint8_t>& m, bool withOpponent);
  bool StillPlaying(const uint8_t guid[16]);
  uint32_t OwnIdleState();
  void HandleStoredGame(uint32_t mode, const OnlineGameSnapshot& s);

  void OnMove(const PeerMessage& m, uint32_t sender);
  void OnTakebackRequest(const PeerMessage& m, uint32_t sender);
  void OnGameEnd(const PeerMessage& m, uint32_t sender);
  void OnDrawOffer(const PeerMessage& m, uint32_t sender);
  void OnAdjournRequest(const PeerMessage& m, uint32_t sender);
  void OnViewRequest(const PeerMessage& m, uint32_t sender);
  void OnViewRefused(const PeerMessage& m, uint32_t sender);
  void OnViewSnapshot(const PeerMessage& m, uint32_t sender);
  void OnGameStart(const PeerMessage& m, uint32_t sender);
  void OnViewerAdmitted(const PeerMessage& m, uint32_t sender);
  void OnStoredGameRequest(const PeerMessage& m, uint32_t sender);

  OnlineSession& s_;
  OnlineGameHooks& h_;
  GameRecord* game_ = nullptr;
  uint32_t whiteRating_ = 0, blackRating_ = 0;
  bool viewForwarded_ = false;  // a refused view was passed to the other player once
  bool ending_ = false;
  bool applying_ = false;  // received moves: nothing is sent back
};
