#include "lobby_model.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

LobbySortKey Text(const std::string& t) { return {true, t, 0}; }
LobbySortKey Number(int64_t n) { return {false, "", n}; }

bool NilGuid(const uint8_t guid[16]) {
  static const uint8_t nil[16] = {};
  return std::memcmp(guid, nil, 16) == 0;
}

std::string Name(const char* field) { return std::string(field, strnlen(field, kNameSize)); }

std::string RatingText(const OnlineUser& u, int category) {
  return FormatRating(!IsRegisteredUser(u), u.ratings[category].rating, u.ratings[category].games);
}

}  // namespace

bool IsRegisteredUser(const OnlineUser& u) { return u.word4 != 0; }

bool HasPostedChallenge(const OnlineUser& u) {
  return !NilGuid(reinterpret_cast<const uint8_t*>(u.challenge.head)) || u.challenge.nickname[0] != 0;
}

bool HasGame(const OnlineUser& u) { return !NilGuid(u.game.guid); }

size_t LobbyPage::Insert(LobbyRow row) {
  size_t at = 0;
  while (at < rows_.size() && Compare(rows_[at], row) <= 0) ++at;
  rows_.insert(rows_.begin() + at, std::move(row));
  return at;
}

int LobbyPage::Find(const std::string& key) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].key == key) return int(i);
  return -1;
}

int LobbyPage::Remove(const std::string& key) {
  const int at = Find(key);
  if (at >= 0) rows_.erase(rows_.begin() + at);
  return at;
}

void LobbyPage::ClickColumn(int column) {
  if (column == column_) {
    ascending_ = !ascending_;
  } else {
    column_ = column;
    ascending_ = true;
  }
  std::stable_sort(rows_.begin(), rows_.end(),
                   [this](const LobbyRow& a, const LobbyRow& b) { return Compare(a, b) < 0; });
}

int LobbyPage::Compare(const LobbyRow& a, const LobbyRow& b) const {
  if (size_t(column_) >= a.sortKeys.size() || size_t(column_) >= b.sortKeys.size()) return 0;
  const LobbySortKey& x = a.sortKeys[column_];
  const LobbySortKey& y = b.sortKeys[column_];
  int result;
  if (x.isText)
    result = compare_(x.text.c_str(), y.text.c_str());
  else
    result = x.number < y.number ? -1 : x.number > y.number ? 1 : 0;
  return ascending_ ? result : -result;
}

const std::vector<std::string>& LobbyColumnTitles(LobbyPageKind page) {
  static const std::vector<std::string> players = {"Player", "State", "Bullet", "Blitz", "Standard"};
  static const std::vector<std::string> games = {"White", "WRating", "Black", "BRating", "Game", "Time"};
  static const std::vector<std::string> challenges = {"Player", "Rating", "Game", "Time",
                                                      "Rated",  "Color",  "Range"};
  return page == LOBBY_PLAYERS ? players : page == LOBBY_GAMES ? games : challenges;
}

LobbyRow MakeLobbyPlayerRow(const OnlineUserEntry& e) {
  const OnlineUser& u = e.user;
  LobbyRow row;
  row.key = row.first = Name(u.nickname);
  row.firstRegistered = IsRegisteredUser(u);
  row.texts = {row.first, GetUserStateText(u.state), RatingText(u, 0), RatingText(u, 1), RatingText(u, 2)};
  row.sortKeys = {Text(row.first), Number(u.state), Number(u.ratings[0].rating), Number(u.ratings[1].rating),
                  Number(u.ratings[2].rating)};
  row.highlighted = (e.flags & 1) != 0;
  return row;
}

std::string GameRowKey(const OnlineGameDescriptor& d) {
  return std::string(reinterpret_cast<const char*>(d.guid), 16);
}

LobbyRow MakeLobbyGameRow(const OnlineUser& u,
                          const std::function<const OnlineUserEntry*(const std::string&)>& find) {
  const OnlineGameDescriptor& d = u.game;
  const uint32_t category = GetTimeCategory(d.flags, d.base, d.bonus);
  LobbyRow row;
  row.key = GameRowKey(d);
  row.first = Name(d.white);
  row.second = Name(d.black);
  const OnlineUserEntry* white = find(row.first);
  const OnlineUserEntry* black = find(row.second);
  OnlineRatingPair wr, br;
  if (white) wr = white->user.ratings[category];
  if (black) br = black->user.ratings[category];
  row.firstRegistered = white && IsRegisteredUser(white->user);
  row.secondRegistered = black && IsRegisteredUser(black->user);
  row.viewable = (d.flags & kGameViewersAllowed) != 0;
  const std::string game = std::string(d.flags & kGameRated ? "R-" : "U-") + GetTimeCategoryText(category);
  row.texts = {row.first,
               FormatRating(!row.firstRegistered, wr.rating, wr.games),
               row.second,
               FormatRating(!row.secondRegistered, br.rating, br.games),
               game,
               FormatOnlineTimeControl(d.flags, d.base, d.bonus)};
  row.sortKeys = {Text(row.first), Number(wr.rating), Text(row.second), Number(br.rating),
                  Number(d.flags), Number(d.base)};
  row.highlighted = !row.viewable;
  return row;
}

