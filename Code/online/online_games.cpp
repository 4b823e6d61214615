#include "online_games.h"

#include <cstdio>
#include <cstring>

#include "game_end.h"
#include "game_record.h"
#include "live_game.h"
#include "rating_change.h"

namespace {

bool SameGuid(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 16) == 0; }

bool DescriptorIsEmpty(const OnlineGameDescriptor& d) {
  static const uint8_t nil[16] = {};
  return SameGuid(d.guid, nil) && d.white[0] == 0 && d.black[0] == 0;
}

OnlineGameDescriptor DefaultDescriptor() {
  OnlineGameDescriptor d;
  d.flags = kTimeFischer;
  d.base = 5;
  d.bonus = 3;
  std::strcpy(d.white, "white");
  std::strcpy(d.black, "black");
  std::strcpy(d.author, "player");
  return d;
}

std::string Format1(const char* pattern, const char* a) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, a);
  return text;
}

const uint32_t kNoticeTime = 120;

}  // namespace

LiveMenuState ComputeLiveMenus(const LiveMenuInputs& in) {
  LiveMenuState m;
  m.load = !in.hasGame;
  m.showViewers = in.hasGame;
  m.profile = m.storeGame = in.lobbyService;
  if (in.playing) {
    m.offerDraw = !in.drawOffered;
    m.resign = true;
    m.takeback = in.takebackAvailable;
    m.adjourn = in.lobbyService && in.ownMayAdjourn && in.opponentMayAdjourn;
  }
  m.viewGame = !in.playing;
  m.stopViewingText = in.viewing;
  return m;
}

const char* LiveViewMenuText(const LiveMenuState& state) {
  return state.stopViewingText ? "Stop Viewing Game" : "View Game...";
}

OnlineGames::OnlineGames(OnlineSession& session, OnlineGameHooks& hooks) : s_(session), h_(hooks) {
  s_.OnStart([this] { Install(); });
  if (s_.IsOpen()) Install();
}

OnlineGames::~OnlineGames() {
  if (game_) DestroyGame(game_);
}

void OnlineGames::Install() {
  auto on = [this](uint32_t type, void (OnlineGames::*f)(const PeerMessage&, uint32_t)) {
    s_.RegisterPeerHandler(type, [this, f](OnlineSession&, const PeerMessage& m, uint32_t id) { (this->*f)(m, id); });
  };
  on(MSG_MOVE, &OnlineGames::OnMove);
  on(MSG_TAKEBACK_REQUEST, &OnlineGames::OnTakebackRequest);
  on(MSG_TAKEBACK_DECLINED, &OnlineGames::OnGameEnd);
  on(MSG_TAKEBACK_ACCEPTED, &OnlineGames::OnGameEnd);
  on(MSG_RESIGNED, &OnlineGames::OnGameEnd);
  on(MSG_LOST_ON_TIME, &OnlineGames::OnGameEnd);
  on(MSG_TIME_EXPIRED, &OnlineGames::OnGameEnd);
  on(MSG_ABORT_GAME, &OnlineGames::OnGameEnd);
  on(MSG_DRAW_OFFER, &OnlineGames::OnDrawOffer);
  on(MSG_DRAW_ACCEPTED, &OnlineGames::OnGameEnd);
  on(MSG_TAKEBACK_DONE, &OnlineGames::OnGameEnd);
  on(MSG_ADJOURN_REQUEST, &OnlineGames::OnAdjournRequest);
  on(MSG_ADJOURN_DECLINED, &OnlineGames::OnGameEnd);
  on(MSG_ADJOURN_ACCEPTED, &OnlineGames::OnGameEnd);
  on(MSG_VIEW_REQUEST, &OnlineGames::OnViewRequest);
  on(MSG_VIEW_REFUSED, &OnlineGames::OnViewRefused);
  on(MSG_VIEW_SNAPSHOT, &OnlineGames::OnViewSnapshot);
  on(MSG_GAME_START, &OnlineGames::OnGameStart);
  on(MSG_VIEWER_ADMITTED, &OnlineGames::OnViewerAdmitted);
  on(MSG_STORED_GAME_REQUEST, &OnlineGames::OnStoredGameRequest);
  s_.RegisterPeerHandler(MSG_STORED_GAME, [this](OnlineSession& s, const PeerMessage& m, uint32_t) {
    s.pending.storedGame = 0;
    HandleStoredGame(m.word, m.snapshot);
  });
  s_.RegisterPeerHandler(MSG_PROFILE_REQUEST, [this](OnlineSession& s, const PeerMessage&, uint32_t id) {
    s.SendPeerToUsers(BuildProfileMessage(h_.OwnProfile()), {id});
  });
  s_.RegisterPeerHandler(MSG_PROFILE, [this](OnlineSession& s, const PeerMessage& m, uint32_t id) {
    s.pending.profile = 0;
    OnlineUserEntry* e = s.FindOnlineUserById(id);
    if (!e) return;
    std::string nickname = e->user.nickname;
    h_.ShowProfile(nickname, m.profile);
    s.RequestPostedGames(nickname);
  });
  s_.RegisterPeerHandler(MSG_GAMES_REQUEST, [](OnlineSession& s, const PeerMessage&, uint32_t id) {
    s.SendPeerToUsers(BuildGameListMessage(s.gameList), {id});
  });
  s_.RegisterPeerHandler(MSG_GAME_LIST, [this](OnlineSession& s, const PeerMessage& m, uint32_t id) {
    s.pending.games = 0;
    if (OnlineUserEntry* e = s.FindOnlineUserById(id)) h_.ShowPostedGames(e->user.nickname, m.gameList);
  });
}

