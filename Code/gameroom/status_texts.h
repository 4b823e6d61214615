// The texts of the Game Status window's labels: clocks, time controls,
// ratings, and labels cut to their 63 characters.
//
// Interface: kStatusLabelChars, CutStatusLabel, FormatClockSeconds,
// kWidestClockText, ClockShowsRemaining, TimeControlWords,
// TimeControlLabelText, FormatPlayerRating, NicknamePortrait.
#pragma once

#include <cstdint>
#include <string>

constexpr int kStatusLabelChars = 63;
// A label's text: at most 63 characters (player names may hold 256).
std::string CutStatusLabel(const char* text);

// "%02d:%02d" below an hour, "%02d:%02d:%02d" from an hour, "-" in front of
// negative values.
std::string FormatClockSeconds(int32_t seconds);
extern const char kWidestClockText[];  // "-99:59:59": the clock labels' size

// Types 1, 4, 5 and 6 count down (remaining time); the others count up.
bool ClockShowsRemaining(uint32_t timeControl);

// The string-table words the texts use (English by default).
struct TimeControlWords {
  const char* movesPerMinutes = " moves/min";
  const char* secondsPerMove = " sec/move";
  const char* minutesPerGame = " min/game";
  const char* fischer = "Fischer";
  const char* hourglass = "hourglass";
  const char* infinite = "infinite";
  const char* equal = "equal";
  const char* fixedDepth = "fixed depth";
};
// `second` is the moves per period (types 0 and 1) or the increment in ms
// (type 5); " (R)" follows a non-empty text of a rated game.
std::string TimeControlLabelText(uint32_t type, uint32_t baseMs, uint32_t second, bool rated,
                                 const TimeControlWords& words = TimeControlWords());

// "(%d)" for a rating of 1 or more, else empty; a grandmaster personality
// shows none.
std::string FormatPlayerRating(int32_t rating, bool grandmaster);

// The portrait a double-click gives a person playing under one of the
// twelve nicknames (case ignored); null for any other name.
const char* NicknamePortrait(const char* playerName);
