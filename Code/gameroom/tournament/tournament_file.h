// The tournament file (".RWT"): a 128-byte name field, the bytes 26 and 8
// (format version), the tournament record's image, and optionally the
// adjourned game as a game file image up to the end of the file.
//
// Interface: kTournamentFileHeaderSize, kTournamentFileMinSize,
// TournamentFileName, BuildTournamentFile, ParseTournamentFile,
// SaveTournamentFileAt, LoadTournamentFileAt, TournamentFileMessage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tournament.h"

constexpr size_t kTournamentNameField = 128;
constexpr size_t kTournamentFileHeaderSize = 130;
constexpr size_t kTournamentFileMinSize = 124766;
constexpr uint8_t kTournamentFileVersion = 8;

// The name read from a file, made safe as an event name and the base of a
// file name: cut at the field's end, only its file-name part, path
// characters replaced by '_'.
std::string TournamentFileName(const char* field, size_t size);

// The file's bytes: `name` (its first 128 bytes) in the name field, the
// record, then `savedGame` when not empty.
std::string BuildTournamentFile(const char* name, const Tournament& t, const std::string& savedGame);

// Reads a file's bytes into *t, the name field into *name and the appended
// game image into *savedGame. 0, 308 (short or damaged) or 307 (version).
int ParseTournamentFile(const uint8_t* data, size_t size, Tournament* t, std::string* name,
                        std::string* savedGame);

// Writes the file through a temporary file that replaces `path`, so a
// failure leaves the previous file. 0 or a file error (303, 305).
int SaveTournamentFileAt(const char* path, const char* name, const Tournament& t,
                         const std::string& savedGame);
// Reads and parses a file: 0, 302, 307, 308 or 313.
int LoadTournamentFileAt(const char* path, Tournament* t, std::string* name, std::string* savedGame);

// The message shown for a file error: "<text> <name>." for a damaged file,
// "<text> <name>" for the others.
std::string TournamentFileMessage(int error, const char* name);
