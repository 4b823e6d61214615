// The tournament record and its pairing: see tournament.h.
#include "tournament.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "round_robin.h"

namespace {

int32_t CanPairRecords(Tournament& t, const TournamentEntrant& ea, const TournamentEntrant& eb,
                       TournamentRandom& random, const PairingRules& rules);

int Half(const Tournament& t) { return t.entrantCount / 2; }

bool SameName(const char* a, const char* b) { return std::strncmp(a, b, kEntrantNameSize) == 0; }

// The no-rematch window in rounds for the round being paired.
int DefaultWindow(const Tournament& t) {
  return t.entrantCount > 1 ? t.currentRound % (t.entrantCount - 1) : 0;
}

void PairTwo(Tournament& t, TournamentEntrant& a, TournamentEntrant& b, int32_t flags, const char* vs) {
  const bool aWhite = (flags & kPairAWhite) != 0;
  a.paired = b.paired = 1;
  a.opponent = b.number;
  b.opponent = a.number;
  a.colour = aWhite ? kColourWhite : kColourBlack;
  b.colour = aWhite ? kColourBlack : kColourWhite;
  const int total = t.totalGames < kTournamentPairings ? t.totalGames : kTournamentPairings;
  for (int slot = 0; slot < total; ++slot) {
    if (t.pairings[slot].white == 0) {
      SetPairing(&t, aWhite ? a.number : b.number, aWhite ? b.number : a.number, slot, vs);
      return;
    }
  }
}

bool AllPaired(const Tournament& t) {
  for (int i = 0; i < t.entrantCount; ++i)
    if (!t.entrants[i].paired) return false;
  return true;
}

bool Accepted(int32_t flags, bool acceptOne) {
  const int32_t quality = flags & 0xFF;
  return quality == 4 || quality == 2 || (acceptOne && quality == 1);
}

// One random pairing of every unpaired entrant under `rules`; true when
// the round came out complete.
bool RandomPass(Tournament& t, TournamentRandom& random, const char* vs, PairingRules rules) {
  const int n = t.entrantCount;
  uint64_t met[kTournamentEntrants + 1];
  BuildMetTable(t, rules, met);
  rules.met = met;
  const int start = random.Below(n);
  for (int k = 0; k < n; ++k) {
    TournamentEntrant& a = t.entrants[(start + k) % n];
    if (a.paired) continue;
    bool found = false;
    for (int draw = 0; draw < 100 * n && !found; ++draw) {
      TournamentEntrant& b = t.entrants[random.Below(n)];
      const int32_t flags = CanPairRecords(t, a, b, random, rules);
      if (flags == 0) continue;
      PairTwo(t, a, b, flags, vs);
      found = true;
    }
    if (!found) break;
  }
  return AllPaired(t);
}

}  // namespace

uint32_t SeededTournamentRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return uint32_t((z ^ (z >> 31)) >> 32);
}

void ClearTournament(Tournament* t) {
  std::memset(t, 0, sizeof *t);
  for (TournamentPairing& p : t->pairings) p.result = kResultNotPlayed;
}

int TournamentTotalGames(int kind, int entrants, int rounds) {
  if (kind == TOURNAMENT_ROUND_ROBIN) return entrants * (entrants - 1) / 2 * rounds;
  return entrants / 2 * rounds;
}

TournamentEntrant* FindEntrant(Tournament* t, int number, const char* name) {
  if (!t) return nullptr;
  if (name) {
    for (TournamentEntrant& e : t->entrants)
      if (SameName(e.name, name)) return &e;
  }
  if (number < 1 || number > kTournamentEntrants) return nullptr;
  for (TournamentEntrant& e : t->entrants)
    if (e.number == number) return &e;
  return nullptr;
}

