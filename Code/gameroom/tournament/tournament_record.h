// The byte image of the tournament record (124,636 bytes, little-endian),
// written and read field by field at fixed offsets so that every build
// stores the same bytes. Reading checks that the record is one the program
// could have written.
//
// Interface: kTournamentImageSize, WriteTournamentImage, ReadTournamentImage.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tournament.h"

constexpr size_t kTournamentImageSize = 124636;
constexpr size_t kEntrantImageSize = 3188;
constexpr size_t kEntrantsOffset = 92;
constexpr size_t kPairingsOffset = 102108;
constexpr size_t kTextsOffset = 104156;

void WriteTournamentImage(const Tournament& t, uint8_t* image);
// Fills *t from an image of kTournamentImageSize bytes. Names and texts are
// cut at the end of their fields. False when a count, a kind, an entrant
// number, a pairing or a result is out of range or inconsistent; *t is then
// left partly filled.
bool ReadTournamentImage(const uint8_t* image, Tournament* t);
