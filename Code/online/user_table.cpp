// The table of users online, the login step and the texts shown for users.
#include <cstdio>
#include <cstring>

#include "name_lists.h"
#include "session.h"

namespace {

void CopyName(char* field, const std::string& text) {
  std::memset(field, 0, kNameSize);
  std::memcpy(field, text.data(), text.size() < kNameSize ? text.size() : kNameSize - 1);
}

bool DescriptorIsEmpty(const OnlineGameDescriptor& d) {
  static const uint8_t nil[16] = {};
  return std::memcmp(d.guid, nil, 16) == 0 && d.white[0] == 0 && d.black[0] == 0;
}

bool SameGame(const OnlineGameDescriptor& a, const OnlineGameDescriptor& b) {
  return std::memcmp(a.guid, b.guid, 16) == 0;
}

}  // namespace

OnlineUserEntry* OnlineSession::FindOnlineUserByNickname(const std::string& nickname) {
  for (auto& e : users_)
    if (nickname == e.user.nickname) return &e;
  return nullptr;
}

OnlineUserEntry* OnlineSession::FindOnlineUserById(uint32_t id) {
  for (auto& e : users_)
    if (e.id == id) return &e;
  return nullptr;
}

int OnlineSession::AddOnlineUser(const OnlineUser& user, uint32_t id) {
  if (!FindOnlineUserByNickname(user.nickname)) {
    users_.push_back({id, 0, user});
    users_.back().user.changeMask = 0;
    hooks.NotifyUserWindows(kUserAdded, &users_.back());
    return 1;
  }
  if (loginName == user.nickname) {
    hooks.AppMessageBox("Login failed due to Nickname conflict");
    Leave();
  }
  return 0;
}

void OnlineSession::UpdateOnlineUser(const OnlineUser& u, uint32_t id) {
  OnlineUserEntry* e = FindOnlineUserById(id);
  if (!e) return;
  OnlineUser& s = e->user;
  uint32_t mask = u.changeMask;
  if (mask & 1) {
    s.state = u.state;
  } else if (mask & 2) {
    s.ratings[0] = u.ratings[0];
  } else if (mask & 4) {
    s.ratings[1] = u.ratings[1];
  } else if (mask & 8) {
    s.ratings[2] = u.ratings[2];
  } else if (mask & 16) {
    s.game = u.game;
    s.state = u.state;
  } else if (mask & (32 | 0x1000)) {
    s.state = u.state;
    s.game = OnlineGameDescriptor();
  } else if (mask & 64) {
    s.game.flags ^= kGameViewersAllowed;
  } else if (mask & (128 | 0x200)) {
    s.challenge = u.challenge;
  } else if (mask & 0x100) {
    s.challenge = OnlineChallenge();
  } else if (mask & 0x400) {
    std::memcpy(s.channel, u.channel, kNameSize);
  }
  hooks.NotifyUserWindows(mask, e);
}

void OnlineSession::RemoveOnlineUser(uint32_t id) {
  OnlineUserEntry* e = FindOnlineUserById(id);
  if (!e) return;
  if (id != ownId && !DescriptorIsEmpty(own.game) && SameGame(e->user.game, own.game)) {
    const char* nick = e->user.nickname;
    bool isPlayer = std::strcmp(nick, own.game.white) == 0 || std::strcmp(nick, own.game.black) == 0;
    if (game.playing && isPlayer) {
      uint32_t result = 17;
      if (e->user.word2 != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "%s has been disconnected, do you want to adjourn this game ?",
                      nick);
        if (hooks.AskYesNo(text)) result = 15;
      }
      hooks.EndOnlineGame(result);
    } else if (game.viewing && isPlayer) {
      hooks.EndOnlineGame(17);
    }
  }
  // The question above may have let the session close.
  e = FindOnlineUserById(id);
  if (!e) return;
  hooks.NotifyUserWindows(kUserRemoved, e);
  for (auto it = users_.begin(); it != users_.end(); ++it) {
    if (&*it == e) {
      users_.erase(it);
      break;
    }
  }
}

