// The player's command line: options read from the text WinMain receives.
//
// Interface: ParseMovieOptions (the whole line in, one options record out),
// MovieOpenFlags (the reel back end's open flags for a /s: level) and
// ChooseMovieBackEnd. No operating system here; the player's Win32 side
// reads the record.
//
// The line is lower-cased first. Tokens are separated by blanks; every
// token begins with a slash and a letter, and options that carry a value
// have a colon directly after the letter. The file path may be quoted, and a
// quoted path runs over the following tokens (joined with single blanks) up
// to its closing quote.
#pragma once

#include <cstdint>
#include <string>

// The longest movie path the player takes; a longer one is refused.
constexpr size_t kMovieMaxPath = 259;

enum class MovieBackEnd {
  VideoWindow,  // the system's video window (MCIWnd): neither /k nor /q
  Reel,         // /k: the reel library's frame loop
  Deck,         // /q: the movie deck's controller (wins over /k)
};

struct MovieOptions {
  std::string file;            // /f: the movie file (lower-cased, as the whole line)
  bool pathRefused = false;    // /f: longer than kMovieMaxPath: nothing may be played
  bool reel = false;           // /k
  bool deck = false;           // /q
  bool centre = false;         // /c
  bool black = false;          // /b
  bool autoSize = false;       // /a
  bool ignored = false;        // /r or /u seen (accepted, no effect)
  int32_t level = 0;           // /s: quality level
  int32_t position = 0;        // /p: start position for the video window
  uint32_t parent = 0;         // /w: parent window handle; 0 = the desktop
};

MovieOptions ParseMovieOptions(const char* line);

// 0x80000, plus 0x60000000 for level 1 and 0x40000000 for level 3.
uint32_t MovieOpenFlags(int32_t level);

MovieBackEnd ChooseMovieBackEnd(const MovieOptions& options);