int32_t ColourDue(const Tournament& t, int number) {
  int white = 0, black = 0, last = 0;
  for (int slot = 0; slot < kTournamentPairings && t.pairings[slot].result != kResultNotPlayed; ++slot) {
    const TournamentPairing& p = t.pairings[slot];
    if (p.white == number)
      ++white, last = kColourWhite;
    else if (p.black == number)
      ++black, last = kColourBlack;
  }
  if (white < black) return black >= white + 2 ? kDueWhite | kDueAbsolute : kDueWhite;
  if (white > black) return white >= black + 2 ? kDueBlack | kDueAbsolute : kDueBlack;
  if (last == kColourWhite) return kDueBlack;
  if (last == kColourBlack) return kDueWhite;
  return 0;
}

void BuildMetTable(const Tournament& t, const PairingRules& rules, uint64_t* met) {
  for (int i = 0; i <= kTournamentEntrants; ++i) met[i] = 0;
  const int window = rules.windowRounds >= 0 ? rules.windowRounds : DefaultWindow(t);
  const int played = t.gamesPlayed < kTournamentPairings ? t.gamesPlayed : kTournamentPairings;
  int from = played - window * Half(t);
  if (from < 0) from = 0;
  for (int slot = from; slot < played; ++slot) {
    const TournamentPairing& p = t.pairings[slot];
    if (p.white > kTournamentEntrants || p.black > kTournamentEntrants) continue;
    met[p.white] |= uint64_t(1) << p.black;
    met[p.black] |= uint64_t(1) << p.white;
  }
}

namespace {

// CanPairEntrants on two records already found.
int32_t CanPairRecords(Tournament& t, const TournamentEntrant& ea, const TournamentEntrant& eb,
                       TournamentRandom& random, const PairingRules& rules) {
  const int a = ea.number, b = eb.number;
  if (&ea == &eb || a == b || ea.paired || eb.paired) return 0;
  if (a < 1 || a > kTournamentEntrants || b < 1 || b > kTournamentEntrants) return 0;
  if (rules.met) {
    if (rules.met[a] >> b & 1) return 0;
  } else {
    uint64_t met[kTournamentEntrants + 1];
    BuildMetTable(t, rules, met);
    if (met[a] >> b & 1) return 0;
  }

  const int32_t dueA = ea.colourDue & 0xFF, dueB = eb.colourDue & 0xFF;
  const bool absA = (ea.colourDue & kDueAbsolute) && !rules.ignoreAbsolute;
  const bool absB = (eb.colourDue & kDueAbsolute) && !rules.ignoreAbsolute;
  if (dueA != dueB) return 4 | (dueA == kDueWhite ? kPairAWhite : kPairABlack);
  if (absA && absB) return 0;
  int32_t quality = 2;
  if (t.currentRound & 1) quality = dueA == kDueWhite ? 0 : 1;
  int32_t colour;
  if (absA)
    colour = dueA == kDueWhite ? kPairAWhite : kPairABlack;
  else if (absB)
    colour = dueB == kDueWhite ? kPairABlack : kPairAWhite;
  else
    colour = random.Bit() ? kPairAWhite : kPairABlack;
  return quality | colour;
}

}  // namespace

int32_t CanPairEntrants(Tournament& t, int a, int b, TournamentRandom& random, const PairingRules& rules) {
  if (a == b) return 0;
  TournamentEntrant* ea = FindEntrant(&t, a, nullptr);
  TournamentEntrant* eb = FindEntrant(&t, b, nullptr);
  if (!ea || !eb) return 0;
  return CanPairRecords(t, *ea, *eb, random, rules);
}

void SetPairing(Tournament* t, int white, int black, int slot, const char* vs) {
  if (slot < 0 || slot >= kTournamentPairings) return;
  t->pairings[slot].white = uint8_t(white);
  t->pairings[slot].black = uint8_t(black);
  const TournamentEntrant* w = FindEntrant(t, white, nullptr);
  const TournamentEntrant* b = FindEntrant(t, black, nullptr);
  std::snprintf(t->texts[slot], kTournamentTextSize, "%.*s\t %s %.*s", kEntrantNameSize, w ? w->name : "",
                vs ? vs : "", kEntrantNameSize, b ? b->name : "");
}