void OnlineSession::RemoveAllOnlineUsers() {
  while (!users_.empty()) {
    size_t before = users_.size();
    RemoveOnlineUser(users_.front().id);
    if (users_.size() == before) users_.pop_front();
  }
}

int OnlineSession::ToggleIgnoreOnlineUser(const std::string& nickname) {
  OnlineUserEntry* e = FindOnlineUserByNickname(nickname);
  if (!e) return -1;
  e->flags ^= 1;
  if (e->flags & 1)
    AddToNameList(ignoreList, nickname);
  else
    RemoveFromNameList(ignoreList, nickname);
  hooks.NotifyUserWindows(kUserIgnoreToggled, e);
  return 0;
}

int OnlineSession::CollectViewers(const OnlineGameDescriptor& g, uint32_t* ids, int* count) {
  if (DescriptorIsEmpty(g)) return -1;
  int n = 0;
  for (auto& e : users_) {
    if (e.user.state != USER_VIEWING || !SameGame(e.user.game, g) || e.id == ownId) continue;
    if (n >= *count) return -1;
    ids[n++] = e.id;
  }
  *count = n;
  return n;
}

bool OnlineSession::MakeGameRecipients(const OnlineGameDescriptor& g, bool withOpponent,
                                       std::vector<uint32_t>* ids) {
  ids->clear();
  const char* opponent = std::strcmp(own.nickname, g.white) == 0 ? g.black : g.white;
  OnlineUserEntry* e = FindOnlineUserByNickname(opponent);
  if (!e) return false;
  if (withOpponent) ids->push_back(e->id);
  uint32_t viewers[64];
  int count = 64;
  if (CollectViewers(g, viewers, &count) > 0) ids->insert(ids->end(), viewers, viewers + count);
  return true;
}

bool OnlineSession::CompleteLogin(uint32_t id, const std::string& userName, const NetUserData* localRatings) {
  ownId = id;
  CopyName(own.nickname, userName);
  own.version = version;
  // Word 4 marks a registered user (see IsRegisteredUser); every copy is one.
  own.word2 = own.word4 = 1;
  CopyName(own.channel, hooks.CurrentChatChannel());
  if (kind == 1) {
    if (LoadNetUserData(&netUserData) != 0) {
      hooks.AppMessageBox("Fatal error getting user record from network");
      Leave();
      return false;
    }
    LobbyGameList list;
    if (LoadNetGameList(&list) == 0) gameList = list;
  } else {
    netUserData = localRatings ? *localRatings : MakeDefaultNetUserData();
  }
  for (int c = 0; c < 3; ++c) {
    const NetRatingBlock& b = netUserData.blocks[c];
    uint32_t games = CountRatedGames(b);
    own.ratings[c] = {games < 20 ? games : 20, b.rating};
  }
  if (!noSessionSearch) SendPeerToChannel(BuildUserMessage(MSG_LOGIN, own));
  if (!open_) return false;
  AddOnlineUser(own, ownId);
  return true;
}

void OnlineSession::OnLogin(const PeerMessage& m, uint32_t sender, bool answer) {
  // The nickname must be the one the lobby knows for the sender: a payload
  // naming somebody else would take over that user's entry.
  std::string lobbyName;
  if (!link.GetNickFromID(sender, &lobbyName) || lobbyName != m.user.nickname) return;
  if (answer) {
    AddOnlineUser(m.user, sender);
    return;
  }
  if (loginName != m.user.nickname) AddOnlineUser(m.user, sender);
  SendPeerToUsers(BuildUserMessage(MSG_LOGIN_ANSWER, own), {sender});
}

void OnlineSession::OnUserUpdate(const PeerMessage& m, uint32_t sender) { UpdateOnlineUser(m.user, sender); }

void OnlineSession::SetOwnChannel(const std::string& channel) {
  CopyName(own.channel, channel);
  SendOwnUpdate(0x400);
}

