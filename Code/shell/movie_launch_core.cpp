// Movie launch core. See movie_launch_core.h.
#include "movie_launch_core.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

int MovieQualityFromScore(int32_t score, int bitsPerPixel) {
  if (bitsPerPixel < 16) return 0;
  uint32_t s = static_cast<uint32_t>(score);
  if (s < 1130) return 0;
  if (s < 1700) return 1;
  if (s < 2600) return 2;
  return 3;
}

int IntroMovieLevel(int level, int desktopWidth, int desktopHeight) {
  if (level == 3 && (desktopWidth < 1280 || desktopHeight < 960)) return 2;
  return level;
}

namespace {

// Appends `piece` whole or not at all.
bool Append(char* buffer, size_t size, const std::string& piece) {
  if (buffer == nullptr || size == 0) return false;
  size_t used = strnlen(buffer, size);
  if (used >= size || piece.size() >= size - used) return false;
  std::memcpy(buffer + used, piece.c_str(), piece.size() + 1);
  return true;
}

std::string Switch(char letter) { return std::string{'/', letter}; }

bool Holds(const char* path, const char* lowerExtension) {
  std::string lower(path);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(lowerExtension) != std::string::npos;
}

bool Refuse(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  return false;
}

// Empties the buffer; false when there is none or the player would refuse
// the path anyway.
bool StartLine(const char* path, char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) return false;
  buffer[0] = '\0';
  return path != nullptr && std::strlen(path) <= kMovieLinePathMax;
}

}  // namespace

bool AppendMovieSwitch(char* buffer, size_t size, char letter) { return Append(buffer, size, Switch(letter) + " "); }

bool AppendMovieSwitch(char* buffer, size_t size, char letter, int32_t number) {
  return Append(buffer, size, Switch(letter) + ":" + std::to_string(number) + " ");
}

bool AppendMovieSwitch(char* buffer, size_t size, char letter, const char* text) {
  return Append(buffer, size, Switch(letter) + ":" + (text ? text : "") + " ");
}

bool AppendMovieFileSwitch(char* buffer, size_t size, const char* path) {
  return Append(buffer, size, Switch('f') + ":\"" + (path ? path : "") + "\" ");
}

bool BuildIntroMovieLine(const char* path, int level, char* buffer, size_t size) {
  if (!StartLine(path, buffer, size)) return false;
  bool ok = AppendMovieSwitch(buffer, size, 'b') && AppendMovieSwitch(buffer, size, 'b') &&
            AppendMovieSwitch(buffer, size, 'u') && AppendMovieSwitch(buffer, size, 'c') &&
            AppendMovieSwitch(buffer, size, 's', int32_t(level)) && AppendMovieFileSwitch(buffer, size, path);
  if (ok && Holds(path, ".mov")) ok = AppendMovieSwitch(buffer, size, 'q');
  if (ok && Holds(path, ".bik")) ok = AppendMovieSwitch(buffer, size, 'k');
  return ok || Refuse(buffer, size);
}

bool BuildRoomMovieLine(const char* path, int level, char* buffer, size_t size) {
  if (!StartLine(path, buffer, size)) return false;
  bool ok = Append(buffer, size, "  ") && AppendMovieSwitch(buffer, size, 'u') &&
            AppendMovieSwitch(buffer, size, 'u') && AppendMovieSwitch(buffer, size, 'c') &&
            AppendMovieSwitch(buffer, size, 'a') && AppendMovieSwitch(buffer, size, 's', int32_t(level)) &&
            AppendMovieFileSwitch(buffer, size, path);
  if (ok && Holds(path, ".mov")) ok = AppendMovieSwitch(buffer, size, 'q');
  return ok || Refuse(buffer, size);
}