LobbyRow MakeLobbyChallengeRow(const OnlineUser& u, uint32_t ownRating) {
  const OnlineChallenge& c = u.challenge;
  const uint32_t category = GetTimeCategory(c.timeType, c.base, c.bonus);
  const OnlineRatingPair pair = category < 3 ? u.ratings[category] : OnlineRatingPair();
  const bool rated = (c.timeType & kGameRated) != 0;
  LobbyRow row;
  row.key = row.first = Name(u.nickname);
  row.firstRegistered = IsRegisteredUser(u);
  row.challenge = c;
  row.texts = {row.first,
               FormatRating(!row.firstRegistered, pair.rating, pair.games),
               GetTimeCategoryText(category),
               FormatOnlineTimeControl(c.timeType, c.base, c.bonus),
               rated ? "R" : "U",
               FormatChallengeColour(c.word7),
               FormatRatingRange(c.lowestRating, c.highestRating)};
  row.sortKeys = {Text(row.first), Number(pair.rating), Number(c.timeType), Number(c.base),
                  Number(rated ? 1 : 0), Number(c.word7), Number(c.lowestRating)};
  row.highlighted = ownRating < c.lowestRating || ownRating > c.highestRating;
  return row;
}

std::string FormatRatingRange(uint32_t minimum, uint32_t maximum) {
  char text[40];
  if (minimum == 0 && maximum == 9999) return "Any Rating";
  if (minimum == 0)
    std::snprintf(text, sizeof text, "%d or less", int(maximum));
  else if (maximum == 9999)
    std::snprintf(text, sizeof text, "%d or greater", int(minimum));
  else
    std::snprintf(text, sizeof text, "%d-%d", int(minimum), int(maximum));
  return text;
}

const char* FormatChallengeColour(uint32_t colour) {
  return colour == 1 ? "White" : colour == 0 ? "Black" : "????";
}

std::string LobbyCounterText(LobbyPageKind page, size_t count) {
  static const char* const formats[] = {"Players Online: %d", "Games in Progress: %d", "Posted Challenges: %d"};
  char text[48];
  std::snprintf(text, sizeof text, formats[page], int(count));
  return text;
}

std::vector<PlayerMenuEntry> MakeGamesPageMenu(const LobbyRow& row, bool whiteBuddy, bool blackBuddy) {
  std::vector<PlayerMenuEntry> menu;
  if (row.firstRegistered) menu.push_back({PMENU_PROFILE_FIRST, "View profile for " + row.first});
  if (row.secondRegistered) menu.push_back({PMENU_PROFILE_SECOND, "View profile for " + row.second});
  if (row.viewable) menu.push_back({PMENU_VIEW_GAME, "View game " + row.first + " vs. " + row.second});
  if (whiteBuddy)
    menu.push_back({PMENU_REMOVE_BUDDY, "Remove " + row.first + " from buddy list"});
  else
    menu.push_back({PMENU_ADD_BUDDY, "Add " + row.first + " to buddy list"});
  if (blackBuddy)
    menu.push_back({kMenuRemoveSecondBuddy, "Remove " + row.second + " from buddy list"});
  else
    menu.push_back({kMenuAddSecondBuddy, "Add " + row.second + " to buddy list"});
  return menu;
}

std::vector<PlayerMenuEntry> MakeChallengesPageMenu(const LobbyRow& row, const ChallengeMenuFacts& f) {
  std::vector<PlayerMenuEntry> menu;
  if (f.own) return menu;
  if (row.firstRegistered) menu.push_back({PMENU_PROFILE, "View Profile for " + row.first});
  if (f.canAccept) menu.push_back({PMENU_ACCEPT, "Accept " + row.first + "'s challenge"});
  AppendIgnoreAndBuddyEntries(&menu, row.first, f.ignored, f.buddy);
  return menu;
}
