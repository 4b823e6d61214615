// Game Status label texts.
#include "status_texts.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char kWidestClockText[] = "-99:59:59";

std::string CutStatusLabel(const char* text) {
  if (!text) return std::string();
  return std::string(text, strnlen(text, kStatusLabelChars));
}

std::string FormatClockSeconds(int32_t seconds) {
  long long s = seconds < 0 ? -static_cast<long long>(seconds) : seconds;
  const char* sign = seconds < 0 ? "-" : "";
  char text[32];
  if (s < 3600)
    std::snprintf(text, sizeof text, "%s%02lld:%02lld", sign, s / 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%s%02lld:%02lld:%02lld", sign, s / 3600, s / 60 % 60, s % 60);
  return text;
}

bool ClockShowsRemaining(uint32_t t) { return t == 1 || t == 4 || t == 5 || t == 6; }

std::string TimeControlLabelText(uint32_t type, uint32_t baseMs, uint32_t second, bool rated,
                                 const TimeControlWords& w) {
  char text[128] = "";
  uint32_t minutes = baseMs / 60000, seconds = baseMs / 1000;
  switch (type) {
    case 0:
    case 1:
      if (second && minutes) std::snprintf(text, sizeof text, "%u/%u %s", second, minutes, w.movesPerMinutes);
      break;
    case 2:
      if (seconds) std::snprintf(text, sizeof text, "%u %s", seconds, w.secondsPerMove);
      break;
    case 3:
    case 4:
      if (minutes) std::snprintf(text, sizeof text, "%u %s", minutes, w.minutesPerGame);
      break;
    case 5:
      if (minutes) std::snprintf(text, sizeof text, "%u/%u %s", minutes, second / 1000, w.fischer);
      break;
    case 6:
      if (seconds) std::snprintf(text, sizeof text, "%s", w.hourglass);
      break;
    case 7:
      std::snprintf(text, sizeof text, "%s", w.infinite);
      break;
    case 8:
      std::snprintf(text, sizeof text, "%s", w.equal);
      break;
    case 9:
      std::snprintf(text, sizeof text, "%s", w.fixedDepth);
      break;
    default:
      break;
  }
  std::string out = text;
  if (!out.empty() && rated) out += " (R)";
  return out;
}

std::string FormatPlayerRating(int32_t rating, bool grandmaster) {
  if (grandmaster || rating < 1) return std::string();
  return "(" + std::to_string(rating) + ")";
}

const char* NicknamePortrait(const char* playerName) {
  static const struct {
    const char* name;
    const char* picture;
  } kNicknames[] = {
      {"Ace", "NickAce.BMP"},         {"Bishop", "NickBishop.BMP"},   {"Blitz", "NickBlitz.BMP"},
      {"Champ", "NickChamp.BMP"},     {"Duchess", "NickDuchess.BMP"}, {"Gambit", "NickGambit.BMP"},
      {"Maestro", "NickMaestro.BMP"}, {"Pawn", "NickPawn.BMP"},       {"Professor", "NickProfessor.BMP"},
      {"Rook", "NickRook.BMP"},       {"Shark", "NickShark.BMP"},     {"Wizard", "NickWizard.BMP"},
  };
  if (!playerName) return nullptr;
  for (const auto& n : kNicknames) {
    const char *a = playerName, *b = n.name;
    while (*a && *b &&
           std::tolower(static_cast<unsigned char>(*a)) == std::tolower(static_cast<unsigned char>(*b)))
      ++a, ++b;
    if (!*a && !*b) return n.picture;
  }
  return nullptr;
}
