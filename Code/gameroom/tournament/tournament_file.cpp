// The tournament file: see tournament_file.h.
#include "tournament_file.h"

#include <cstring>
#include <memory>
#include <vector>

#include "file_errors.h"
#include "tournament_record.h"

std::string TournamentFileName(const char* field, size_t size) {
  const size_t length = strnlen(field, size);
  std::string name(field, length);
  const size_t cut = name.find_last_of("\\/:");
  if (cut != std::string::npos) name.erase(0, cut + 1);
  for (char& c : name)
    if (std::strchr("<>\"|?*", c) || static_cast<unsigned char>(c) < 32) c = '_';
  return name;
}

std::string BuildTournamentFile(const char* name, const Tournament& t, const std::string& savedGame) {
  std::string bytes(kTournamentFileMinSize, '\0');
  std::strncpy(&bytes[0], name ? name : "", kTournamentNameField);
  bytes[kTournamentNameField] = char(26);
  bytes[kTournamentNameField + 1] = char(kTournamentFileVersion);
  WriteTournamentImage(t, reinterpret_cast<uint8_t*>(&bytes[kTournamentFileHeaderSize]));
  bytes += savedGame;
  return bytes;
}

int ParseTournamentFile(const uint8_t* data, size_t size, Tournament* t, std::string* name,
                        std::string* savedGame) {
  if (size < kTournamentFileMinSize) return FILE_DAMAGED;
  if (data[kTournamentNameField + 1] != kTournamentFileVersion) return FILE_BAD_FORMAT;
  // Read aside first: a refused record must leave the one held untouched.
  auto read = std::make_unique<Tournament>();
  if (!ReadTournamentImage(data + kTournamentFileHeaderSize, read.get())) return FILE_DAMAGED;
  *t = *read;
  if (name) *name = TournamentFileName(reinterpret_cast<const char*>(data), kTournamentNameField);
  if (savedGame)
    savedGame->assign(reinterpret_cast<const char*>(data) + kTournamentFileMinSize,
                      size - kTournamentFileMinSize);
  return FILE_OK;
}

int SaveTournamentFileAt(const char* path, const char* name, const Tournament& t,
                         const std::string& savedGame) {
  const std::string bytes = BuildTournamentFile(name, t, savedGame);
  return ReplaceFileAtomically(path, bytes.data(), bytes.size());
}

int LoadTournamentFileAt(const char* path, Tournament* t, std::string* name, std::string* savedGame) {
  std::string bytes;
  // The size bound only keeps a stray huge file out of memory; a saved game
  // is far smaller.
  const int error = ReadWholeFile(path, 0, size_t(64) << 20, &bytes);
  if (error != FILE_OK) return error;
  return ParseTournamentFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), t, name,
                             savedGame);
}

std::string TournamentFileMessage(int error, const char* name) {
  std::string text = FileErrorText(error);
  text += ' ';
  text += name ? name : "";
  if (error == FILE_DAMAGED) text += '.';
  return text;
}
