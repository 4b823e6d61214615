// The lobby window's rows, apart from the window: the players online, the
// games in progress and the posted challenges, each a sorted page of rows
// made from the user table, with the texts of their columns, their sort
// keys, their highlighting, the counters under the tabs and the menus.
//
// A user record marks a registered user by its word 4 (every copy sets it
// to 1 at login; a record without it is a guest).
//
// Interface: IsRegisteredUser, HasPostedChallenge, LobbyPageKind,
// LobbySortKey, LobbyRow, LobbyPage, MakeLobbyPlayerRow, MakeLobbyGameRow,
// MakeLobbyChallengeRow, FormatRatingRange, FormatChallengeColour,
// LobbyCounterText, LobbyColumnTitles, MakeGamesPageMenu,
// MakeChallengesPageMenu.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chat_model.h"
#include "session.h"

bool IsRegisteredUser(const OnlineUser& u);
bool HasPostedChallenge(const OnlineUser& u);
bool HasGame(const OnlineUser& u);

enum LobbyPageKind : int { LOBBY_PLAYERS = 0, LOBBY_GAMES = 1, LOBBY_CHALLENGES = 2 };

struct LobbySortKey {
  bool isText = false;
  std::string text;
  int64_t number = 0;
};

struct LobbyRow {
  std::string key;  // the nickname, or for a game its GUID's bytes
  std::vector<std::string> texts;  // one per column
  std::vector<LobbySortKey> sortKeys;  // one per column
  bool highlighted = false;
  // What the menus need.
  std::string first, second;  // nickname; or White and Black
  bool firstRegistered = false, secondRegistered = false;
  bool viewable = false;  // a game others may view
  OnlineChallenge challenge;
};

// One page: rows kept in sort order. Text keys compare with `compareText`
// (the system's case-sensitive compare in the window), numbers as signed.
class LobbyPage {
 public:
  explicit LobbyPage(std::function<int(const char*, const char*)> compareText)
      : compare_(std::move(compareText)) {}
  // Before the first row that compares greater; the row's index.
  size_t Insert(LobbyRow row);
  // The index the row with `key` had, or -1.
  int Remove(const std::string& key);
  int Find(const std::string& key) const;
  // A click on the sort column flips the direction; another column becomes
  // the sort column, ascending. The rows are sorted again.
  void ClickColumn(int column);
  int sortColumn() const { return column_; }
  bool ascending() const { return ascending_; }
  const std::vector<LobbyRow>& rows() const { return rows_; }

 private:
  int Compare(const LobbyRow& a, const LobbyRow& b) const;

  std::function<int(const char*, const char*)> compare_;
  std::vector<LobbyRow> rows_;
  int column_ = 0;
  bool ascending_ = true;
};

const std::vector<std::string>& LobbyColumnTitles(LobbyPageKind page);

LobbyRow MakeLobbyPlayerRow(const OnlineUserEntry& e);
// The game row of a user who plays or views; the players' ratings are found
// by the descriptor's names through `find` (null: unknown).
LobbyRow MakeLobbyGameRow(const OnlineUser& u,
                          const std::function<const OnlineUserEntry*(const std::string&)>& find);
// Highlighted when `ownRating` (the own rating in the challenge's
// category) lies outside the challenge's range.
LobbyRow MakeLobbyChallengeRow(const OnlineUser& u, uint32_t ownRating);
std::string GameRowKey(const OnlineGameDescriptor& d);

std::string FormatRatingRange(uint32_t minimum, uint32_t maximum);
const char* FormatChallengeColour(uint32_t colour);
// "Players Online: %d", "Games in Progress: %d", "Posted Challenges: %d".
std::string LobbyCounterText(LobbyPageKind page, size_t count);

// Games page: the row's White is the first name, Black the second.
std::vector<PlayerMenuEntry> MakeGamesPageMenu(const LobbyRow& row, bool whiteBuddy, bool blackBuddy);
// Challenges page, another user's challenge only.
struct ChallengeMenuFacts {
  bool own = false;
  bool canAccept = false;  // own state not playing and own rating within the range
  bool ignored = false;
  bool buddy = false;
};
std::vector<PlayerMenuEntry> MakeChallengesPageMenu(const LobbyRow& row, const ChallengeMenuFacts& f);
// Commands of the games page's buddy entries: the second player's.
constexpr int kMenuAddSecondBuddy = 30006;
constexpr int kMenuRemoveSecondBuddy = 30007;
