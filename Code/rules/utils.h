// Small text, GUID and random utilities shared across the main program.
//
// Interface: CreateGuid, GuidIsNil, GuidEqual, ToUpperAscii, PrependString,
// FindTextNoCase, CapitalizeFirstLetter, AppendChar, CopyTextRange,
// SeedRandom, RandomBelow, RandomSource, SetPollWorkCallback,
// PollWorkCallback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

// A game's identity: 16 bytes as the system's GUID generator gives them.
struct Guid {
  uint8_t bytes[16];
};

bool CreateGuid(Guid* guid);
bool GuidIsNil(const Guid* guid);
// False when either is nil: two unidentified games are never the same game.
bool GuidEqual(const Guid* a, const Guid* b);

char ToUpperAscii(char c);
// Inserts `text` in front of the buffer's text; false (buffer unchanged) when
// the result with its NUL would not fit in `capacity` bytes.
bool PrependString(char* buffer, size_t capacity, const char* text);
// First place where `pattern` matches without regard to ASCII case, or null;
// an empty pattern matches at the start of a non-empty text.
const char* FindTextNoCase(const char* text, const char* pattern);
// Upper-cases the first character outside braces (markup codes, nested too).
char* CapitalizeFirstLetter(char* text);
// Appends one character; false when it would not fit in `capacity` bytes.
bool AppendChar(char* text, size_t capacity, char c);
// Copies first..last inclusive, at most `limit` characters, then a NUL:
// the buffer needs limit + 1 bytes.
void CopyTextRange(char* buffer, const char* first, const char* last, size_t limit);

void SeedRandom();
// 0 .. n-1; 0 when n is 0 or less. Seeds on first use.
int RandomBelow(int n);

// A random source of one caller (a puzzle builder, say), apart from the
// program-wide one so that callers on different threads need no lock. It is
// the same generator and draw as RandomBelow, so a seed gives the same
// sequence in every build.
class RandomSource {
 public:
  RandomSource();  // seeded from the clock
  explicit RandomSource(uint32_t seed) { Seed(seed); }
  void Seed(uint32_t seed) { engine_.seed(seed); }
  // 0 .. n-1; 0 when n is 0 or less.
  int Below(int n) {
    if (n <= 0) return 0;
    return static_cast<int>(engine_() % static_cast<unsigned>(n));
  }

 private:
  std::minstd_rand engine_;
};

// The program-wide work callback that long computations poll.
using PollWork = int (*)();
void SetPollWorkCallback(PollWork callback);
int PollWorkCallback();
