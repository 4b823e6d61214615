// Small books for the tests: built from lines of SAN moves, written as
// images, loaded into a slot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookformat.h"
#include "moverecord.h"

struct FixtureText {
  int node;
  int kind;
  std::string text;
};

// A book image from words and text records (T as given, or the true total).
std::vector<uint8_t> MakeBookImage(const std::vector<BookMoveWord>& words,
                                   const std::vector<FixtureText>& texts, int textSizeField = -1);
// The word of a move given in coordinates ("e2e4").
BookMoveWord CoordWord(const char* move, int weight, bool leaf, bool last);
// Legal move records of a line of SAN moves from the initial position.
std::vector<MoveRecord> SanLine(const char* text);
std::string TempPath(const char* name);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::string& path);
