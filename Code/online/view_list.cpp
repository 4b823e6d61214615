// The view list's rules: see view_list.h.
#include "view_list.h"

#include <cctype>
#include <cstring>

namespace {

const ViewListModeInfo kModes[kViewListModes] = {
    {"View Game", "View", "C&lose"},
    {"View Player", "View", "C&lose"},
    {"Ignore Player", "Ignore", "C&lose"},
    {"Unignore player", "Unignore", "C&lose"},
    {"Game Viewers", nullptr, "C&lose"},
    {"Add Buddy", "Add", "C&lose"},
    {"Remove Buddy", "Remove", "C&lose"},
    {"Buddies", nullptr, "Close"},
    {"Buddies Currently Connected", nullptr, "Close"},
};

bool SameGuid(const OnlineGameDescriptor& a, const OnlineGameDescriptor& b) {
  return std::memcmp(a.guid, b.guid, 16) == 0;
}

bool HasGuid(const OnlineGameDescriptor& d) {
  static const uint8_t zero[16] = {};
  return std::memcmp(d.guid, zero, 16) != 0;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool InList(const std::vector<std::string>& list, const std::string& name) {
  for (const auto& n : list)
    if (SameName(n, name)) return true;
  return false;
}

const OnlineUserEntry* FindByNickname(const OnlineSession& s, const char* nickname) {
  for (const auto& e : s.Users())
    if (std::strcmp(e.user.nickname, nickname) == 0) return &e;
  return nullptr;
}

ViewListRow NameRow(const std::string& name) {
  ViewListRow r;
  r.texts.push_back(name);
  return r;
}

void InsertName(std::vector<ViewListRow>* rows, const std::string& name) {
  rows->insert(rows->begin() + long(NameRowInsertIndex(*rows, name)), NameRow(name));
}

std::string RatingText(const OnlineUserEntry& e, uint32_t category) {
  const OnlineRatingPair& p = e.user.ratings[category];
  return FormatRating(e.user.word4 == 0, p.rating, p.games);
}

void AddGameRow(std::vector<ViewListRow>* rows, const OnlineSession& s, const OnlineUserEntry& e) {
  const OnlineGameDescriptor& d = e.user.game;
  if (!HasGuid(d)) return;
  if (s.game.playing && SameGuid(d, s.own.game)) return;
  for (const auto& r : *rows)
    if (SameGuid(r.game, d)) return;
  const bool listedWhite = std::strcmp(e.user.nickname, d.white) == 0;
  const bool listedBlack = std::strcmp(e.user.nickname, d.black) == 0;
  if (!listedWhite && !listedBlack) return;
  const OnlineUserEntry* white = listedWhite ? &e : FindByNickname(s, d.white);
  const OnlineUserEntry* black = listedWhite ? FindByNickname(s, d.black) : &e;
  if (!white || !black) return;
  if (white->id == s.ownId || black->id == s.ownId) return;
  const uint32_t category = GetTimeCategory(d.flags, d.base, d.bonus);
  ViewListRow r;
  r.game = d;
  r.texts = {d.white,
             RatingText(*white, category),
             d.black,
             RatingText(*black, category),
             std::string(d.flags & kGameRated ? "R-" : "U-") + GetTimeCategoryText(category),
             FormatOnlineTimeControl(d.flags, d.base, d.bonus)};
  rows->insert(rows->begin() + long(GameRowInsertIndex(*rows, d.white)), r);
}

}  // namespace

ViewListModeInfo GetViewListModeInfo(int mode) {
  if (mode < 0 || mode >= kViewListModes) return {"View List", nullptr, "C&lose"};
  return kModes[mode];
}

std::vector<std::string> ViewListColumns(int mode) {
  if (mode == VIEW_GAME) return {"White", "WRating", "Black", "BRating", "Game", "Time"};
  return {"Player"};
}

size_t NameRowInsertIndex(const std::vector<ViewListRow>& rows, const std::string& name) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (!rows[i].texts.empty() && std::strcmp(rows[i].texts[0].c_str(), name.c_str()) > 0) return i;
  return rows.size();
}

size_t GameRowInsertIndex(const std::vector<ViewListRow>& rows, const std::string& white) {
  size_t n = 0;
  for (const auto& r : rows)
    if (!r.texts.empty() && std::strcmp(r.texts[0].c_str(), white.c_str()) <= 0) ++n;
  return n;
}

std::vector<ViewListRow> BuildViewListRows(int mode, const OnlineSession& s,
                                           const std::vector<std::string>& buddies) {
  std::vector<ViewListRow> rows;
  if (mode == VIEW_UNIGNORE) {
    for (const auto& name : s.IgnoreList()) InsertName(&rows, name);
    return rows;
  }
  if (mode == VIEW_REMOVE_BUDDY || mode == VIEW_BUDDIES) {
    for (const auto& name : buddies) InsertName(&rows, name);
    return rows;
  }
  for (const auto& e : s.Users()) {
    if (e.id == s.ownId) continue;
    const std::string name = e.user.nickname;
    bool take = false;
    switch (mode) {
      case VIEW_GAME:
        if (e.user.state == USER_PLAYING) AddGameRow(&rows, s, e);
        break;
      case VIEW_PLAYER:
        take = e.user.word4 != 0;
        break;
      case VIEW_IGNORE:
        take = (e.flags & 1) == 0;
        break;
      case VIEW_GAME_VIEWERS:
        take = e.user.state == USER_VIEWING && HasGuid(s.own.game) && SameGuid(e.user.game, s.own.game);
        break;
      case VIEW_ADD_BUDDY:
        take = !InList(buddies, name);
        break;
      case VIEW_BUDDIES_CONNECTED:
        take = InList(buddies, name);
        break;
    }
    if (take) InsertName(&rows, name);
  }
  return rows;
}

int RunViewListAction(int mode, int selected, const std::vector<ViewListRow>& rows, OnlineSession& s,
                      const ViewListActions& actions) {
  if (selected < 0 || size_t(selected) >= rows.size() || rows[size_t(selected)].texts.empty()) return -1;
  const ViewListRow& row = rows[size_t(selected)];
  // The row's name as the dialog reads it: 15 characters at most.
  const std::string name = row.texts[0].substr(0, kNameSize - 1);
  switch (mode) {
    case VIEW_GAME:
      s.RequestView(row.game.white, row.game);
      break;
    case VIEW_PLAYER:
      s.RequestProfile(name);
      break;
    case VIEW_IGNORE:
    case VIEW_UNIGNORE:
      s.ToggleIgnoreOnlineUser(name);
      break;
    case VIEW_ADD_BUDDY:
      if (actions.addBuddy) actions.addBuddy(name);
      break;
    case VIEW_REMOVE_BUDDY:
      if (actions.removeBuddy) actions.removeBuddy(name);
      break;
    default:
      break;
  }
  return 1;
}
