// Personality record, its file image and the operations on it.
#include "personality.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "bookreader.h"

const char kDefaultPersonalityBook[] = "RWONYX.OBK";
const char kPersonalitySignature[] = "Rookwell Chess Personality File";
const char kPersonalityExtension[] = ".RWP";

const PersonalityParameterInfo kPersonalityParameters[kPersonalityParameterCount] = {
    {"Attacker/Defender", -100, 100, 0, 1, 10, "avd"}, {"Strength of Play", 0, 100, 100, 1, 10, "sop"},
    {"Randomness", 0, 100, 0, 1, 10, "rnd"},           {nullptr, 0, 100, 10, 1, 10, nullptr},
    {"Max Search Depth", 1, 99, 20, 1, 10, "md"},      {"Selective Search", 0, 12, 6, 1, 5, "sel"},
    {"Contempt for Draw", -500, 500, 0, -1, 5, "cfd"}, {"Material/Position", -100, 100, 0, 1, 10, nullptr},
    {"Control of Center", 0, 200, 100, 1, 10, "cc"},   {"Mobility", 0, 200, 100, 1, 10, "mob"},
    {"King Safety", 0, 200, 100, 1, 10, "ks"},         {"Passed Pawns", 0, 200, 100, 1, 10, "pp"},
    {"Pawns Weakness", 0, 200, 100, 1, 10, "pw"},      {"Own Queen", 0, 150, 90, 1, 10, "myq"},
    {"Opposing Queen", 0, 150, 90, 1, 10, "opq"},      {"Own Rook", 0, 150, 50, 1, 10, "myr"},
    {"Opposing Rook", 0, 150, 50, 1, 10, "opr"},       {"Own Bishop", 0, 150, 30, 1, 10, "myb"},
    {"Opposing Bishop", 0, 150, 30, 1, 10, "opb"},     {"Own Knight", 0, 150, 30, 1, 10, "myn"},
    {"Opposing Knight", 0, 150, 30, 1, 10, "opn"},     {"Own Pawn", 0, 150, 10, 1, 10, "myp"},
    {"Opposing Pawn", 0, 150, 10, 1, 10, "opp"},
};

namespace {

// Offsets of the file image.
enum : size_t {
  kOffSignature = 0,
  kOffFormatMark = 32,
  kOffVersion = 36,
  kOffKind = 40,
  kOffPondering = 44,
  kOffHashIndex = 48,
  kOffRating = 56,
  kOffReferenceSpeed = 60,
  kOffParameters = 64,
  kOffSex = 184,
  kOffAgeGroups = 188,
  kOffBook = 192,
  kOffPicture = 452,
  kOffCaption = 482,
  kOffBiography = 582,
  kOffStyle = 1582,
  kOffEnginePath = 2582,
  kOffEngineParameters = 2842,
};
static_assert(kOffEngineParameters + 262 == kPersonalityFileSize, "the record fills the file");

void PutU32(uint8_t* out, size_t offset, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t GetU32(const uint8_t* in, size_t offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[offset + i]) << (8 * i);
  return v;
}
// Copies at most size - 1 characters and zero-fills the rest of the field.
template <size_t N>
void PutText(uint8_t* out, size_t offset, const char (&text)[N]) {
  size_t n = strnlen(text, N - 1);
  std::memcpy(out + offset, text, n);
  std::memset(out + offset + n, 0, N - n);
}
template <size_t N>
void GetText(const uint8_t* in, size_t offset, char (&text)[N]) {
  size_t n = strnlen(reinterpret_cast<const char*>(in + offset), N - 1);
  std::memcpy(text, in + offset, n);
  std::memset(text + n, 0, N - n);
}
template <size_t N>
void SetText(char (&field)[N], const char* text) {
  std::snprintf(field, N, "%s", text ? text : "");
}

PersonalityEnvironment g_defaultEnvironment;
PersonalityEnvironment* g_environment = &g_defaultEnvironment;

}  // namespace

void WritePersonalityBytes(const PersonalityRecord& r, uint8_t out[kPersonalityFileSize]) {
  std::memset(out, 0, kPersonalityFileSize);
  PutText(out, kOffSignature, r.signature);
  PutU32(out, kOffFormatMark, r.formatMark);
  PutU32(out, kOffVersion, r.version);
  PutU32(out, kOffKind, r.kind);
  PutU32(out, kOffPondering, r.pondering);
  PutU32(out, kOffHashIndex, r.hashIndex);
  PutU32(out, kOffRating, static_cast<uint32_t>(r.rating));
  PutU32(out, kOffReferenceSpeed, r.referenceSpeed);
  for (int i = 0; i < kPersonalityParameterCount; ++i)
    PutU32(out, kOffParameters + 4 * i, static_cast<uint32_t>(r.parameters[i]));
  PutU32(out, kOffSex, r.sex);
  PutU32(out, kOffAgeGroups, r.ageGroups);
  PutText(out, kOffBook, r.book);
  PutText(out, kOffPicture, r.picture);
  PutText(out, kOffCaption, r.caption);
  PutText(out, kOffBiography, r.biography);
  PutText(out, kOffStyle, r.style);
  PutText(out, kOffEnginePath, r.enginePath);
  PutText(out, kOffEngineParameters, r.engineParameters);
}