void OnlineSession::SendOwnUpdate(uint32_t mask) {
  OnlineUser u = own;
  u.changeMask = mask;
  if (OnlineUserEntry* e = FindOnlineUserById(ownId)) e->user = own;
  SendPeerToChannel(BuildUserMessage(MSG_USER_UPDATE, u));
}

// --- Texts -------------------------------------------------------------------

uint32_t GetTimeCategory(uint32_t flags, uint32_t base, uint32_t bonus) {
  uint32_t type = flags & kTimeTypeMask;
  if (type == kTimeInfinite || type == kTimeHourglass || type == kTimeSecondsPerMove) return 2;
  uint64_t minutes = base;
  if (type == kTimeFischer) minutes += uint64_t(bonus) * 2 / 3;
  if (minutes < 4) return 0;
  if (minutes >= 15) return 2;
  return 1;
}

const char* GetTimeCategoryText(uint32_t category) {
  switch (category) {
    case 0:
      return "Bullet";
    case 1:
      return "Blitz";
    case 2:
      return "Standard";
    default:
      return "Non-Standard";
  }
}

std::string FormatOnlineTimeControl(uint32_t flags, uint32_t base, uint32_t bonus) {
  char buffer[32];
  switch (flags & kTimeTypeMask) {
    case kTimeMinutesPerGame:
      std::snprintf(buffer, sizeof buffer, "%dm", int(base));
      break;
    case kTimeFischer:
      std::snprintf(buffer, sizeof buffer, "%d/%d", int(base), int(bonus));
      break;
    case kTimeHourglass:
    case kTimeSecondsPerMove:
      std::snprintf(buffer, sizeof buffer, "%ds", int(base));
      break;
    default:
      return "Infinite";
  }
  return buffer;
}

const char* FormatRatedFlag(uint32_t flags) {
  if (flags & kGameRated) return "Rated";
  if (flags & kGameUnratedEnforced) return "Unrated-Enforced";
  return "Unrated-Unenforced";
}

std::string FormatRating(bool hidden, uint32_t rating, uint32_t games) {
  if (hidden || rating == 0) return "****";
  char buffer[32];
  if (games < 20)
    std::snprintf(buffer, sizeof buffer, "%d/%d", int(rating), int(games));
  else
    std::snprintf(buffer, sizeof buffer, "%d", int(rating));
  return buffer;
}

const char* GetTimeTypeText(uint32_t flags) {
  switch (flags & kTimeTypeMask) {
    case 0:
      return "Infinite";
    case 1:
      return "Min/Game";
    case 2:
      return "Fischer";
    case 4:
      return "Hourglass";
    case 8:
      return "Sec/Move";
    default:
      return " ";
  }
}

const char* GetUserStateText(uint32_t state) {
  switch (state) {
    case USER_UNAVAILABLE:
      return "Unavailable";
    case USER_PLAYING:
      return "Playing";
    case USER_VIEWING:
      return "Viewing";
    case USER_VIEW_REQUESTED:
      return "ViewReq";
    case USER_CHALLENGING:
      return "Challenging";
    case USER_CHALLENGED:
      return "Challenged";
    case USER_TUTORIAL:
      return "Tutorial";
    case USER_AWAY:
      return "Away";
    default:
      return "Idle";
  }
}

uint32_t CountRatedGames(const NetRatingBlock& b) {
  return b.wonWhite + b.wonBlack + b.lostWhite + b.lostBlack + b.drawnWhite + b.drawnBlack;
}

bool IsFreeForChallenge(const OnlineUserEntry& e) {
  return e.user.state == USER_IDLE || e.user.state == USER_VIEWING;
}

bool ChallengeFitsOwnRating(const OnlineChallenge& a, const OnlineChallenge& b, uint32_t ownRating) {
  return a.timeType == b.timeType && a.base == b.base && a.bonus == b.bonus && ownRating >= b.lowestRating &&
         ownRating <= b.highestRating;
}
