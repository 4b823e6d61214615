// mkpersonality: writes the program's own personalities (".RWP" files) from
// the readable roster, and checks a folder of shipped personality files.
//
//   mkpersonality ROSTER OUTPUT_FOLDER
//   mkpersonality --check FOLDER PICTURE_LIST BOOK...
//
// The roster holds one "[Name]" section per personality and a "key = value"
// line for every field of its record (see roster.txt). The check reads
// every file of FOLDER back: 3,104 bytes, version 8, parameters in range,
// unique names, each picture in PICTURE_LIST (one "PATH=NAME" a line, as
// mkpack reads it) and each book among BOOK..., and every filter box of the
// Select Personality dialog passed by some personality.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "personality.h"
#include "personality_list.h"

namespace fs = std::filesystem;

namespace {

// The roster's key of each engine parameter, in record order.
const char* const kParameterKeys[kPersonalityParameterCount] = {
    "attacker/defender", "strength of play",  "randomness",        "book use",          "max search depth",
    "selective search",  "contempt for draw", "material/position", "control of center", "mobility",
    "king safety",       "passed pawns",      "pawns weakness",    "own queen",         "opposing queen",
    "own rook",          "opposing rook",     "own bishop",        "opposing bishop",   "own knight",
    "opposing knight",   "own pawn",          "opposing pawn"};

// Keys the roster holds besides the parameters; "portrait" describes the
// picture for the drawing script and is no field of the record.
const char* const kFieldKeys[] = {"kind",      "sex",        "ages",    "rating",  "reference speed",
                                  "pondering", "hash index", "book",    "picture", "caption",
                                  "biography", "style",      "portrait"};

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool ToInt(const std::string& text, long* out) {
  char* end = nullptr;
  *out = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && end && *end == 0;
}

template <size_t N>
bool SetField(char (&field)[N], const std::string& text, const std::string& where) {
  if (text.size() >= N) {
    std::fprintf(stderr, "%s: text longer than %zu characters\n", where.c_str(), N - 1);
    return false;
  }
  std::snprintf(field, N, "%s", text.c_str());
  return true;
}

uint32_t AgeBits(const std::string& list, bool* ok) {
  static const std::map<std::string, uint32_t> kAges = {
      {"6-8", kAge6to8},     {"9-11", kAge9to11},   {"12-14", kAge12to14},  {"15-18", kAge15to18},
      {"19-24", kAge19to24}, {"25-40", kAge25to40}, {"over 40", kAgeOver40}};
  uint32_t bits = 0;
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) {
    auto it = kAges.find(Trim(item));
    if (it == kAges.end())
      *ok = false;
    else
      bits |= it->second;
  }
  return bits;
}

// A style is shown with the rating in place of one "%d": the roster holds
// no other conversion, so older readers that format it show it the same.
bool StyleHoldsOneNumberAtMost(const char* style) {
  int numbers = 0;
  for (const char* p = style; *p; ++p) {
    if (*p != '%') continue;
    if (p[1] == 'd')
      ++numbers, ++p;
    else if (p[1] && p[1] != ' ' && p[1] != '.' && p[1] != ',')
      return false;
  }
  return numbers <= 1;
}

using Section = std::map<std::string, std::string>;

bool MakeRecord(const std::string& name, const Section& s, PersonalityRecord* r) {
  std::string where = "[" + name + "]";
  for (const char* key : kFieldKeys)
    if (!s.count(key)) return std::fprintf(stderr, "%s: no \"%s\"\n", where.c_str(), key), false;
  for (const char* key : kParameterKeys)
    if (!s.count(key)) return std::fprintf(stderr, "%s: no \"%s\"\n", where.c_str(), key), false;
  SetNewPersonalityDefaults(r);
  const std::string& kind = s.at("kind");
  r->kind = kind == "grandmaster" ? uint32_t{kGrandmasterPersonality}
            : kind == "fictional" ? uint32_t{kFictionalPersonality}
                                  : 0u;
  const std::string& sex = s.at("sex");
  r->sex = sex == "male" ? 1 : 0;
  bool ok = r->kind != 0 && (sex == "male" || sex == "female");
  r->ageGroups = AgeBits(s.at("ages"), &ok);
  long v = 0;
  ok = ok && ToInt(s.at("rating"), &v) && v > 0 && v < 4000;
  r->rating = static_cast<int32_t>(v);
  ok = ok && ToInt(s.at("reference speed"), &v) && v >= 0;
  r->referenceSpeed = static_cast<uint32_t>(v);
  ok = ok && ToInt(s.at("pondering"), &v) && (v == 0 || v == 1);
  r->pondering = static_cast<uint32_t>(v);
  ok = ok && ToInt(s.at("hash index"), &v) && v >= 0 && v <= 8;
  r->hashIndex = static_cast<uint32_t>(v);
  if (!ok)
    return std::fprintf(stderr, "%s: bad kind, sex, ages, rating, speed, pondering or hash\n", where.c_str()),
           false;
  for (int i = 0; i < kPersonalityParameterCount; ++i) {
    const PersonalityParameterInfo& info = kPersonalityParameters[i];
    if (!ToInt(s.at(kParameterKeys[i]), &v) || v < info.min || v > info.max)
      return std::fprintf(stderr, "%s: \"%s\" not within %d..%d\n", where.c_str(), kParameterKeys[i],
                          info.min, info.max),
             false;
    r->parameters[i] = static_cast<int32_t>(v);
  }
  return SetField(r->book, s.at("book"), where + " book") &&
         SetField(r->picture, s.at("picture"), where + " picture") &&
         SetField(r->caption, s.at("caption"), where + " caption") &&
         SetField(r->biography, s.at("biography"), where + " biography") &&
         SetField(r->style, s.at("style"), where + " style");
}

