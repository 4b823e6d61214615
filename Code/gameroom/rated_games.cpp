#include "rated_games.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdarg>
#include <cstring>

namespace {

constexpr int kProvisionalGames = 20;
constexpr size_t kMaxRatedOpponents = 256;
constexpr size_t kDateSize = 64;

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void WriteLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// The text of a fixed field, up to its first NUL.
std::string FieldText(const uint8_t* p, size_t size) {
  size_t n = 0;
  while (n < size && p[n]) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}
void PutFieldText(uint8_t* p, size_t size, const std::string& text) {
  std::memset(p, 0, size);
  std::memcpy(p, text.data(), std::min(text.size(), size - 1));
}

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

}  // namespace

int32_t ComputeNewRating(uint32_t rating, uint32_t opponentRating, uint32_t games, uint32_t opponentGames,
                         int result) {
  double s;
  switch (result) {
    case RATED_WIN: s = 1.0; break;
    case RATED_LOSS: s = 0.0; break;
    case RATED_DRAW: s = 0.5; break;
    default: return 0;
  }
  const double r = rating, ro = opponentRating;
  const double m = std::min<uint32_t>(opponentGames, kProvisionalGames);
  const double n = std::min<uint32_t>(games, kProvisionalGames);
  double next;
  if (n < kProvisionalGames)
    next = (r * n + ro + (2 * s - 1) * 400) / (n + 1);
  else
    next = r + (32 * m / 20) * (s - 1 / (std::pow(10.0, (ro - r) / 400) + 1));
  return int32_t(std::max(next, 1.0));
}

int TimeControlClass(int kind, int32_t baseMs, int32_t bonusOrMoves) {
  const int64_t base = baseMs, extra = bonusOrMoves;
  int64_t v;
  switch (kind) {
    case 0:
    case 1:
      // Moves of 0 (a script with TimeType 1 and no BonusTime) would divide
      // by zero: the base is then the whole game.
      v = extra > 0 ? (base / 1000) * 40 / extra : base / 1000;
      break;
    case 3:
    case 4: v = base / 1000; break;
    case 5: v = base / 1000 + extra * 40 / 1000; break;
    case 6: v = base * 40 / 1000; break;
    default: v = 0; break;
  }
  return v < 180 ? 0 : v < 900 ? 1 : 2;
}

uint32_t RatingBlockData::Games() const {
  uint32_t sum = 0;
  for (uint32_t c : counters) sum += c;
  return sum;
}

RatingBlockData DecodeRatingBlock(const uint8_t* block) {
  RatingBlockData d;
  d.rating = int32_t(ReadLe32(block));
  d.highest = int32_t(ReadLe32(block + 4));
  d.date = FieldText(block + 8, kDateSize);
  for (int i = 0; i < 6; ++i) d.counters[i] = ReadLe32(block + 8 + kDateSize + 4 * i);
  return d;
}

void EncodeRatingBlock(const RatingBlockData& d, uint8_t* block) {
  std::memset(block, 0, kRatingBlockSize);
  WriteLe32(block, uint32_t(d.rating));
  WriteLe32(block + 4, uint32_t(d.highest));
  PutFieldText(block + 8, kDateSize, d.date);
  for (int i = 0; i < 6; ++i) WriteLe32(block + 8 + kDateSize + 4 * i, d.counters[i]);
}

std::vector<PersonalityResult> DecodePersonalityResults(const uint8_t* entries, int count) {
  std::vector<PersonalityResult> out;
  if (!entries || count <= 0) return out;
  for (int i = 0; i < count; ++i) {
    const uint8_t* e = entries + size_t(i) * kPersonalityResultSize;
    PersonalityResult r;
    r.name = FieldText(e, 32);
    r.wins = ReadLe32(e + 32);
    r.losses = ReadLe32(e + 36);
    r.draws = ReadLe32(e + 40);
    out.push_back(r);
  }
  return out;
}

std::vector<uint8_t> EncodePersonalityResults(const std::vector<PersonalityResult>& results) {
  std::vector<uint8_t> out(results.size() * kPersonalityResultSize);
  for (size_t i = 0; i < results.size(); ++i) {
    uint8_t* e = out.data() + i * kPersonalityResultSize;
    PutFieldText(e, 32, results[i].name);
    WriteLe32(e + 32, results[i].wins);
    WriteLe32(e + 36, results[i].losses);
    WriteLe32(e + 40, results[i].draws);
  }
  return out;
}

