// Personalities: the record of one computer opponent and its file (".RWP",
// exactly 3,104 bytes, little-endian), written and read field by field so
// that the file never depends on the compiler's structure layout.
//
// Interface: PersonalityRecord, kPersonalityParameters, WritePersonalityBytes,
// ReadPersonalityBytes, SetNewPersonalityDefaults, AllocatePersonality,
// FreePersonality, IsGrandmasterPersonality, PersonalityHashBytes,
// SpeedAdjustedRating, PersonalityWord, PersonalityEnvironment,
// SetPersonalityEnvironment, ReadPersonalityFile, LoadPersonalityBook,
// IsSafePersonalityName, FormatPersonalityStyle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kPersonalityFileSize = 3104;
constexpr uint32_t kPersonalityVersion = 8;
constexpr uint32_t kPersonalityFormatMark = 26;
constexpr int kPersonalityParameterCount = 23;
extern const char kDefaultPersonalityBook[];  // "RWONYX.OBK"
extern const char kPersonalitySignature[];    // the first 32 bytes of every file we write
extern const char kPersonalityExtension[];    // ".RWP"

enum PersonalityKind : uint32_t {
  kGrandmasterPersonality = 129,
  kCustomPersonality = 132,
  kXboardEnginePersonality = 178,
  kFictionalPersonality = 179,
};

// Age-group bits of the record.
enum PersonalityAge : uint32_t {
  kAge19to24 = 1,
  kAge25to40 = 2,
  kAgeOver40 = 4,
  kAge6to8 = 8,
  kAge9to11 = 16,
  kAge12to14 = 32,
  kAge15to18 = 64,
};

// Indexes of the 23 engine parameters.
enum PersonalityParameter {
  kParamAttackerDefender,
  kParamStrength,
  kParamRandomness,
  kParamBookUse,
  kParamMaxDepth,
  kParamSelective,
  kParamContempt,
  kParamMaterialPosition,
  kParamCenter,
  kParamMobility,
  kParamKingSafety,
  kParamPassedPawns,
  kParamPawnWeakness,
  kParamOwnQueen,
  kParamOppQueen,
  kParamOwnRook,
  kParamOppRook,
  kParamOwnBishop,
  kParamOppBishop,
  kParamOwnKnight,
  kParamOppKnight,
  kParamOwnPawn,
  kParamOppPawn,
};

struct PersonalityParameterInfo {
  const char* label;  // the set-up dialog's slider label; null for the book use
  int32_t min, max;   // stored values
  int32_t byDefault;
  int32_t lineStep, pageStep;
  const char* key;  // the engine command key, null when not sent itself
};
extern const PersonalityParameterInfo kPersonalityParameters[kPersonalityParameterCount];

// The file's named fields; text fields always hold their NUL.
struct PersonalityRecord {
  char signature[32];
  uint32_t formatMark;
  uint32_t version;
  uint32_t kind;
  uint32_t pondering;
  uint32_t hashIndex;
  int32_t rating;
  uint32_t referenceSpeed;
  int32_t parameters[kPersonalityParameterCount];
  uint32_t sex;        // 1 male, 0 female
  uint32_t ageGroups;  // PersonalityAge bits
  char book[260];
  char picture[30];
  char caption[30];
  char biography[1000];
  char style[1000];
  char enginePath[260];
  char engineParameters[262];
};

// The 3,104-byte file image; bytes no field names are 0, text fields are
// zero-filled behind their NUL (and cut to fit their field).
void WritePersonalityBytes(const PersonalityRecord& record, uint8_t out[kPersonalityFileSize]);
// Reads the first 3,104 bytes; false for fewer bytes or a version other than
// 8. Text fields are ended inside their field whatever the file holds.
bool ReadPersonalityBytes(const uint8_t* data, size_t size, PersonalityRecord* out);

// A new custom personality as the set-up dialog makes it: every field set.
void SetNewPersonalityDefaults(PersonalityRecord* record);

PersonalityRecord* AllocatePersonality();         // zeroed
void FreePersonality(PersonalityRecord* record);  // null is ignored
bool IsGrandmasterPersonality(const PersonalityRecord* record);
// 0 for index 0, else 1 << (index + 18); indexes past 12 count as 12.
uint32_t PersonalityHashBytes(const PersonalityRecord* record);
// The rating at a processor benchmark score (the environment's when none is
// given); -1 for a null record. A benchmark or reference speed of 0 gives no
// adjustment.
int32_t SpeedAdjustedRating(const PersonalityRecord* record);
int32_t SpeedAdjustedRating(const PersonalityRecord* record, uint32_t benchmark);
// The 32-bit word `index` of the file image (10 kind, 19 book use, 22
// contempt); 0 for a null record or an index outside the record.
int32_t PersonalityWord(const PersonalityRecord* record, int index);

// Where personalities and books live and how fast the processor is; the
// shell installs one. Folders are given without a trailing separator.
class PersonalityEnvironment {
 public:
  virtual ~PersonalityEnvironment() = default;
  virtual std::string PersonalitiesFolder() { return "."; }
  virtual std::string OpeningBooksFolder() { return "."; }
  virtual uint32_t BenchmarkScore() { return 0; }
};
// Null restores the default.
void SetPersonalityEnvironment(PersonalityEnvironment* environment);
PersonalityEnvironment* GetPersonalityEnvironment();

// A bare name (no folder part) that may be joined to a folder: not empty, no
// "/", ":" or "..". Names read from games and settings files are not trusted.
bool IsSafePersonalityName(const char* name);
// Joins a folder and a file name with the system's separator.
std::string JoinPersonalityPath(const std::string& folder, const std::string& name);

// A name without a backslash is read from the personalities folder as name +
// ".RWP"; anything else is taken as the full path. Allocates a record into
// *record when it is null (kept there on failure). Unless the path contains
// " - Age ", the rating becomes the speed-adjusted one. 1 or 0.
int ReadPersonalityFile(const char* nameOrPath, PersonalityRecord** record);

// Loads the personality's book into book slot 1 (Black) or 2 (White); an
// empty book name is first set to "RWONYX.OBK". 1 when its own book loaded,
// 0 otherwise (a failed load puts the default book into the slot instead).
int LoadPersonalityBook(PersonalityRecord* record, int slot);

// The style text with the rating in place of its first "%d"; every other
// character, "%" included, is shown as it stands.
std::string FormatPersonalityStyle(const char* style, int32_t rating);