void ResetRoundPairings(Tournament* t) {
  const int r = t->currentRound;
  for (TournamentEntrant& e : t->entrants)
    if (e.byeRound != r + 1) e.paired = 0;
  for (int slot = Half(*t) * r; slot < kTournamentPairings; ++slot) {
    if (slot < 0) continue;
    t->pairings[slot].white = 0;
    t->pairings[slot].black = 0;
  }
}

void SwapEntrants(TournamentEntrant* a, TournamentEntrant* b) {
  if (a == b) return;
  TournamentEntrant keep;
  std::memcpy(&keep, a, sizeof keep);
  std::memcpy(a, b, sizeof keep);
  std::memcpy(b, &keep, sizeof keep);
}

void SortEntrants(Tournament* t, int tieBreak) {
  const int n = t->entrantCount;
  int32_t opponents[kTournamentEntrants] = {};
  if (tieBreak)
    for (int i = 0; i < n; ++i) opponents[i] = AverageOpponentRating(*t, t->entrants[i]);
  auto before = [&](int x, int y) {
    const TournamentEntrant& a = t->entrants[x];
    const TournamentEntrant& b = t->entrants[y];
    if (a.score != b.score) return a.score > b.score;
    if (tieBreak && opponents[x] != opponents[y]) return opponents[x] > opponents[y];
    return a.rating > b.rating;
  };
  // Selection sort: at most N - 1 swaps of the large records, no allocation.
  for (int p = 0; p < n; ++p) {
    int best = p;
    for (int i = p + 1; i < n; ++i)
      if (before(i, best)) best = i;
    if (best != p) {
      SwapEntrants(&t->entrants[p], &t->entrants[best]);
      const int32_t o = opponents[p];
      opponents[p] = opponents[best];
      opponents[best] = o;
    }
  }
}

void ComputeStandings(Tournament* t, int tieBreak, StandingsOrder* order) {
  for (TournamentEntrant& e : t->entrants) e.score = e.wins * 10 + e.draws * 5 + (e.byeRound ? 10 : 0);
  if (t->kind == TOURNAMENT_ROUND_ROBIN) {
    if (!order) return;
    std::memcpy(order->positions, "01234567", 9);
    const int n = t->entrantCount < 8 ? t->entrantCount : 8;
    // Insertion sort keeps equal scores in position order.
    for (int i = 1; i < n; ++i) {
      const char c = order->positions[i];
      int j = i;
      while (j > 0 && t->entrants[order->positions[j - 1] - '0'].score < t->entrants[c - '0'].score) {
        order->positions[j] = order->positions[j - 1];
        --j;
      }
      order->positions[j] = c;
    }
    return;
  }
  SortEntrants(t, tieBreak);
}

int32_t AverageOpponentRating(Tournament& t, const TournamentEntrant& entrant) {
  if (entrant.gamesPlayed <= 0) return 0;
  const int played = t.gamesPlayed < kTournamentPairings ? t.gamesPlayed : kTournamentPairings;
  int64_t sum = 0;
  for (int slot = 0; slot < played; ++slot) {
    const TournamentPairing& p = t.pairings[slot];
    int other = 0;
    if (p.white == entrant.number)
      other = p.black;
    else if (p.black == entrant.number)
      other = p.white;
    else
      continue;
    if (const TournamentEntrant* e = FindEntrant(&t, other, nullptr)) sum += e->rating;
  }
  return int32_t(sum / entrant.gamesPlayed);
}