std::vector<RatedOpponentEntry> SelectRatedOpponents(const std::vector<RatedOpponentCandidate>& candidates,
                                                     int32_t userRating, int32_t ratedGames, bool kidsRoom) {
  constexpr uint32_t kCustomKind = 132, kOutsideEngineKind = 178, kFirstKidGroup = 8;
  std::vector<RatedOpponentEntry> list;
  for (const RatedOpponentCandidate& c : candidates) {
    if (list.size() >= kMaxRatedOpponents) break;
    const RatedOpponentEntry& e = c.entry;
    if (e.kind == kCustomKind || e.kind == kOutsideEngineKind) continue;
    if (ratedGames < kProvisionalGames && int64_t(e.rating) > int64_t(userRating) + 400) continue;
    if (kidsRoom && c.ageMask < kFirstKidGroup) continue;
    if (!kidsRoom && e.name.find("Barnaby") != std::string::npos) continue;
    list.push_back(e);
  }
  std::stable_sort(list.begin(), list.end(), [](const RatedOpponentEntry& a, const RatedOpponentEntry& b) {
    if (a.rating != b.rating) return a.rating > b.rating;
    return a.name < b.name;
  });
  return list;
}

std::string RatingChangeText(int change) {
  return Printf("%c%d", change < 0 ? '-' : '+', change < 0 ? -change : change);
}

void RatedGameChanges(const RatedRecord& user, int32_t opponentRating, int changes[3]) {
  uint32_t games = 0;
  for (const PersonalityResult& r : user.results) games += r.wins + r.losses + r.draws;
  const int32_t own = user.overall;
  for (int result = 0; result < 3; ++result)
    changes[result] = ComputeNewRating(uint32_t(std::max(own, 0)), uint32_t(std::max(opponentRating, 0)), games, 20,
                                       result) -
                      own;
}

int RatedGameOutcome(uint32_t code, bool userIsWhite) {
  const bool blackWon = code == 1 || code == 10 || code == 12;
  const bool whiteWon = code == 2 || code == 11 || code == 13;
  if ((code >= 3 && code <= 9) || code == 14) return RATED_DRAW;
  if (!blackWon && !whiteWon) return -1;
  return (whiteWon == userIsWhite) ? RATED_WIN : RATED_LOSS;
}

std::string RatingDateText(int month, int day, int year, int hour, int minute, int second) {
  return Printf("%02d/%02d/%02d %02d:%02d:%02d", month, day, ((year % 100) + 100) % 100, hour, minute, second);
}

std::string RatedGameReport::Message() const {
  if (provisionalLine.empty()) return resultLine + "\r\n" + overallLine + "\r\n" + classLine;
  return resultLine + "\r\n" + overallLine + "\r\n" + provisionalLine + "\r\n" + classLine;
}