// --- Making games -------------------------------------------------------------

GameRecord* OnlineGames::MakeGameFromSnapshot(const OnlineGameSnapshot& s) {
  OnlineClock clock = OnlineClockFromDescriptor(s.game);
  PlayerDescriptor white{}, black{};
  for (PlayerDescriptor* p : {&white, &black}) {
    p->kind = PLAYER_HUMAN;
    p->timeControl = clock.kind;
    p->baseMs = clock.baseMs;
    p->periodOrIncrement = clock.bonusMs;
  }
  white.slot = SLOT_WHITE;
  black.slot = SLOT_BLACK;
  std::snprintf(white.name, sizeof white.name, "%s", s.game.white);
  std::snprintf(black.name, sizeof black.name, "%s", s.game.black);
  GameRecord* g = CreateGame(OnlineGameKindFlags(s.game), nullptr, &white, &black, nullptr, nullptr, nullptr,
                             WHITE, 1, 0);
  if (!g) return nullptr;
  // The default game has no identity of its own: it keeps the one made.
  static const uint8_t nil[16] = {};
  if (!SameGuid(s.game.guid, nil)) std::memcpy(g->id.bytes, s.game.guid, 16);
  char elo[8];
  std::snprintf(elo, sizeof elo, "%u", s.whiteRating % 10000);
  std::memcpy(g->header.whiteElo, elo, sizeof g->header.whiteElo);
  std::snprintf(elo, sizeof elo, "%u", s.blackRating % 10000);
  std::memcpy(g->header.blackElo, elo, sizeof g->header.blackElo);
  g->result = s.result;
  whiteRating_ = s.whiteRating;
  blackRating_ = s.blackRating;
  return g;
}

GameRecord* OnlineGames::MakeOwnOnlineGame() {
  OnlineGameSnapshot snap;
  if (DescriptorIsEmpty(s_.own.game)) {
    snap.game = DefaultDescriptor();
  } else {
    snap.game = s_.own.game;
    OnlineUserEntry* w = s_.FindOnlineUserByNickname(snap.game.white);
    OnlineUserEntry* b = s_.FindOnlineUserByNickname(snap.game.black);
    if (!w || !b) return nullptr;
    uint32_t c = GetTimeCategory(snap.game.flags, snap.game.base, snap.game.bonus);
    snap.whiteRating = w->user.ratings[c].rating;
    snap.blackRating = b->user.ratings[c].rating;
  }
  GameRecord* g = MakeGameFromSnapshot(snap);
  if (!g) return nullptr;
  if (s_.game.viewing) {
    g->white.kind = g->black.kind = PLAYER_REMOTE;
  } else if (s_.game.playing) {
    (s_.game.ownWhite ? g->black : g->white).kind = PLAYER_REMOTE;
  }
  return g;
}

void OnlineGames::ReplaceGame(GameRecord* g) {
  GameRecord* old = game_;
  game_ = g;
  h_.ShowGame(g);
  if (old) DestroyGame(old);
}

bool OnlineGames::ShowOwnGame() {
  GameRecord* g = MakeOwnOnlineGame();
  if (!g) return false;
  g->kind |= kGameStoppedKind;
  ReplaceGame(g);
  h_.MenusChanged();
  return true;
}

