#include "personality_setup_core.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

std::string TrimPersonalityName(const std::string& name) {
  size_t begin = 0, end = name.size();
  while (begin < end && (static_cast<unsigned char>(name[begin]) < 33 || name[begin] == 127)) ++begin;
  while (end > begin && (static_cast<unsigned char>(name[end - 1]) < 33 || static_cast<unsigned char>(name[end - 1]) > 126))
    --end;
  return name.substr(begin, end - begin);
}

bool IsValidPersonalityFileName(const std::string& name) {
  if (name.empty() || name.find("..") != std::string::npos) return false;
  for (char c : name)
    if (std::strchr("\\/:*?\"<>|", c) || static_cast<unsigned char>(c) < 32) return false;
  return true;
}

std::string NumberedPersonalityName(const std::string& name,
                                    const std::function<bool(const std::string& fileName)>& exists) {
  for (int n = 0; n <= 9998; ++n) {
    const std::string candidate = name + "#" + std::to_string(n);
    if (!exists(candidate + kPersonalityExtension)) return candidate;
  }
  return std::string();
}

std::string SetupLoadName(const std::string& name) {
  if (name.size() > 260) return std::string();
  if (!name.empty() && (name[0] == 'Z' || name[0] == '9' || name[0] == '\n' || name[0] == 0x0F))
    return name.substr(1);
  return name;
}

bool LoadSetupRecord(const std::vector<uint8_t>& bytes, PersonalityRecord* out) {
  // A short file would leave part of the record from the one before it.
  PersonalityRecord read{};
  if (bytes.size() == kPersonalityFileSize && ReadPersonalityBytes(bytes.data(), bytes.size(), &read) &&
      (read.formatMark & 0xFF) == kPersonalityFormatMark && read.version == kPersonalityVersion) {
    *out = read;
    return true;
  }
  SetNewPersonalityDefaults(out);
  return false;
}

void BuildSavedPersonality(const PersonalityRecord& working, uint8_t out[kPersonalityFileSize]) {
  PersonalityRecord r{};
  std::memcpy(r.signature, kPersonalitySignature, sizeof r.signature);
  r.formatMark = working.formatMark;
  r.version = working.version;
  r.kind = working.kind;
  r.pondering = working.pondering;
  r.hashIndex = working.hashIndex;
  std::memcpy(r.parameters, working.parameters, sizeof r.parameters);
  std::memcpy(r.book, working.book, sizeof r.book);
  r.book[sizeof r.book - 1] = '\0';
  auto copy = [](char* to, size_t size, const char* from) {
    std::strncpy(to, from, size - 1);
    to[size - 1] = '\0';
  };
  if (working.kind == kCustomPersonality) {
    copy(r.picture, sizeof r.picture, "User.BMP");
  } else if (working.kind == kXboardEnginePersonality) {
    copy(r.picture, sizeof r.picture, "Winboard.BMP");
    copy(r.enginePath, sizeof r.enginePath, working.enginePath);
    copy(r.engineParameters, sizeof r.engineParameters, working.engineParameters);
  } else {
    copy(r.picture, sizeof r.picture, working.picture);
    copy(r.biography, sizeof r.biography, working.biography);
    copy(r.style, sizeof r.style, working.style);
  }
  WritePersonalityBytes(r, out);
}

int ContemptSliderPosition(int32_t stored, int32_t min, int32_t max) {
  int32_t p = stored / 10;
  return p < min ? min : p > max ? max : p;
}

std::string TenthsText(int32_t tenths) {
  const int64_t a = tenths < 0 ? -int64_t(tenths) : tenths;
  return std::string(tenths < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
}

int32_t ParseSliderEdit(const std::string& text, int32_t min, int32_t max, bool* corrected) {
  const std::string head = text.substr(0, 3);
  const bool letter = !head.empty() && std::isalpha(static_cast<unsigned char>(head[0]));
  const long value = letter ? max : std::strtol(head.c_str(), nullptr, 10);
  const int32_t clamped = value < min ? min : value > max ? max : static_cast<int32_t>(value);
  if (corrected) *corrected = letter || clamped != value;
  return clamped;
}

bool ParseTenthsEdit(const std::string& text, int32_t* tenths) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin) return false;
  const double scaled = v * 10;
  if (scaled > 2e9 || scaled < -2e9) return false;
  *tenths = static_cast<int32_t>(scaled + (scaled < 0 ? -1e-9 : 1e-9));  // "2.5" is 25 however 2.5 rounds
  return true;
}

int TranspositionMaximum(uint64_t physicalBytes) {
  const uint64_t reserve = 32ull << 20;
  if (physicalBytes <= reserve) return 0;
  const uint64_t spare = physicalBytes - reserve;
  for (int n = 10; n >= 1; --n)
    if (spare >= (1ull << (n + 18))) return n;
  return 0;
}

std::string TranspositionLabel(int n, const std::string& none) {
  if (n <= 0) return none;
  if (n == 1) return "512 KB";
  return std::to_string(1 << (n - 2)) + " MB";
}

void BuildXboardPersonality(bool useBook, const std::string& bookName, const std::string& enginePath,
                            const std::string& parameters, uint8_t out[kPersonalityFileSize]) {
  PersonalityRecord r{};
  std::memcpy(r.signature, kPersonalitySignature, sizeof r.signature);
  r.formatMark = kPersonalityFormatMark;
  r.version = kPersonalityVersion;
  r.kind = kXboardEnginePersonality;
  auto copy = [](char* to, size_t size, const std::string& from) {
    std::strncpy(to, from.c_str(), size - 1);
    to[size - 1] = '\0';
  };
  if (useBook) {
    r.parameters[kParamBookUse] = 99;
    copy(r.book, sizeof r.book, bookName.empty() ? std::string(kDefaultPersonalityBook) : bookName);
  }
  copy(r.picture, sizeof r.picture, "Winboard.BMP");
  copy(r.enginePath, sizeof r.enginePath, enginePath);
  copy(r.engineParameters, sizeof r.engineParameters, parameters);
  WritePersonalityBytes(r, out);
}

int CheckXboardImport(const std::string& name, const std::string& enginePath) {
  if (name.empty()) return 10134;
  if (!IsValidPersonalityFileName(name)) return 279;
  if (enginePath.empty()) return 10135;
  return 0;
}
