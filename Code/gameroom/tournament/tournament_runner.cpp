// The runner's decisions: see tournament_runner.h.
#include "tournament_runner.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "file_errors.h"
#include "tournament_file.h"

namespace {

std::string Format(const char* format, int a, int b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

int Half(const Tournament& t) { return t.entrantCount / 2 > 0 ? t.entrantCount / 2 : 1; }

int PerCycle(const Tournament& t) {
  const int games = t.entrantCount * (t.entrantCount - 1) / 2;
  return games > 0 ? games : 1;
}

int Total(const Tournament& t) {
  return t.totalGames < kTournamentPairings ? t.totalGames : kTournamentPairings;
}

}  // namespace

void TournamentRunner::SetFile(const std::string& folder, const std::string& name) {
  folder_ = folder;
  name_ = name;
}

TournamentEntrant* TournamentRunner::Entrant(int number) { return FindEntrant(&t_, number, nullptr); }

int TournamentRunner::RoundOf(int slot) const {
  return t_.kind == TOURNAMENT_SWISS ? slot / Half(t_) : slot / PerCycle(t_);
}

std::string TournamentRunner::RoundText(int slot) const {
  const int per = t_.kind == TOURNAMENT_SWISS ? Half(t_) : PerCycle(t_);
  return Format("%d, Game %d", slot / per + 1, slot % per + 1);
}

std::string TournamentRunner::PgnPath(const std::string& userFolder) const {
  std::string file = name_;
  const size_t at = file.find(".RWT");
  if (at != std::string::npos)
    file.replace(at, 4, ".PGN");
  else
    file += ".PGN";
  return userFolder + "\\" + file;
}

std::vector<std::string> TournamentRunner::ScheduleRows() const {
  std::vector<std::string> rows;
  const int end = t_.kind == TOURNAMENT_SWISS ? Half(t_) * (t_.currentRound + 1) : Total(t_);
  for (int slot = 0; slot < end && slot < Total(t_); ++slot)
    if (t_.pairings[slot].result == kResultNotPlayed) rows.emplace_back(t_.texts[slot]);
  return rows;
}

void TournamentRunner::SelectNextPairing(int k) {
  for (int slot = 0; slot < Total(t_); ++slot) {
    if (t_.pairings[slot].result != kResultNotPlayed) continue;
    if (k-- == 0) {
      currentSlot_ = slot;
      return;
    }
  }
}

bool TournamentRunner::FindNextAutoGame() {
  const int total = Total(t_);
  int remembered = total - 1;
  bool rememberedSet = false;
  for (int slot = 0; slot < total; ++slot) {
    const TournamentPairing& p = t_.pairings[slot];
    if (p.result == -1) {
      currentSlot_ = slot;
      return slot != 0;
    }
    if (p.white == 0 || p.black == 0) {
      currentSlot_ = total - 1;
      return false;
    }
    if (p.result != kResultNotPlayed && p.result != 0) continue;
    const TournamentEntrant* w = Entrant(p.white);
    const TournamentEntrant* b = Entrant(p.black);
    if (w && b && w->computer && b->computer) {
      currentSlot_ = slot;
      return true;
    }
    if (!rememberedSet) remembered = slot, rememberedSet = true;
  }
  currentSlot_ = remembered;
  return false;
}

void TournamentRunner::ScheduleNextGames() {
  t_.autoPlay = 0;
  RunNextTournamentGame(false);
}

void TournamentRunner::RunNextTournamentGame(bool loadedGame) {
  if (t_.gamesPlayed >= t_.totalGames) {
    host_.UpdateMenu();
    host_.ShowResults();
    EndTournamentGame(kResultStopped);
    return;
  }
  // A round is paired once: coming back through the schedule after a
  // cancelled dialog must not pair (and skip) another round.
  const int half = Half(t_);
  if (t_.kind == TOURNAMENT_SWISS && t_.gamesPlayed > 0 && t_.gamesPlayed % half == 0 &&
      t_.gamesPlayed == half * (t_.currentRound + 1) && t_.currentRound + 1 < t_.rounds) {
    ++t_.currentRound;
    PairNextSwissRound(t_, random_, vs_.c_str());
  }
  if (t_.autoPlay && !FindNextAutoGame()) t_.autoPlay = 0;
  if (!t_.autoPlay && !t_.savedGamePresent) {
    bool chosen = false;
    if (t_.gamesPlayed != t_.totalGames) {
      const bool autoEnabled = FindNextAutoGame();
      const int choice = host_.ShowSchedule(ScheduleRows(), autoEnabled);
      if (choice == SCHEDULE_AUTO && autoEnabled) {
        t_.autoPlay = 1;
        chosen = true;
      } else if (choice >= 0) {
        t_.autoPlay = 0;
        SelectNextPairing(choice);
        chosen = true;
      } else {
        t_.autoPlay = 0;
      }
    }
    if (!chosen) {
      host_.ShowResults();
      EndTournamentGame(kResultStopped);
      return;
    }
  }
  TournamentGameSpec spec;
  const TournamentPairing& p = t_.pairings[currentSlot_];
  const TournamentEntrant* w = Entrant(p.white);
  const TournamentEntrant* b = Entrant(p.black);
  if (!w || !b) return;
  spec.white = w->name, spec.black = b->name;
  spec.whiteComputer = w->computer, spec.blackComputer = b->computer;
  spec.whiteRating = w->rating, spec.blackRating = b->rating;
  spec.event = name_;
  spec.round = RoundText(currentSlot_);
  spec.rated = t_.rated;
  spec.timeControl = t_.timeControl;
  const bool resuming = t_.savedGamePresent != 0 && loadedGame;
  if (t_.autoPlay || t_.savedGamePresent) {
    if (!host_.Announce(spec.white, spec.black, t_.savedGamePresent != 0)) {
      host_.ShowResults();
      EndTournamentGame(kResultStopped);
      t_.autoPlay = 0;
      return;
    }
  }
  if (!host_.StartGame(spec, resuming)) return;
  host_.UpdateMenu();
  t_.gameStarting = 1;
  if (t_.savedGamePresent) {
    t_.savedGamePresent = 0;
    if (host_.IsEngineToMove()) {
      t_.gameInProgress = 1;
      t_.adjourned = 0;
    }
  }
  MarkTournamentGameStarted();
}

void TournamentRunner::MarkTournamentGameStarted() {
  if (!t_.gameStarting) return;
  t_.gameStarting = 0;
  t_.gameInProgress = 1;
  t_.adjourned = 0;
  host_.UpdateMenu();
}

void TournamentRunner::EndTournamentGame(int code) {
  if (!t_.gameInProgress) return;
  t_.gameInProgress = 0;
  t_.adjourned = code == kResultAdjourned ? 1 : 0;
  host_.UpdateMenu();
}

void TournamentRunner::FinishGame(int32_t result, const std::string& userFolder) {
  if (!t_.gameInProgress) return;
  host_.AppendGameToPgn(PgnPath(userFolder));
  TournamentPairing& p = t_.pairings[currentSlot_];
  TournamentEntrant* w = Entrant(p.white);
  TournamentEntrant* b = Entrant(p.black);
  p.result = result;
  t_.gameInProgress = 0;
  ++t_.gamesPlayed;
  if (w && b) {
    ScoreTournamentGame(w, b, result);
    if (t_.rated) {
      if (!w->computer) host_.RecordRatedGame(1);
      if (!b->computer) host_.RecordRatedGame(0);
    }
  }
  SaveTournamentFile();
  host_.UpdateMenu();
  RunNextTournamentGame(false);
}

int TournamentRunner::SaveTournamentFile() {
  std::string savedGame;
  if (t_.gameInProgress) {
    t_.gameInProgress = 0;
    t_.pairings[currentSlot_].result = 0;
    savedGame = host_.AdjournGame();
  }
  const std::string path = folder_.empty() ? name_ : folder_ + "/" + name_;
  const int error = SaveTournamentFileAt(path.c_str(), name_.c_str(), t_, savedGame);
  if (error != FILE_OK) {
    host_.Message(std::string(FileErrorText(FILE_CANNOT_CREATE)) + " " + name_);
    return 0;
  }
  return 1;
}

void TournamentRunner::Adjourn() {
  const bool wasPlaying = t_.gameInProgress != 0;
  SaveTournamentFile();
  EndTournamentGame(kResultAdjourned);
  if (wasPlaying) t_.adjourned = 1;
  host_.UpdateMenu();
}

int TournamentRunner::LoadTournamentFile(const std::string& folder, const std::string& fileName,
                                         std::string* savedGame) {
  const std::string path = folder.empty() ? fileName : folder + "/" + fileName;
  std::string name;
  std::string saved;
  const int error = LoadTournamentFileAt(path.c_str(), &t_, &name, &saved);
  if (error != FILE_OK) {
    host_.Message(TournamentFileMessage(error, fileName.c_str()));
    return 0;
  }
  folder_ = folder;
  name_ = name.empty() ? fileName : name;
  t_.gameInProgress = 0;
  t_.gameStarting = 0;
  t_.savedGamePresent = saved.empty() ? 0 : 1;
  // The file keeps no slot index for the adjourned game: it is the slot
  // marked with result 0.
  currentSlot_ = 0;
  if (t_.savedGamePresent) {
    for (int slot = 0; slot < Total(t_); ++slot) {
      if (t_.pairings[slot].result == 0 && t_.pairings[slot].white != 0) {
        currentSlot_ = slot;
        break;
      }
    }
  }
  if (savedGame) *savedGame = saved;
  t_.started = 1;
  RunNextTournamentGame(t_.savedGamePresent != 0);
  return 1;
}

void TournamentRunner::ByeLines(int round, const char* suffix, std::vector<std::string>* lines) {
  if (!(t_.entrantCount & 1)) return;
  for (int i = 0; i < t_.entrantCount; ++i) {
    if (t_.entrants[i].byeRound != round + 1) continue;
    lines->push_back(std::string(t_.entrants[i].name) + " (Bye)");
    if (suffix) lines->push_back(suffix);
  }
}

std::vector<std::string> TournamentRunner::GamesPlayedLines() {
  std::vector<std::string> lines;
  int lastRound = -1;
  for (int slot = 0; slot < Total(t_); ++slot) {
    const TournamentPairing& p = t_.pairings[slot];
    if (p.result == kResultNotPlayed) continue;
    // Games of a round may be played in any order: the header goes before
    // the round's first played game.
    if (t_.kind == TOURNAMENT_SWISS && RoundOf(slot) != lastRound) {
      lastRound = RoundOf(slot);
      lines.push_back(Format("=== Round %d ===", lastRound + 1, 0));
      ByeLines(lastRound, nullptr, &lines);
    }
    const TournamentEntrant* w = Entrant(p.white);
    const TournamentEntrant* b = Entrant(p.black);
    lines.push_back(std::string(w ? w->name : "") + "\t" + vs_ + " " + (b ? b->name : "") + "\t" +
                    host_.ResultText(p.result));
  }
  return lines;
}

std::vector<std::vector<std::string>> TournamentRunner::ResultRows() {
  ComputeStandings(&t_, 1, &order_);
  std::vector<std::vector<std::string>> rows;
  for (int k = 0; k < t_.entrantCount; ++k) {
    const int i = t_.kind == TOURNAMENT_SWISS ? k : order_.positions[k] - '0';
    const TournamentEntrant& e = t_.entrants[i];
    std::vector<std::string> row = {e.name,
                                    std::to_string(e.wins),
                                    std::to_string(e.draws),
                                    std::to_string(e.losses),
                                    std::to_string(e.gamesPlayed),
                                    Format("%0d.%01d", e.score / 10, e.score % 10)};
    if (t_.kind == TOURNAMENT_SWISS) row.push_back(std::to_string(AverageOpponentRating(t_, e)));
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> TournamentRunner::ReportLines() {
  ComputeStandings(&t_, 1, &order_);
  const std::string line = "\n.n L\n";
  const std::string dashes(97, '-');
  std::vector<std::string> out = {"START", "Tournament Results", line,
                                  name_,   "\n.n L 2\n",         "\n.t 20 7 7 7 7 7\n"};
  for (const char* head : {"Player", "Wins", "Draws", "Losses", "Games", "Score", "OPS"})
    out.push_back(std::string(head) + "\t");
  out.push_back(line);
  out.push_back(dashes);
  out.push_back(line);
  for (int k = 0; k < t_.entrantCount; ++k) {
    const int i = t_.kind == TOURNAMENT_SWISS ? k : order_.positions[k] - '0';
    const TournamentEntrant& e = t_.entrants[i];
    char text[160];
    std::snprintf(text, sizeof text, "%s\t%d\t%d\t%d\t%d\t%d.%d\t%d", e.name, e.wins, e.draws, e.losses,
                  e.gamesPlayed, e.score / 10, e.score % 10, AverageOpponentRating(t_, e));
    out.push_back(text);
    out.push_back(line);
  }
  out.insert(out.end(), {"\n.n L 2\n", "Game Summary", line, dashes, line});
  for (int slot = 0; slot < Total(t_); ++slot) {
    const TournamentPairing& p = t_.pairings[slot];
    if (t_.kind == TOURNAMENT_SWISS && slot % Half(t_) == 0) {
      out.push_back(Format("=== Round %d ===", RoundOf(slot) + 1, 0));
      out.push_back(line);
      ByeLines(RoundOf(slot), line.c_str(), &out);
    }
    if (p.result == kResultNotPlayed) continue;
    const TournamentEntrant* w = Entrant(p.white);
    const TournamentEntrant* b = Entrant(p.black);
    out.push_back("\n.t 18 5 18\n");
    out.push_back(std::string(w ? w->name : "") + "\t" + vs_ + "\t" + (b ? b->name : "") + "\t- " +
                  host_.ResultText(p.result));
    out.push_back(line);
  }
  out.push_back("DONE");
  return out;
}