int PairEntrantInScoreGroup(Tournament& t, int i, TournamentRandom& random, const char* vs,
                            const PairingRules& rules) {
  const int n = t.entrantCount;
  if (i < 0 || i >= n) return 0;
  TournamentEntrant& a = t.entrants[i];
  if (a.paired) return 1;
  int f = i, l = i;
  while (f > 0 && t.entrants[f - 1].score == a.score) --f;
  while (l + 1 < n && t.entrants[l + 1].score == a.score) ++l;
  // The top half of a score group meets its bottom half, place for place.
  const int m = f + (l - f + 1) / 2;
  const int c = i < m ? m + (i - f) : f + (i - m);
  bool acceptOne = false;
  for (int s = 1; s < n; ++s) {
    const int32_t flags = CanPairRecords(t, a, t.entrants[c], random, rules);
    if (Accepted(flags, acceptOne) || ((flags & 0xFF) == 1 && t.currentRound < 2 && l - f + 1 == 2)) {
      PairTwo(t, a, t.entrants[c], flags, vs);
      return 1;
    }
    for (const int d : {c - s, c + s}) {
      if (d < 0 || d >= n) continue;
      const int32_t near = CanPairRecords(t, a, t.entrants[d], random, rules);
      if (Accepted(near, acceptOne)) {
        PairTwo(t, a, t.entrants[d], near, vs);
        return 1;
      }
    }
    acceptOne = true;
  }
  return 0;
}

void PairRoundAtRandom(Tournament& t, TournamentRandom& random, const char* vs,
                       PairingRelaxation* relaxation) {
  // Random pairing alone may never finish when the rules admit no complete
  // pairing. Each level gets a bounded number of starts; then the
  // no-rematch window narrows round by round and, last, absolute colours
  // give way. The last level admits every pair, so the round completes.
  constexpr int kStartsPerLevel = 64;
  PairingRelaxation local;
  PairingRelaxation& out = relaxation ? *relaxation : local;
  out.usedRandom = 1;
  const int window = DefaultWindow(t);
  PairingRules rules;
  for (int level = 0; level <= window + 1; ++level) {
    if (level > 0 && level <= window) rules.windowRounds = window - level;
    if (level == window + 1) {
      rules.windowRounds = 0;
      rules.ignoreAbsolute = true;
    }
    for (int start = 0; start < kStartsPerLevel; ++start) {
      ++out.attempts;
      if (RandomPass(t, random, vs, rules)) {
        out.windowRounds = rules.windowRounds;
        out.ignoredAbsolute = rules.ignoreAbsolute ? 1 : 0;
        return;
      }
      ResetRoundPairings(&t);
    }
  }
  // Every pair is allowed now; pair in order so the round surely ends.
  out.windowRounds = 0;
  out.ignoredAbsolute = 1;
  for (int i = 0; i < t.entrantCount; ++i) {
    for (int j = i + 1; j < t.entrantCount && !t.entrants[i].paired; ++j) {
      const int32_t flags = CanPairRecords(t, t.entrants[i], t.entrants[j], random, rules);
      if (flags) PairTwo(t, t.entrants[i], t.entrants[j], flags, vs);
    }
  }
}

