// The program's own game file (".RWG"): header block, game comments, both
// players, result, start position, the whole move tree with its comments and
// the ply the game stood at. Version 8 is written; versions 4 to 8 are read.
// All integers little-endian; the file image is the same in every build.
//
// Interface: WriteGameFile, WriteGameFileTo, BuildGameFileImage,
// LoadGameFile, ReadGameFileImage, ReadGameFileV8, ReadGameFileV7,
// ReadOldGameFile, IsPieceByte, kPlayerImageSize.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

struct GameRecord;

constexpr size_t kHeaderImageSize = 788;
constexpr size_t kPlayerImageSize = 4500;
constexpr uint32_t kGameFileEndMarker = 4;

bool IsPieceByte(uint8_t byte);

// The version-8 image of a game; false when memory is short.
bool BuildGameFileImage(const GameRecord* game, std::string* image);
// 0, 303 (cannot create) or 305 (a write failed). The file is written to a
// temporary file that then replaces `path`, so a failed save leaves any
// earlier file as it was.
int WriteGameFile(const char* path, const GameRecord* game);
// Writes at the current position of an open file, which stays open (a
// tournament file embeds games this way). 0 or 305.
int WriteGameFileTo(std::FILE* file, const GameRecord* game);

// The image readers fill a game the caller created; each returns the saved
// ply or -1 when the image is unusable (bad field, illegal move, text beyond
// the end, ...). The game keeps what was read before a failure.
int ReadGameFileV8(GameRecord* game, const uint8_t* image, size_t size);
int ReadGameFileV7(GameRecord* game, const uint8_t* image, size_t size);
// Versions 4 to 6; `fileName` (may be null) gives the title.
int ReadOldGameFile(GameRecord* game, const uint8_t* image, size_t size, const char* fileName);

// Checks version and size, reads the image, and stands the game at the
// saved ply. 0, or 307 / 308 / 313 (the codes of file_errors.h).
int ReadGameFileImage(GameRecord* game, const uint8_t* image, size_t size, const char* fileName);
// 1 when the game was filled, else 0 with the error shown through the game
// host ("%s %s." with the path; a damaged image as "%s \"%s\"."). A file
// that cannot be opened gives 0 without a message.
int LoadGameFile(const char* path, GameRecord* game);