RatedGameReport RecordRatedGameResult(RatedRecord* record, const RatedGameFacts& f, const std::string classNames[3]) {
  RatedGameReport report;
  const int result = RatedGameOutcome(f.resultCode, f.userIsWhite);
  report.result = result;
  if (!record || result < 0) return report;
  report.booked = true;
  const char* opponent = f.opponentName.c_str();
  const char* player = f.playerName.c_str();

  int change;
  if (!f.tournament) {
    report.resultLine = result == RATED_WIN    ? Printf("You defeated %s.", opponent)
                        : result == RATED_LOSS ? Printf("%s defeated you.", opponent)
                                               : Printf("You and %s have drawn.", opponent);
    change = f.dialogChange[result];
  } else {
    report.resultLine = Printf(result == RATED_WIN    ? "%s won a rated tournament game against %s."
                               : result == RATED_LOSS ? "%s lost a rated tournament game against %s."
                                                      : "%s drew a rated tournament game against %s.",
                               player, opponent);
    change = ComputeNewRating(uint32_t(std::max(f.playerRating, 0)), uint32_t(std::max(f.opponentRating, 0)),
                              uint32_t(std::max(record->ratedGames, 0)), uint32_t(std::max(f.opponentGames, 0)),
                              result) -
             f.playerRating;
  }
  record->overall += change;
  const int size = change < 0 ? -change : change;
  if (!f.tournament)
    report.overallLine = change > 0   ? Printf("Your overall rating increased by %d points and is now %d.", size,
                                               record->overall)
                         : change < 0 ? Printf("Your overall rating decreased by %d points and is now %d.", size,
                                               record->overall)
                                      : Printf("This game did not affect your overall rating, so it remains %d.",
                                               record->overall);
  else
    report.overallLine =
        change > 0   ? Printf("This caused an overall rating increase of %d points to %d.", size, record->overall)
        : change < 0 ? Printf("This caused an overall rating decrease of %d points to %d.", size, record->overall)
                     : Printf("This player's overall rating was not affected and is still %d.", record->overall);

  ++record->ratedGames;
  if (record->ratedGames < kProvisionalGames)
    report.provisionalLine = Printf(
        "Your rating is still provisional, since you have played only %d rated game(s).Your rating will become "
        "non-provisional after completing %d rated games.",
        record->ratedGames, kProvisionalGames);

  const int cls = TimeControlClass(f.timeKind, f.timeBase, f.timeBonusOrMoves);
  report.speedClass = cls;
  RatingBlockData& block = record->blocks[cls];
  const int32_t newRating = ComputeNewRating(uint32_t(std::max(block.rating, 0)),
                                             uint32_t(std::max(f.opponentRating, 0)), block.Games(), 20, result);
  if (newRating > block.highest) {
    block.highest = newRating;
    block.date = f.now;
  }
  const int classChange = newRating - block.rating;
  block.rating = newRating;
  const int white = f.userIsWhite ? 0 : 1;
  ++block.counters[(result == RATED_WIN ? WINS_WHITE : result == RATED_LOSS ? LOSSES_WHITE : DRAWS_WHITE) + white];

  auto found = std::find_if(record->results.begin(), record->results.end(),
                            [&](const PersonalityResult& r) { return r.name == f.opponentName.substr(0, 31); });
  if (found == record->results.end()) {
    PersonalityResult r;
    r.name = f.opponentName.substr(0, 31);
    record->results.push_back(r);
    found = record->results.end() - 1;
  }
  if (result == RATED_WIN && f.kidsRoom && found->wins == 0) ++record->kidsRoomBeaten;
  ++(result == RATED_WIN ? found->wins : result == RATED_LOSS ? found->losses : found->draws);

  const char* className = classNames[cls].c_str();
  const int classSize = classChange < 0 ? -classChange : classChange;
  if (!f.tournament)
    report.classLine = classChange > 0
                           ? Printf("Your %s rating increased by %d points and is now %d.", className, classSize, newRating)
                       : classChange < 0
                           ? Printf("Your %s rating decreased by %d points and is now %d.", className, classSize, newRating)
                           : Printf("Your %s rating was not affected and is still %d.", className, newRating);
  else
    report.classLine =
        classChange > 0
            ? Printf("This player's %s rating increased by %d points and is now %d.", className, classSize, newRating)
        : classChange < 0
            ? Printf("This player's %s rating decreased by %d points and is now %d.", className, classSize, newRating)
            : Printf("This player's %s rating was not affected and is still %d.", className, newRating);
  return report;
}

std::string AdjournedGameName(const std::string& white, const std::string& black, const std::string& date,
                              bool (*exists)(const std::string& fileName, void* context), void* context) {
  std::string name = white + " vs. " + black + ", " + date + " (Adjourned)";
  // Player names and the header date may hold characters a file name
  // cannot: the save would fail, or land outside the folder.
  for (char& c : name)
    if (std::strchr("\\/:*?\"<>|", c) || static_cast<unsigned char>(c) < 32) c = '-';
  if (!exists || !exists(name + ".RWG", context)) return name;
  for (int n = 2; n < 10000; ++n) {
    const std::string numbered = name + " (" + std::to_string(n) + ")";
    if (!exists(numbered + ".RWG", context)) return numbered;
  }
  return name;
}