bool ReadPersonalityBytes(const uint8_t* data, size_t size, PersonalityRecord* out) {
  if (!data || !out || size < kPersonalityFileSize) return false;
  if (GetU32(data, kOffVersion) != kPersonalityVersion) return false;
  PersonalityRecord& r = *out;
  GetText(data, kOffSignature, r.signature);
  r.formatMark = GetU32(data, kOffFormatMark);
  r.version = GetU32(data, kOffVersion);
  r.kind = GetU32(data, kOffKind);
  r.pondering = GetU32(data, kOffPondering);
  r.hashIndex = GetU32(data, kOffHashIndex);
  r.rating = static_cast<int32_t>(GetU32(data, kOffRating));
  r.referenceSpeed = GetU32(data, kOffReferenceSpeed);
  for (int i = 0; i < kPersonalityParameterCount; ++i)
    r.parameters[i] = static_cast<int32_t>(GetU32(data, kOffParameters + 4 * i));
  r.sex = GetU32(data, kOffSex);
  r.ageGroups = GetU32(data, kOffAgeGroups);
  GetText(data, kOffBook, r.book);
  GetText(data, kOffPicture, r.picture);
  GetText(data, kOffCaption, r.caption);
  GetText(data, kOffBiography, r.biography);
  GetText(data, kOffStyle, r.style);
  GetText(data, kOffEnginePath, r.enginePath);
  GetText(data, kOffEngineParameters, r.engineParameters);
  return true;
}

void SetNewPersonalityDefaults(PersonalityRecord* r) {
  if (!r) return;
  std::memset(r, 0, sizeof *r);
  SetText(r->signature, kPersonalitySignature);
  r->kind = kCustomPersonality;
  r->formatMark = kPersonalityFormatMark;
  r->version = kPersonalityVersion;
  r->pondering = 1;
  r->hashIndex = 1;
  for (int i = 0; i < kPersonalityParameterCount; ++i) r->parameters[i] = kPersonalityParameters[i].byDefault;
  SetText(r->book, kDefaultPersonalityBook);
}

PersonalityRecord* AllocatePersonality() { return new PersonalityRecord{}; }
void FreePersonality(PersonalityRecord* record) { delete record; }

bool IsGrandmasterPersonality(const PersonalityRecord* record) {
  return record && record->kind == kGrandmasterPersonality;
}

uint32_t PersonalityHashBytes(const PersonalityRecord* record) {
  if (!record || record->hashIndex == 0) return 0;
  // Past index 12 (1 GB) the shift would leave 32 bits.
  uint32_t index = record->hashIndex > 12 ? 12 : record->hashIndex;
  return 1u << (index + 18);
}

int32_t SpeedAdjustedRating(const PersonalityRecord* record) {
  return SpeedAdjustedRating(record, g_environment->BenchmarkScore());
}

int32_t SpeedAdjustedRating(const PersonalityRecord* record, uint32_t benchmark) {
  if (!record) return -1;
  double d = 0;
  if (record->parameters[kParamMaxDepth] == 99 && benchmark != 0 && record->referenceSpeed != 0) {
    double q = static_cast<double>(benchmark) / static_cast<double>(record->referenceSpeed);
    d = std::trunc(70.0 * std::log(q) / std::log(2.0));
  }
  double f = record->rating / 2500.0;
  if (f > 1.0) f = 1.0;
  double result = record->rating + std::trunc(d * f);
  if (result > INT32_MAX) return INT32_MAX;
  if (result < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(result);
}

int32_t PersonalityWord(const PersonalityRecord* record, int index) {
  if (!record || index < 0 || static_cast<size_t>(index) >= kPersonalityFileSize / 4) return 0;
  uint8_t image[kPersonalityFileSize];
  WritePersonalityBytes(*record, image);
  return static_cast<int32_t>(GetU32(image, 4 * static_cast<size_t>(index)));
}

void SetPersonalityEnvironment(PersonalityEnvironment* environment) {
  g_environment = environment ? environment : &g_defaultEnvironment;
}
PersonalityEnvironment* GetPersonalityEnvironment() { return g_environment; }

bool IsSafePersonalityName(const char* name) {
  if (!name || !*name) return false;
  return !std::strpbrk(name, "/\\:") && !std::strstr(name, "..");
}

std::string JoinPersonalityPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  if (folder.empty()) return name;
  if (folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + separator + name;
}

int ReadPersonalityFile(const char* nameOrPath, PersonalityRecord** record) {
  if (!nameOrPath || !record) return 0;
  std::string path;
  if (!std::strchr(nameOrPath, '\\')) {
    if (!IsSafePersonalityName(nameOrPath)) return 0;
    path = JoinPersonalityPath(g_environment->PersonalitiesFolder(),
                               std::string(nameOrPath) + kPersonalityExtension);
  } else {
    path = nameOrPath;
  }
  if (!*record) *record = AllocatePersonality();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  uint8_t image[kPersonalityFileSize];
  size_t got = std::fread(image, 1, sizeof image, file);
  std::fclose(file);
  PersonalityRecord read;
  if (got != sizeof image || !ReadPersonalityBytes(image, got, &read)) return 0;
  if (!std::strstr(path.c_str(), " - Age ")) read.rating = SpeedAdjustedRating(&read);
  **record = read;
  return 1;
}

int LoadPersonalityBook(PersonalityRecord* record, int slot) {
  if (!record) return 0;
  if (!record->book[0]) SetText(record->book, kDefaultPersonalityBook);
  if (slot != 1 && slot != 2) return 0;
  SelectBookSlot(slot);
  const std::string folder = g_environment->OpeningBooksFolder();
  // A book name from a file of unknown origin never leaves the books folder.
  if (IsSafePersonalityName(record->book) && LoadBookFile(JoinPersonalityPath(folder, record->book).c_str()))
    return 1;
  LoadBookFile(JoinPersonalityPath(folder, kDefaultPersonalityBook).c_str());
  return 0;
}

std::string FormatPersonalityStyle(const char* style, int32_t rating) {
  std::string out;
  if (!style) return out;
  bool substituted = false;
  for (const char* p = style; *p; ++p) {
    if (!substituted && p[0] == '%' && p[1] == 'd') {
      out += std::to_string(rating);
      substituted = true;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}