int WriteRoster(const char* rosterPath, const char* folder) {
  std::ifstream in(rosterPath);
  if (!in) return std::fprintf(stderr, "cannot read %s\n", rosterPath), 1;
  std::vector<std::pair<std::string, Section>> sections;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    if (t.front() == '[' && t.back() == ']') {
      sections.push_back({t.substr(1, t.size() - 2), {}});
      continue;
    }
    size_t eq = t.find('=');
    if (eq == std::string::npos || sections.empty())
      return std::fprintf(stderr, "%s:%d: not \"key = value\"\n", rosterPath, number), 1;
    std::string key = Trim(t.substr(0, eq)), value = Trim(t.substr(eq + 1));
    Section& s = sections.back().second;
    // A text may go on over further lines of the same key.
    if (s.count(key) && (key == "biography" || key == "style"))
      s[key] += " " + value;
    else if (s.count(key))
      return std::fprintf(stderr, "%s:%d: \"%s\" twice\n", rosterPath, number, key.c_str()), 1;
    else
      s[key] = value;
  }
  fs::create_directories(folder);
  for (auto& [name, section] : sections) {
    if (!IsSafePersonalityName(name.c_str())) return std::fprintf(stderr, "bad name [%s]\n", name.c_str()), 1;
    PersonalityRecord r;
    if (!MakeRecord(name, section, &r)) return 1;
    uint8_t image[kPersonalityFileSize];
    WritePersonalityBytes(r, image);
    std::string path = (fs::path(folder) / (name + kPersonalityExtension)).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image), sizeof image);
    if (!out) return std::fprintf(stderr, "cannot write %s\n", path.c_str()), 1;
  }
  return 0;
}

int Check(const char* folder, const char* pictureList, const std::vector<std::string>& books) {
  std::set<std::string> pictures;
  std::ifstream list(pictureList);
  std::string line;
  while (std::getline(list, line)) {
    size_t eq = line.rfind('=');
    if (eq != std::string::npos) pictures.insert(Trim(line.substr(eq + 1)));
  }
  std::set<std::string> bookNames;
  for (const std::string& b : books) {
    if (!fs::exists(b)) return std::fprintf(stderr, "missing book %s\n", b.c_str()), 1;
    bookNames.insert(fs::path(b).filename().string());
  }
  int faults = 0;
  auto fault = [&](const std::string& file, const char* what) {
    std::fprintf(stderr, "%s: %s\n", file.c_str(), what);
    ++faults;
  };
  std::set<std::string> names;
  std::vector<PersonalityListEntry> entries;
  for (const auto& item : fs::directory_iterator(folder)) {
    std::string file = item.path().filename().string();
    if (item.path().extension() != kPersonalityExtension) continue;
    std::ifstream in(item.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    PersonalityRecord r;
    if (bytes.size() != kPersonalityFileSize) fault(file, "not 3,104 bytes");
    if (!ReadPersonalityBytes(bytes.data(), bytes.size(), &r)) {
      fault(file, "unreadable or not version 8");
      continue;
    }
    if (r.formatMark != kPersonalityFormatMark) fault(file, "format mark is not 26");
    if (r.kind != kGrandmasterPersonality && r.kind != kFictionalPersonality)
      fault(file, "not a shipped kind");
    for (int i = 0; i < kPersonalityParameterCount; ++i)
      if (r.parameters[i] < kPersonalityParameters[i].min || r.parameters[i] > kPersonalityParameters[i].max)
        fault(file, "parameter out of range");
    std::string name = item.path().stem().string();
    if (!names.insert(name).second) fault(file, "name twice");
    if (!pictures.count(r.picture)) fault(file, "picture not in the faces pack");
    std::string book = r.book[0] ? r.book : kDefaultPersonalityBook;
    if (!bookNames.count(book)) fault(file, "book not made");
    if (!StyleHoldsOneNumberAtMost(r.style)) fault(file, "style with another conversion than one \"%d\"");
    entries.push_back(MakePersonalityListEntry(r, file.c_str(), 0));
  }
  if (entries.empty()) fault(folder, "no personalities");
  // Every box a shipped personality can meet must let some personality
  // through on its own account: untick it and some personality drops out.
  static const int kBoxes[] = {
      kFilterGrandmasters, kFilterFictional, kFilterMale,  kFilterFemale, kFilter19to24, kFilter25to40,
      kFilterOver40,       kFilter6to18,     kFilterBand0, kFilterBand1,  kFilterBand2,  kFilterBand3,
      kFilterBand4,        kFilter6to8,      kFilter9to11, kFilter12to14, kFilter15to18};
  for (int box : kBoxes) {
    bool kids = box >= kFilter6to8 && box <= kFilter15to18;
    PersonalityFilters all, without;
    without.ticked[box] = false;
    PersonalitySelection a, b;
    FilterPersonalityList(entries, all, kids, kids, &a);
    FilterPersonalityList(entries, without, kids, kids, &b);
    if (a.passing.size() == b.passing.size())
      fault(kPersonalityFilterKeys[box], "filter box passes no personality");
  }
  std::printf("%zu personalities checked, %d faults\n", entries.size(), faults);
  return faults ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "--check") == 0)
    return Check(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
  if (argc == 3) return WriteRoster(argv[1], argv[2]);
  std::fprintf(stderr,
               "usage: mkpersonality ROSTER OUTPUT_FOLDER\n"
               "       mkpersonality --check FOLDER PICTURE_LIST BOOK...\n");
  return 2;
}