bool OnlineGames::MakeSnapshot(OnlineGameSnapshot* out) {
  if (!game_) return false;
  OnlineGameSnapshot snap;
  std::snprintf(snap.madeAt, sizeof snap.madeAt, "%s", s_.hooks.NowText().c_str());
  snap.whiteRating = whiteRating_;
  snap.blackRating = blackRating_;
  snap.result = game_->result;
  snap.game = s_.own.game;
  int count = 0;
  MoveRecord* line = CopyGameMoves(game_, &count);
  if (count > 0 && !line) return false;
  bool fits = count <= int(kMaxOnlineMoves);
  for (int i = 0; fits && i < count; ++i) snap.moves.push_back(MakeOnlineMove(line[i]));
  FreeMoveArray(line);
  if (!fits) return false;
  *out = std::move(snap);
  return true;
}

// --- Beginning, moves, end ------------------------------------------------------

uint32_t OnlineGames::OwnIdleState() {
  if (!h_.InOnlineRoom()) return USER_AWAY;
  return h_.ChallengesBlocked() ? USER_UNAVAILABLE : USER_IDLE;
}

bool OnlineGames::BeginOnlineGame(const OnlineGameDescriptor& d, const std::vector<OnlineMove>* moves) {
  if (s_.own.state == USER_VIEWING && (s_.game.viewing || s_.game.playing)) {
    EndOnlineGame(RESULT_PLAYER_LEFT);
  } else if (s_.own.state == USER_PLAYING && s_.game.playing) {
    if (!s_.hooks.AskYesNo("Are you sure you want to resign current game to view another?")) return false;
    if (s_.game.playing) EndOnlineGame(OwnResignResult(s_.game.ownWhite != 0));
  }
  if (!s_.IsOpen()) return false;
  s_.own.game = d;
  s_.game = OnlineSession::GameState();
  s_.pending.takeback = s_.pending.adjourn = false;
  viewForwarded_ = false;
  const char* own = s_.own.nickname;
  const char* opponent = nullptr;
  if (std::strcmp(own, d.white) == 0) {
    s_.game.ownWhite = 1;
    opponent = d.black;
  } else if (std::strcmp(own, d.black) == 0) {
    opponent = d.white;
  }
  OnlineUserEntry* o = opponent ? s_.FindOnlineUserByNickname(opponent) : nullptr;
  if (o) {
    s_.game.playing = 1;
    uint32_t c = GetTimeCategory(d.flags, d.base, d.bonus);
    s_.game.opponentGames = o->user.ratings[c].games;
    s_.game.opponentRating = o->user.ratings[c].rating;
  } else if (opponent) {
    s_.ClearGameState();
    return false;  // the own game against somebody not in the session
  } else {
    s_.game.viewing = 1;
  }
  GameRecord* g = MakeOwnOnlineGame();
  if (!g) {
    s_.ClearGameState();
    return false;
  }
  s_.own.state = s_.game.playing ? USER_PLAYING : USER_VIEWING;
  s_.SendOwnUpdate(16);
  h_.OrientBoard(s_.game.viewing || s_.game.ownWhite);
  ReplaceGame(g);
  h_.MenusChanged();
  if (moves && !moves->empty() && !ApplyOnlineMoves(*moves)) return true;  // ended as aborted
  StartGame(g);
  h_.GameChanged(0);
  return true;
}

bool OnlineGames::ApplyOnlineMoves(const std::vector<OnlineMove>& moves) {
  GameRecord* g = game_;
  applying_ = true;
  bool legal = true, played = true;
  for (const OnlineMove& om : moves) {
    MoveRecord move;
    legal = g && g == game_ && g->result == 0 && FindOnlineMove(&g->position, g->sideToMove, om, &move);
    played = legal && PlayMove(g, &move, false) == 0;
    if (!played) break;
  }
  applying_ = false;
  if (played) return true;
  if (game_ && (s_.game.playing || s_.game.viewing)) EndOnlineGame(RESULT_ABORTED);
  if (!legal) s_.hooks.ShowModeless(kIllegalMoveText, kNoticeTime);
  return false;
}

void OnlineGames::SendToPlayers(const std::vector<uint8_t>& m, bool withOpponent) {
  std::vector<uint32_t> ids;
  if (!s_.MakeGameRecipients(s_.own.game, withOpponent, &ids)) return;
  if (!ids.empty()) s_.SendPeerToUsers(m, ids);
}