void PairNextSwissRound(Tournament& t, TournamentRandom& random, const char* vs,
                        PairingRelaxation* relaxation) {
  const int n = t.entrantCount;
  const int r = t.currentRound;
  if (relaxation) *relaxation = PairingRelaxation();
  ComputeStandings(&t, 0, nullptr);
  for (TournamentEntrant& e : t.entrants) e.opponent = 0, e.paired = 0;

  if (r == 0) {
    for (TournamentEntrant& e : t.entrants) e.byeRound = 0;
    int upperWhite = random.Bit();
    for (int k = 0; k < n / 2; ++k) {
      TournamentEntrant& upper = t.entrants[k];
      TournamentEntrant& lower = t.entrants[k + n / 2];
      upper.paired = lower.paired = 1;
      upper.opponent = lower.number;
      lower.opponent = upper.number;
      upper.colour = upperWhite ? kColourWhite : kColourBlack;
      lower.colour = upperWhite ? kColourBlack : kColourWhite;
      SetPairing(&t, upperWhite ? upper.number : lower.number, upperWhite ? lower.number : upper.number, k,
                 vs);
      upperWhite ^= 1;
    }
    if (n & 1) {
      TournamentEntrant& bye = t.entrants[n - 1];
      bye.score += 10;
      bye.byeRound = 1;
      bye.paired = 1;
    }
    return;
  }

  for (int i = 0; i < n; ++i) t.entrants[i].colourDue = ColourDue(t, t.entrants[i].number);
  if (n & 1) {
    for (int i = n - 1; i >= 1; --i) {
      TournamentEntrant& e = t.entrants[i];
      if (e.byeRound != 0) continue;
      e.byeRound = r + 1;
      e.score += 10;
      e.paired = 1;
      break;
    }
  }

  // The score-group pass, with swaps of equal-scored neighbours when it
  // sticks. Its own rules can keep it going backward forever without a
  // swap; the step bound ends that.
  uint64_t met[kTournamentEntrants + 1];
  PairingRules rules;
  BuildMetTable(t, rules, met);
  rules.met = met;
  bool forward = true;
  int i = 0, swaps = 0;
  const long stepLimit = 64L * n * n;
  bool complete = AllPaired(t);
  for (long step = 0; !complete && step < stepLimit; ++step) {
    const bool ok = PairEntrantInScoreGroup(t, i, random, vs, rules) != 0;
    if (ok) i += forward ? 1 : -1;
    if (AllPaired(t)) {
      complete = true;
      break;
    }
    if (ok && i >= 0 && i < n) continue;
    bool swapped = false;
    int j = i < 0 ? 0 : (i >= n ? n - 1 : i);
    if (n >= 3) {
      for (int draw = 0; draw < 100 * n && !swapped; ++draw) {
        j = 1 + random.Below(n - 2);
        const bool bit = random.Bit() != 0;
        const bool downEqual = t.entrants[j].score == t.entrants[j - 1].score;
        const bool upEqual = t.entrants[j].score == t.entrants[j + 1].score;
        int other = -1;
        if (bit)
          other = downEqual ? j - 1 : (upEqual ? j + 1 : -1);
        else
          other = upEqual ? j + 1 : (downEqual ? j - 1 : -1);
        if (other < 0) continue;
        SwapEntrants(&t.entrants[j], &t.entrants[other]);
        swapped = true;
      }
    }
    if (swapped) {
      ResetRoundPairings(&t);
      i = forward ? 0 : n - 1;
      ++swaps;
      if (swaps <= 2 * n) continue;
    }
    if (forward) {
      forward = false;
      ResetRoundPairings(&t);
      i = n - 1;
      continue;
    }
    if (swaps > 4 * n) break;
    if (!swapped) i = j;
  }
  if (complete) return;
  ResetRoundPairings(&t);
  PairRoundAtRandom(t, random, vs, relaxation);
}

int BuildRoundRobinPairings(Tournament* t, const char* vs) {
  int slot = 0;
  return ForEachRoundRobinGame(t->entrantCount, t->rounds, [&](int white, int black) {
    if (slot >= kTournamentPairings) return false;
    SetPairing(t, white, black, slot++, vs);
    return true;
  });
}

void ScoreTournamentGame(TournamentEntrant* white, TournamentEntrant* black, int32_t result) {
  TournamentEntrant* winner = nullptr;
  TournamentEntrant* loser = nullptr;
  if (result == 2 || result == 11 || result == 13) winner = white, loser = black;
  if (result == 1 || result == 10 || result == 12) winner = black, loser = white;
  if (winner) {
    winner->score += 10;
    ++winner->wins;
    ++loser->losses;
  } else if (result >= 3 && (result <= 9 || result == 14)) {
    white->score += 5, black->score += 5;
    ++white->draws, ++black->draws;
  }
  ++white->gamesPlayed;
  ++black->gamesPlayed;
}
