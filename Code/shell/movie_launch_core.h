// Movie launch, the part that needs no operating system: the quality level
// from the benchmark score and the display, and the movie player's command
// lines.
//
// Interface: MovieQualityFromScore, IntroMovieLevel, AppendMovieSwitch,
// AppendMovieFileSwitch, BuildIntroMovieLine, BuildRoomMovieLine,
// kMovieLineSize.
//
// A command line is a series of switches, each followed by one blank: /b,
// /s:2, /f:"C:\path". The intro's line begins with its first switch twice and
// the room movie's with two blanks, because the player's C runtime drops the
// first token of the line it is given.
#pragma once

#include <cstddef>
#include <cstdint>

// The longest movie path the player takes (its own field holds no more).
constexpr size_t kMovieLinePathMax = 259;
// A command-line buffer that holds any line these builders write for a path
// of up to kMovieLinePathMax characters, with its terminating NUL.
constexpr size_t kMovieLineSize = 2 + 4 * 3 + (3 + 11 + 1) + (4 + kMovieLinePathMax + 2) + 2 * 3 + 1;

// 0 (no movie) to 3. Below 16 bits per pixel nothing plays; otherwise the
// score, read as an unsigned number, gives 0 below 1130, 1 below 1700, 2
// below 2600 and 3 from there on.
int MovieQualityFromScore(int32_t score, int bitsPerPixel);

// The intro's level 3 needs a desktop of at least 1280 x 960; smaller ones
// get level 2.
int IntroMovieLevel(int level, int desktopWidth, int desktopHeight);

// Appends one switch and its blank: "/x ", "/x:<number> " or "/x:<text> ".
// False, with the buffer unchanged, when it would not fit in `size` bytes.
bool AppendMovieSwitch(char* buffer, size_t size, char letter);
bool AppendMovieSwitch(char* buffer, size_t size, char letter, int32_t number);
bool AppendMovieSwitch(char* buffer, size_t size, char letter, const char* text);
// Appends /f:"<path>" and its blank, the path with its case kept.
bool AppendMovieFileSwitch(char* buffer, size_t size, const char* path);

// The whole line for the intro (/b /b /u /c /s:N /f:"path", then /q when the
// path holds ".mov" and /k when it holds ".bik", in any case) and for a room
// movie (two blanks, /u /u /c /a /s:N /f:"path", then /q for ".mov").
// False, with an empty buffer, when the path is longer than the player takes
// or the line would not fit: the movie is then skipped.
bool BuildIntroMovieLine(const char* path, int level, char* buffer, size_t size);
bool BuildRoomMovieLine(const char* path, int level, char* buffer, size_t size);