void OnlineGames::SendOnlineMove(const MoveRecord& move) {
  if (applying_ || DescriptorIsEmpty(s_.own.game) || !s_.game.playing) return;
  SendToPlayers(BuildMoveMessage(s_.own.game, MakeOnlineMove(move)), true);
  if (s_.own.game.flags & kGameTakebacksAllowed) s_.game.takebackAvailable = 1;
  h_.MenusChanged();
}

bool OnlineGames::StillPlaying(const uint8_t guid[16]) {
  return s_.IsOpen() && game_ && s_.game.playing && SameGuid(guid, s_.own.game.guid);
}

void OnlineGames::EndOnlineGame(uint32_t result) {
  if (!game_ || (!s_.game.playing && !s_.game.viewing) || ending_) return;
  ending_ = true;
  OnlineGameDescriptor d = s_.own.game;
  bool playing = s_.game.playing != 0, viewing = s_.game.viewing != 0;
  bool ownWhite = s_.game.ownWhite != 0;
  // 1. The own resignation or loss on time goes to the players.
  if (playing) {
    bool ownResigned = result == OwnResignResult(ownWhite);
    bool ownTime = result == (ownWhite ? RESULT_WHITE_LOST_ON_TIME : RESULT_BLACK_LOST_ON_TIME);
    if (ownResigned) SendToPlayers(BuildDescriptorMessage(MSG_RESIGNED, d), true);
    if (ownTime) SendToPlayers(BuildDescriptorMessage(MSG_LOST_ON_TIME, d), true);
  }
  // 2. The rating step: games not played out change no rating.
  if (playing && (d.flags & kGameRated) && ResultChangesRating(result)) {
    int score = GetResultForSide(result, ownWhite);
    if (score == OUTCOME_WON || score == OUTCOME_LOST || score == OUTCOME_DRAW) {
      uint32_t c = GetTimeCategory(d.flags, d.base, d.bonus);
      const OnlineRatingPair& mine = s_.own.ratings[c];
      int32_t rating =
          h_.NewRating(mine.rating, s_.game.opponentRating, mine.games, s_.game.opponentGames, score);
      if (rating > 0 && s_.SaveRatingChange(c, uint32_t(rating), uint32_t(score), s_.game.opponentRating))
        h_.StoreRatings(s_.netUserData, s_.kind == 1);
    }
  }
  // 3. The own state.
  if (s_.IsOpen()) {
    s_.own.state = OwnIdleState();
    s_.own.game = OnlineGameDescriptor();
    s_.SendOwnUpdate(viewing ? 0x1000 : 32);
  }
  // 4. The result.
  game_->result = result;
  if (!(viewing && result == RESULT_PLAYER_LEFT)) {
    char text[64];
    GetResultText(result, text, sizeof text);
    if (text[0]) s_.hooks.ShowModeless(text, kNoticeTime);
  }
  // 5. An adjourned game is stored in the lobby.
  if (result == RESULT_ADJOURNED && playing) {
    s_.own.game = d;
    SaveOnlineGameToLobby();
  }
  // 6. No game any more.
  s_.ClearGameState();
  StopGame(game_);
  game_->kind |= kGameStoppedKind;
  game_->white.kind = game_->black.kind = PLAYER_HUMAN;
  ending_ = false;
  h_.MenusChanged();
  h_.GameChanged(0);
}

void OnlineGames::NotifyOnlineGameOver() {
  if (!s_.game.playing) return;
  SendToPlayers(BuildDescriptorMessage(MSG_TIME_EXPIRED, s_.own.game), true);
}

void OnlineGames::TakeBackForSide(uint32_t side) {
  if (!game_ || (side != 16 && side != 32)) return;
  if (RetractLastMove(game_) != 0) return;
  if (game_->sideToMove != side) RetractLastMove(game_);
  h_.GameChanged(0);
}

bool OnlineGames::SaveOnlineGameToLobby() {
  if (s_.kind != 1 || s_.own.word2 == 0 || !game_) return false;
  OnlineGameSnapshot snap;
  if (!MakeSnapshot(&snap) || s_.PostNetGame(snap) != 0) {
    s_.hooks.ShowModeless("Failed to write game to network", kNoticeTime);
    return false;
  }
  return true;
}

// --- Commands -------------------------------------------------------------------

