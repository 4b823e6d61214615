// Readers of the program's resource sources and made files, written apart
// from the scripts that make them so the checks do not share their faults:
// the string sources (Code/shell/res/*.str), private-profile files, and
// icon, cursor and animated-cursor files.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct StringEntry {
  std::string name;
  int id = 0;
  std::string text;  // escapes resolved
  std::string where;  // file:line
};

// Every entry of every *.str file of `dir`, in file-name order. False, with
// the first fault in *error, on a line that is not `IDS_NAME ID "text"`.
bool ReadStringSources(const std::string& dir, std::vector<StringEntry>* out, std::string* error);

// A private-profile file: sections in file order, each with its keys in
// order (names as written; the system compares them without case).
struct IniFile {
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections;
  bool crlf = true;  // every line ends in CR LF
  // The value, or `missing` when the section or key is absent.
  std::string Get(const std::string& section, const std::string& key, const std::string& missing = "\x01") const;
  const std::vector<std::pair<std::string, std::string>>* Section(const std::string& name) const;
};
bool ReadIniFile(const std::string& path, IniFile* out);

// One picture of an icon or cursor file.
struct IconImage {
  int width = 0, height = 0, bits = 0;
  int hotX = 0, hotY = 0;  // cursors only
  std::vector<uint8_t> alpha;  // width*height, top row first: 255 where the AND mask shows the picture
                               // (scaled by the alpha channel at 32 bits)
};
struct IconFile {
  int type = 0;  // 1 icon, 2 cursor
  std::vector<IconImage> images;
};
// False when the bytes are not a well-formed .ico or .cur file.
bool ParseIconFile(const std::vector<uint8_t>& bytes, IconFile* out);

struct AniFile {
  uint32_t frames = 0, steps = 0, rate = 0, flags = 0;
  std::vector<std::vector<uint8_t>> frameBytes;  // each an icon-format file
};
// False when the bytes are not a well-formed RIFF "ACON" form.
bool ParseAniFile(const std::vector<uint8_t>& bytes, AniFile* out);

std::vector<uint8_t> ReadFileBytes(const std::string& path);
