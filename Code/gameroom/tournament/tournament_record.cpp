// The tournament record's byte image: see tournament_record.h.
#include "tournament_record.h"

#include <cstring>
#include <initializer_list>
#include <iterator>

namespace {

void PutI32(uint8_t* at, int32_t value) {
  const uint32_t v = uint32_t(value);
  at[0] = uint8_t(v), at[1] = uint8_t(v >> 8), at[2] = uint8_t(v >> 16), at[3] = uint8_t(v >> 24);
}

int32_t GetI32(const uint8_t* at) {
  return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

// The header's words from offset 0, in order.
int32_t Tournament::*const kHeaderWords[] = {
    &Tournament::entrantCount,    &Tournament::totalGames,   &Tournament::gamesPlayed,
    &Tournament::rounds,          &Tournament::currentRound, &Tournament::kind,
    &Tournament::rated,           &Tournament::autoPlay,     &Tournament::started,
    &Tournament::gameInProgress,  &Tournament::adjourned,    &Tournament::gameStarting,
    &Tournament::savedGamePresent};

// An entrant's words from offset 3,136, in order.
int32_t TournamentEntrant::*const kEntrantWords[] = {
    &TournamentEntrant::number,   &TournamentEntrant::wins,        &TournamentEntrant::losses,
    &TournamentEntrant::draws,    &TournamentEntrant::gamesPlayed, &TournamentEntrant::score,
    &TournamentEntrant::rating,   &TournamentEntrant::computer,    &TournamentEntrant::byeRound,
    &TournamentEntrant::paired,   &TournamentEntrant::opponent,    &TournamentEntrant::colour,
    &TournamentEntrant::colourDue};

constexpr size_t kTimeControlOffset = 52;
constexpr size_t kEntrantNameOffset = 3104;
constexpr size_t kEntrantWordsOffset = 3136;

void WriteTimeControl(const TournamentTimeControl& c, uint8_t* at) {
  PutI32(at, c.kind);
  for (int i = 0; i < 6; ++i) PutI32(at + 4 + 4 * i, c.unused[i]);
  PutI32(at + 28, c.base);
  PutI32(at + 32, c.increment);
  PutI32(at + 36, c.unused2);
}

void ReadTimeControl(const uint8_t* at, TournamentTimeControl* c) {
  c->kind = GetI32(at);
  for (int i = 0; i < 6; ++i) c->unused[i] = GetI32(at + 4 + 4 * i);
  c->base = GetI32(at + 28);
  c->increment = GetI32(at + 32);
  c->unused2 = GetI32(at + 36);
}

constexpr int32_t kMaxRating = 9999;

bool IsResult(int32_t result) {
  return result == kResultNotPlayed || (result >= 0 && result <= kResultStopped);
}

bool Consistent(const Tournament& t) {
  const int n = t.entrantCount;
  if (t.kind == TOURNAMENT_ROUND_ROBIN) {
    if (n < 2 || n > 8) return false;
  } else if (t.kind == TOURNAMENT_SWISS) {
    if (n < 6 || n > kTournamentEntrants) return false;
  } else {
    return false;
  }
  if (t.rounds < 1 || t.rounds > kTournamentPairings) return false;
  if (t.totalGames < 1 || t.totalGames > kTournamentPairings) return false;
  if (t.totalGames != TournamentTotalGames(t.kind, n, t.rounds)) return false;
  if (t.gamesPlayed < 0 || t.gamesPlayed > t.totalGames) return false;
  if (t.currentRound < 0 || t.currentRound >= t.rounds) return false;
  bool seen[kTournamentEntrants + 1] = {};
  for (int i = 0; i < n; ++i) {
    const int number = t.entrants[i].number;
    if (number < 1 || number > n || seen[number]) return false;
    seen[number] = true;
  }
  // Counters feed the scores and averages: a damaged file must not make
  // them overflow. Stale slots beyond N are scored too, so all are checked.
  for (const TournamentEntrant& e : t.entrants) {
    for (int32_t count : {e.wins, e.losses, e.draws, e.gamesPlayed, e.byeRound})
      if (count < 0 || count > kTournamentPairings) return false;
    if (e.rating < 0 || e.rating > kMaxRating) return false;
  }
  for (const TournamentPairing& p : t.pairings) {
    if (p.white > n || p.black > n) return false;
    if ((p.white == 0) != (p.black == 0)) return false;
    if (p.white != 0 && p.white == p.black) return false;
    if (!IsResult(p.result)) return false;
  }
  return true;
}

}  // namespace

void WriteTournamentImage(const Tournament& t, uint8_t* image) {
  std::memset(image, 0, kTournamentImageSize);
  for (size_t i = 0; i < std::size(kHeaderWords); ++i) PutI32(image + 4 * i, t.*kHeaderWords[i]);
  WriteTimeControl(t.timeControl, image + kTimeControlOffset);
  for (int i = 0; i < kTournamentEntrants; ++i) {
    const TournamentEntrant& e = t.entrants[i];
    uint8_t* at = image + kEntrantsOffset + kEntrantImageSize * i;
    std::memcpy(at, e.personality, kPersonalityRecordSize);
    std::memcpy(at + kEntrantNameOffset, e.name, kEntrantNameSize);
    for (size_t w = 0; w < std::size(kEntrantWords); ++w)
      PutI32(at + kEntrantWordsOffset + 4 * w, e.*kEntrantWords[w]);
  }
  for (int i = 0; i < kTournamentPairings; ++i) {
    uint8_t* at = image + kPairingsOffset + 8 * i;
    at[0] = t.pairings[i].white;
    at[1] = t.pairings[i].black;
    PutI32(at + 4, t.pairings[i].result);
  }
  std::memcpy(image + kTextsOffset, t.texts, sizeof t.texts);
}

bool ReadTournamentImage(const uint8_t* image, Tournament* t) {
  for (size_t i = 0; i < std::size(kHeaderWords); ++i) t->*kHeaderWords[i] = GetI32(image + 4 * i);
  ReadTimeControl(image + kTimeControlOffset, &t->timeControl);
  for (int i = 0; i < kTournamentEntrants; ++i) {
    TournamentEntrant& e = t->entrants[i];
    const uint8_t* at = image + kEntrantsOffset + kEntrantImageSize * i;
    std::memcpy(e.personality, at, kPersonalityRecordSize);
    std::memcpy(e.name, at + kEntrantNameOffset, kEntrantNameSize);
    e.name[kEntrantNameSize - 1] = '\0';
    for (size_t w = 0; w < std::size(kEntrantWords); ++w)
      e.*kEntrantWords[w] = GetI32(at + kEntrantWordsOffset + 4 * w);
  }
  for (int i = 0; i < kTournamentPairings; ++i) {
    const uint8_t* at = image + kPairingsOffset + 8 * i;
    t->pairings[i].white = at[0];
    t->pairings[i].black = at[1];
    t->pairings[i].result = GetI32(at + 4);
  }
  std::memcpy(t->texts, image + kTextsOffset, sizeof t->texts);
  for (char* text : t->texts) text[kTournamentTextSize - 1] = '\0';
  return Consistent(*t);
}