bool OnlineGames::Resign() {
  if (!s_.game.playing || s_.game.resignQuestion) return false;
  uint8_t guid[16];
  std::memcpy(guid, s_.own.game.guid, 16);
  s_.game.resignQuestion = 1;
  bool yes = s_.hooks.AskYesNo("Are you sure you want to resign this game?");
  if (!StillPlaying(guid)) return false;
  s_.game.resignQuestion = 0;
  if (!yes) return false;
  EndOnlineGame(OwnResignResult(std::strcmp(s_.loginName.c_str(), s_.own.game.white) == 0));
  return true;
}

bool OnlineGames::RequestTakeback() {
  if (!s_.game.playing || !(s_.own.game.flags & kGameTakebacksAllowed) || !s_.game.takebackAvailable)
    return false;
  uint8_t guid[16];
  std::memcpy(guid, s_.own.game.guid, 16);
  if (!s_.hooks.AskYesNo("Send takeback move request to opponent?") || !StillPlaying(guid)) return false;
  bool sent = s_.SendTakebackRequest() == 0;
  h_.MenusChanged();
  return sent;
}

bool OnlineGames::OfferDraw() {
  bool sent = s_.OfferDraw() == 0;
  h_.MenusChanged();
  return sent;
}

bool OnlineGames::RequestAdjournment() {
  if (!s_.game.playing) return false;
  uint8_t guid[16];
  std::memcpy(guid, s_.own.game.guid, 16);
  if (!s_.hooks.AskYesNo("Send adjourn game request to opponent?") || !StillPlaying(guid)) return false;
  return s_.RequestAdjournment() == 0;
}

bool OnlineGames::ViewGame(const std::string& nickname) {
  if (s_.game.playing) return false;
  OnlineUserEntry* e = s_.FindOnlineUserByNickname(nickname);
  if (!e || DescriptorIsEmpty(e->user.game)) return false;
  viewForwarded_ = false;
  return s_.RequestView(nickname, e->user.game) == 0;
}

void OnlineGames::StopViewing() {
  if (s_.game.viewing) EndOnlineGame(RESULT_PLAYER_LEFT);
}

void OnlineGames::OpenNetGameRecord(const std::string& owner, const uint8_t guid[16]) {
  if (s_.game.playing) return;
  if (owner != s_.own.nickname) {
    s_.RequestStoredGame(owner, 1, guid);
    return;
  }
  OnlineGameSnapshot snap;
  if (s_.ReadNetGame(guid, &snap) != 0) {
    s_.hooks.ShowModeless("unable to retrieve game from network database", kNoticeTime);
    return;
  }
  HandleStoredGame(1, snap);
}

void OnlineGames::ResumeNetGameRecord(const std::string& owner, const uint8_t guid[16]) {
  if (s_.game.playing) return;
  if (owner != s_.own.nickname) {
    s_.RequestStoredGame(owner, 2, guid);
    return;
  }
  OnlineGameSnapshot snap;
  if (s_.ReadNetGame(guid, &snap) != 0) {
    s_.hooks.ShowModeless("unable to retrieve game from network database\n", kNoticeTime);
    return;
  }
  HandleStoredGame(2, snap);
}

void OnlineGames::HandleStoredGame(uint32_t mode, const OnlineGameSnapshot& snap) {
  if (mode == 2) {
    h_.ResumeStoredGame(snap);
    return;
  }
  if (mode != 1 || !h_.InOnlineRoom() || s_.game.playing) return;
  if (s_.game.viewing) EndOnlineGame(RESULT_PLAYER_LEFT);
  GameRecord* g = MakeGameFromSnapshot(snap);
  if (!g) return;
  g->kind |= kGameStoppedKind;
  for (const OnlineMove& om : snap.moves) {
    MoveRecord move;
    if (!FindOnlineMove(&g->position, g->sideToMove, om, &move)) break;  // review what is legal
    AddMoveToGame(g, &move);
  }
  g->result = snap.result;
  ReplaceGame(g);
  h_.MenusChanged();
  h_.GameChanged(0);
}

LiveMenuState OnlineGames::Menus() {
  LiveMenuInputs in;
  in.lobbyService = s_.kind == 1;
  in.playing = s_.game.playing != 0;
  in.viewing = s_.game.viewing != 0;
  in.hasGame = in.playing || in.viewing;
  in.takebackAvailable = s_.game.takebackAvailable != 0 && !s_.pending.takeback;
  in.drawOffered = s_.game.drawOffered != 0;
  in.ownMayAdjourn = s_.own.word2 != 0;
  const char* opponent = s_.game.ownWhite ? s_.own.game.black : s_.own.game.white;
  OnlineUserEntry* o = in.playing ? s_.FindOnlineUserByNickname(opponent) : nullptr;
  in.opponentMayAdjourn = o && o->user.word2 != 0;
  return ComputeLiveMenus(in);
}

