// Who may act on the current online game. A game message counts only from
// the opponent (for a viewer: one of the players) naming the current game,
// and an answer only while this copy's own request is open: otherwise any
// member of the session could end or void another's rated game.
#include <cstring>

#include "session.h"

namespace {

bool SameGuid(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 16) == 0; }

uint32_t IdOf(OnlineSession& s, const char* nickname) {
  OnlineUserEntry* e = s.FindOnlineUserByNickname(nickname);
  return e ? e->id : 0;
}

}  // namespace

uint32_t OnlineSession::SenderSide(uint32_t sender) {
  OnlineUserEntry* e = FindOnlineUserById(sender);
  if (!e || sender == ownId) return 0;
  if (std::strcmp(e->user.nickname, own.game.white) == 0) return 16;
  if (std::strcmp(e->user.nickname, own.game.black) == 0) return 32;
  return 0;
}

bool OnlineSession::GameMessageAccepted(const PeerMessage& m, uint32_t sender) {
  switch (m.type) {
    case MSG_VIEW_REFUSED:
    case MSG_VIEW_SNAPSHOT:
      return pending.view != 0 && sender == pending.view;
    case MSG_PROFILE:
      return pending.profile != 0 && sender == pending.profile;
    case MSG_GAME_LIST:
      return pending.games != 0 && sender == pending.games;
    case MSG_STORED_GAME:
      return pending.storedGame != 0 && sender == pending.storedGame;
    case MSG_MOVE:
    case MSG_TAKEBACK_REQUEST:
    case MSG_TAKEBACK_DECLINED:
    case MSG_TAKEBACK_ACCEPTED:
    case MSG_RESIGNED:
    case MSG_LOST_ON_TIME:
    case MSG_TIME_EXPIRED:
    case MSG_ABORT_GAME:
    case MSG_DRAW_OFFER:
    case MSG_DRAW_ACCEPTED:
    case MSG_TAKEBACK_DONE:
    case MSG_GAME_START:
    case MSG_ADJOURN_REQUEST:
    case MSG_ADJOURN_DECLINED:
    case MSG_ADJOURN_ACCEPTED:
    case MSG_VIEWER_ADMITTED:
      break;
    default:
      return true;
  }
  if (!game.playing && !game.viewing) return false;
  uint32_t side = SenderSide(sender);
  if (side == 0) return false;
  if (game.playing && side == (game.ownWhite ? 16u : 32u)) return false;
  // Type 14 ends the current game whatever descriptor it carries.
  const uint8_t* guid = m.type == MSG_GAME_START ? m.guid : m.game.guid;
  if (m.type != MSG_ABORT_GAME && !SameGuid(guid, own.game.guid)) return false;
  if (!game.playing) return true;
  switch (m.type) {
    case MSG_TAKEBACK_DECLINED:
    case MSG_TAKEBACK_ACCEPTED:
      if (!pending.takeback) return false;
      pending.takeback = false;
      return true;
    case MSG_DRAW_ACCEPTED:
      if (!game.drawOffered) return false;
      game.drawOffered = 0;
      return true;
    case MSG_ADJOURN_DECLINED:
    case MSG_ADJOURN_ACCEPTED:
      if (!pending.adjourn) return false;
      pending.adjourn = false;
      return true;
    default:
      return true;
  }
}

void OnlineSession::ClearGameState() {
  game = GameState();
  own.game = OnlineGameDescriptor();
  pending.takeback = pending.adjourn = false;
}

int OnlineSession::SendTakebackRequest() {
  if (!game.playing || pending.takeback) return -1;
  const char* opponent = game.ownWhite ? own.game.black : own.game.white;
  int result = SendPeerToUser(BuildDescriptorMessage(MSG_TAKEBACK_REQUEST, own.game), opponent);
  if (result == 0) {
    pending.takeback = true;
    game.takebackAvailable = 0;
  }
  return result;
}

int OnlineSession::OfferDraw() {
  if (!game.playing || game.drawOffered) return -1;
  const char* opponent = game.ownWhite ? own.game.black : own.game.white;
  int result = SendPeerToUser(BuildDescriptorMessage(MSG_DRAW_OFFER, own.game), opponent);
  if (result == 0) game.drawOffered = 1;
  return result;
}

int OnlineSession::RequestAdjournment() {
  if (!game.playing) return -1;
  const char* opponent = game.ownWhite ? own.game.black : own.game.white;
  int result = SendPeerToUser(BuildDescriptorMessage(MSG_ADJOURN_REQUEST, own.game), opponent);
  if (result == 0) pending.adjourn = true;
  return result;
}

int OnlineSession::RequestView(const std::string& nickname, const OnlineGameDescriptor& g) {
  if (game.playing) return -1;
  int result = SendPeerToUser(BuildDescriptorMessage(MSG_VIEW_REQUEST, g), nickname);
  if (result == 0) pending.view = IdOf(*this, nickname.c_str());
  return result;
}

int OnlineSession::RequestProfile(const std::string& nickname) {
  int result = SendPeerToUser(BuildEmptyMessage(MSG_PROFILE_REQUEST), nickname);
  if (result == 0) pending.profile = IdOf(*this, nickname.c_str());
  return result;
}

int OnlineSession::RequestPostedGames(const std::string& nickname) {
  int result = SendPeerToUser(BuildEmptyMessage(MSG_GAMES_REQUEST), nickname);
  if (result == 0) pending.games = IdOf(*this, nickname.c_str());
  return result;
}

int OnlineSession::RequestStoredGame(const std::string& owner, uint32_t mode, const uint8_t guid[16]) {
  if (game.playing) return -1;
  int result = SendPeerToUser(BuildStoredGameRequest(mode, guid), owner);
  if (result == 0) pending.storedGame = IdOf(*this, owner.c_str());
  return result;
}