// --- Received messages ----------------------------------------------------------
// The session's guard has already checked sender, game and open requests.

void OnlineGames::OnMove(const PeerMessage& m, uint32_t sender) {
  if (!game_ || game_->result != 0) return;
  // A player moves only its own pieces, and only on its turn.
  if (s_.SenderSide(sender) != game_->sideToMove) return;
  ApplyOnlineMoves({m.move});
}

void OnlineGames::OnTakebackRequest(const PeerMessage& m, uint32_t sender) {
  if (!s_.game.playing) return;
  const char* opponent = s_.game.ownWhite ? s_.own.game.black : s_.own.game.white;
  if (!(s_.own.game.flags & kGameTakebacksAllowed)) {
    s_.SendPeerToUser(BuildDescriptorMessage(MSG_TAKEBACK_DECLINED, s_.own.game), opponent);
    return;
  }
  uint32_t side = s_.SenderSide(sender);
  if (side != 16 && side != 32) return;
  std::string name = opponent;
  bool yes = s_.hooks.AskYesNo("Your opponent is requesting to takeback his last move, accept?");
  if (!StillPlaying(m.game.guid)) return;
  s_.SendPeerToUser(BuildDescriptorMessage(yes ? MSG_TAKEBACK_ACCEPTED : MSG_TAKEBACK_DECLINED, s_.own.game),
                    name);
  if (yes) TakeBackForSide(side);
  h_.MenusChanged();
}

// Answers and ends, each a single step.
void OnlineGames::OnGameEnd(const PeerMessage& m, uint32_t sender) {
  uint32_t side = s_.SenderSide(sender);
  switch (m.type) {
    case MSG_TAKEBACK_DECLINED:
      s_.hooks.ShowModeless("Your opponent has declined your takeback request", kNoticeTime);
      h_.MenusChanged();
      break;
    case MSG_TAKEBACK_ACCEPTED: {
      uint32_t own = s_.game.ownWhite ? 16 : 32;
      TakeBackForSide(own);
      SendToPlayers(BuildTakebackDoneMessage(s_.own.game, own), false);
      h_.MenusChanged();
      break;
    }
    case MSG_TAKEBACK_DONE:
      if (s_.game.viewing) TakeBackForSide(m.word == 16 || m.word == 32 ? m.word : 0);
      break;
    case MSG_RESIGNED:
    case MSG_LOST_ON_TIME:
      // The side that resigned or lost on time is the sender's, whatever
      // the payload's author says.
      if (uint32_t result = ResultFromSender(m.type, side)) EndOnlineGame(result);
      break;
    case MSG_TIME_EXPIRED:
      s_.hooks.ShowModeless(TimeExpiredText(side), kNoticeTime);
      break;
    case MSG_ABORT_GAME:
      EndOnlineGame(RESULT_ABORTED);
      break;
    case MSG_DRAW_ACCEPTED:
      EndOnlineGame(RESULT_DRAW);
      break;
    case MSG_ADJOURN_DECLINED:
      if (OnlineUserEntry* e = s_.FindOnlineUserById(sender))
        s_.hooks.ShowModeless(Format1("%s has declined your request for adjournment", e->user.nickname),
                              kNoticeTime);
      break;
    case MSG_ADJOURN_ACCEPTED:
      EndOnlineGame(RESULT_ADJOURNED);
      break;
    default:
      break;
  }
}

void OnlineGames::OnDrawOffer(const PeerMessage& m, uint32_t) {
  if (!s_.game.playing) return;
  s_.game.drawOffered = 0;
  std::string opponent = s_.game.ownWhite ? s_.own.game.black : s_.own.game.white;
  bool yes = s_.hooks.AskYesNo(Format1("%s is requesting a draw, do you accept?", opponent.c_str()));
  if (!yes || !StillPlaying(m.game.guid)) return;
  SendToPlayers(BuildDescriptorMessage(MSG_DRAW_ACCEPTED, s_.own.game), true);
  EndOnlineGame(RESULT_DRAW);
}

void OnlineGames::OnAdjournRequest(const PeerMessage& m, uint32_t) {
  if (!s_.game.playing) return;
  std::string opponent = s_.game.ownWhite ? s_.own.game.black : s_.own.game.white;
  bool yes = s_.hooks.AskYesNo(Format1("%s is requesting an adjournment, do you accept?", opponent.c_str()));
  if (!StillPlaying(m.game.guid)) return;
  if (!yes) {
    s_.SendPeerToUser(BuildDescriptorMessage(MSG_ADJOURN_DECLINED, s_.own.game), opponent);
    return;
  }
  SendToPlayers(BuildDescriptorMessage(MSG_ADJOURN_ACCEPTED, s_.own.game), true);
  EndOnlineGame(RESULT_ADJOURNED);
}

void OnlineGames::OnViewRequest(const PeerMessage& m, uint32_t sender) {
  OnlineUserEntry* viewer = s_.FindOnlineUserById(sender);
  if (!viewer || sender == s_.ownId) return;
  bool ownTurn = game_ && game_->sideToMove == (s_.game.ownWhite ? WHITE : BLACK);
  OnlineGameSnapshot snap;
  bool granted = game_ && ViewRequestGranted(s_.own.game, s_.game.playing != 0, ownTurn, m.game) &&
                 MakeSnapshot(&snap);
  if (!granted) {
    s_.SendPeerToUsers(BuildDescriptorMessage(MSG_VIEW_REFUSED, m.game), {sender});
    return;
  }
  std::string nickname = viewer->user.nickname;
  if (s_.SendPeerToUsers(BuildViewSnapshotMessage(snap), {sender}) != 0) return;
  if (OnlineUserEntry* e = s_.FindOnlineUserById(sender)) {
    e->user.state = USER_VIEWING;
    e->user.game = s_.own.game;
    s_.hooks.NotifyUserWindows(16, e);
  }
  const char* opponent = s_.game.ownWhite ? s_.own.game.black : s_.own.game.white;
  s_.SendPeerToUser(BuildViewerMessage(s_.own.game, nickname), opponent);
}

void OnlineGames::OnViewRefused(const PeerMessage& m, uint32_t sender) {
  s_.pending.view = 0;
  OnlineUserEntry* e = s_.FindOnlineUserById(sender);
  // Passed on once to the other player: two refusals would otherwise bounce
  // the request between the players for ever.
  if ((m.game.flags & kGameViewersAllowed) && e && !viewForwarded_) {
    const char* other = std::strcmp(e->user.nickname, m.game.white) == 0 ? m.game.black : m.game.white;
    viewForwarded_ = true;
    if (s_.RequestView(other, m.game) == 0) return;
  }
  char text[96];
  std::snprintf(text, sizeof text, "Unable to view game %s vs. %s", m.game.white, m.game.black);
  s_.hooks.ShowModeless(text, kNoticeTime);
}

void OnlineGames::OnViewSnapshot(const PeerMessage& m, uint32_t) {
  s_.pending.view = 0;
  if (s_.game.playing) return;
  if (BeginOnlineGame(m.snapshot.game, &m.snapshot.moves)) return;
  if (!s_.IsOpen()) return;
  s_.own.state = OwnIdleState();
  s_.own.game = OnlineGameDescriptor();
  if (OnlineUserEntry* e = s_.FindOnlineUserById(s_.ownId)) {
    e->user = s_.own;
    s_.hooks.NotifyUserWindows(0x1000, e);
  }
}

void OnlineGames::OnGameStart(const PeerMessage& m, uint32_t) {
  if (!s_.game.playing || !game_) return;
  if (!ApplyOnlineMoves(m.moves)) return;
  h_.GameChanged(0);
}

void OnlineGames::OnViewerAdmitted(const PeerMessage& m, uint32_t) {
  OnlineUserEntry* e = s_.FindOnlineUserByNickname(m.text);
  if (!e || e->id == s_.ownId) return;
  e->user.state = USER_VIEWING;
  e->user.game = s_.own.game;
  s_.hooks.NotifyUserWindows(16, e);
}

void OnlineGames::OnStoredGameRequest(const PeerMessage& m, uint32_t sender) {
  if (m.word != 1 && m.word != 2) return;
  OnlineGameSnapshot snap;
  if (s_.ReadNetGame(m.guid, &snap) != 0) return;
  s_.SendPeerToUsers(BuildStoredGameMessage(m.word, snap), {sender});
}
