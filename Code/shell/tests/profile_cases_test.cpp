// One table of private-profile cases run through every profile the build
// has: natively the ini file reader; in the Windows build the system's calls
// and the ini file reader on the same files, so the two cannot drift apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "profile.h"

Profile& PlatformProfile();

namespace {

struct NamedProfile {
  const char* name;
  Profile* profile;
};

std::vector<NamedProfile> Profiles() {
  std::vector<NamedProfile> list{{"inifile", &IniFileProfile()}};
#ifdef _WIN32
  list.push_back({"system", &PlatformProfile()});
#endif
  return list;
}

const char kSample[] =
    "; a comment\r\n"
    "top=before any section\r\n"
    "[Settings]\r\n"
    "notation_style = 4 \r\n"
    "piece_sounds=0\r\n"
    "Name =  \"quoted value\"  \r\n"
    "single='x'\r\n"
    "half=\"open\r\n"
    "empty=\r\n"
    "novalue\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "\r\n"
    "  [ spaced ]  \r\n"
    "inner=1\r\n"
    "[settings]\r\n"
    "notation_style=9\r\n"
    "extra=in the second section\r\n"
    "[engine] trailing text\r\n"
    "hex=0x20\n"
    "neg=-12\n"
    "plus=+7\n"
    "junk=12abc\n"
    "big=4294967297\n"
    "oct=0o17\n"
    "bin=0b101\n"
    "upperhex=0X1F\n"
    "lead=   42\n"
    "quoted=\"15\"\n"
    "tabbed\t=\t5\t\n"
    "last=no line end";

std::string Folder() {
  std::filesystem::path dir = std::filesystem::current_path() / "profile_cases";
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::string WriteSample(const std::string& name, const char* text) {
  std::string path = Folder() + "/" + name;
#ifdef _WIN32
  for (char& c : path) c = c == '/' ? '\\' : c;
#endif
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs(text, f);
  std::fclose(f);
  return path;
}

struct ReadCase {
  const char* section;
  const char* key;
  const char* fallback;
  uint32_t size;
  const char* text;
  uint32_t count;
};

const ReadCase kReads[] = {
    {"settings", "notation_style", "d", 64, "4", 1},              // names without case, value trimmed
    {"  SETTINGS ", " NOTATION_STYLE\t", "d", 64, "4", 1},        // lookup names trimmed
    {"settings", "extra", "dflt", 64, "dflt", 4},                 // only the first [settings] counts
    {"settings", "name", "", 64, "quoted value", 12},             // matching quotes taken off
    {"settings", "single", "", 64, "x", 1},
    {"settings", "half", "", 64, "\"open", 5},                    // a lone quote stays
    {"settings", "empty", "d", 64, "", 0},                        // present and empty: no fallback
    {"settings", "novalue", "d", 64, "d", 1},                     // no "=": missing
    {"settings", "dup", "", 64, "first", 5},                      // first key wins
    {"settings", "name", "", 5, "quot", 4},                       // cut to the buffer
    {"settings", "name", "", 14, "quoted value", 12},
    {"settings", "name", "", 13, "quoted valu", 11},              // the system's cut of a quoted value
    {"spaced", "inner", "none", 64, "1", 1},                      // section names trimmed inside the brackets
    {"", "top", "", 64, "before any section", 18},                // keys above the first section
    {"engine", "hex", "", 64, "0x20", 4},                         // header with text after "]"
    {"engine", "last", "", 64, "no line end", 11},
    {"engine", "tabbed", "", 64, "5", 1},
    {"nosuch", "key", "abc   ", 64, "abc", 3},                    // fallback loses trailing blanks
    {"nosuch", "key", "   ", 64, " ", 1},                         // ... but keeps one of all blanks
    {"nosuch", "key", "'q'", 64, "q", 1},                         // a fallback loses its quotes too
    {"nosuch", "key", nullptr, 64, "", 0},
    {"nosuch", "key", "long fallback", 5, "long", 4},
};

struct IntCase {
  const char* section;
  const char* key;
  int32_t fallback;
  uint32_t value;
};

const IntCase kInts[] = {
    {"Settings", "notation_style", 3, 4},   {"settings", "piece_sounds", 1, 0},
    {"engine", "hex", 0, 32},               {"engine", "neg", 0, 0u - 12u},
    {"engine", "plus", 0, 7},               {"engine", "junk", 0, 12},
    {"engine", "big", 0, 1},                {"engine", "oct", 0, 15},
    {"engine", "bin", 0, 5},                {"engine", "upperhex", 0, 0},
    {"engine", "lead", 0, 42},              {"engine", "quoted", 0, 15},
    {"settings", "empty", 77, 77},          {"settings", "novalue", -5, 0u - 5u},
    {"nosuch", "key", 1, 1},                {"settings", "name", 9, 0},
};

TEST(ProfileCases, ReadsFollowTheSystemRules) {
  std::string path = WriteSample("read.ini", kSample);
  for (const NamedProfile& p : Profiles()) {
    for (const ReadCase& c : kReads) {
      SCOPED_TRACE(std::string(p.name) + " [" + c.section + "] " + c.key + " size " + std::to_string(c.size));
      char buffer[64] = "untouched";
      uint32_t count = p.profile->ReadString(c.section, c.key, c.fallback, buffer, c.size, path.c_str());
      EXPECT_STREQ(buffer, c.text);
      EXPECT_EQ(count, c.count);
    }
    for (const IntCase& c : kInts) {
      SCOPED_TRACE(std::string(p.name) + " int [" + c.section + "] " + c.key);
      EXPECT_EQ(p.profile->ReadInt(c.section, c.key, c.fallback, path.c_str()), c.value);
    }
  }
}

TEST(ProfileCases, MissingFileGivesFallbacks) {
  std::string path = Folder() + "/never_written.ini";
  for (const NamedProfile& p : Profiles()) {
    SCOPED_TRACE(p.name);
    char buffer[16];
    EXPECT_EQ(p.profile->ReadString("a", "b", "fallback ", buffer, sizeof buffer, path.c_str()), 8u);
    EXPECT_STREQ(buffer, "fallback");
    EXPECT_EQ(p.profile->ReadInt("a", "b", 3, path.c_str()), 3u);
  }
}

// A write case: steps applied by one profile to a fresh copy of the sample,
// then reads that every profile must give on the result.
struct Step {
  const char* section;
  const char* key;
  const char* value;
};
struct Expect {
  const char* section;
  const char* key;
  const char* text;  // read with the fallback "-"
};
struct WriteCase {
  const char* name;
  std::vector<Step> steps;
  std::vector<Expect> reads;
};

const WriteCase kWrites[] = {
    {"replace",
     {{"SETTINGS", "Notation_Style", "7"}},
     {{"settings", "notation_style", "7"}, {"settings", "piece_sounds", "0"}, {"engine", "hex", "0x20"}}},
    {"add key to first section",
     {{"settings", "added", "yes"}},
     {{"settings", "added", "yes"}, {"settings", "dup", "first"}, {"engine", "last", "no line end"}}},
    {"add section",
     {{" newroom ", "white_ai", "Rookwell"}, {"newroom", "black_ai", "Tarn - Age 12"}},
     {{"newroom", "white_ai", "Rookwell"}, {"NEWROOM", "black_ai", "Tarn - Age 12"}, {"engine", "last", "no line end"}}},
    {"leading blanks dropped",
     {{"engine", "ttable_size", "   16"}},
     {{"engine", "ttable_size", "16"}, {"engine", "hex", "0x20"}}},
    {"delete key reveals the next of that name",
     {{"settings", "dup", nullptr}},
     {{"settings", "dup", "second"}, {"settings", "single", "x"}}},
    {"delete key found only in a later section",
     {{"settings", "extra", nullptr}, {"settings", "extra", "again"}},
     {{"settings", "extra", "again"}, {"settings", "notation_style", "4"}}},
    {"delete the first section of the name",
     {{"Settings", nullptr, nullptr}},
     {{"settings", "notation_style", "9"}, {"settings", "extra", "in the second section"},
      {"settings", "piece_sounds", "-"}, {"spaced", "inner", "1"}, {"engine", "neg", "-12"},
      {"", "top", "before any section"}}},
    {"deletes take the names as given, untrimmed",
     {{" settings ", " dup ", nullptr}, {" spaced ", nullptr, nullptr}},
     {{"settings", "dup", "first"}, {"spaced", "inner", "1"}}},
    {"quoted value written as it stands",
     {{"engine", "q", "\"a b\""}},
     {{"engine", "q", "a b"}}},
};

TEST(ProfileCases, WritesReadBackThroughEveryProfile) {
  int serial = 0;
  for (const NamedProfile& writer : Profiles()) {
    for (const WriteCase& c : kWrites) {
      std::string path = WriteSample("write" + std::to_string(++serial) + ".ini", kSample);
      for (const Step& s : c.steps) EXPECT_TRUE(writer.profile->Write(s.section, s.key, s.value, path.c_str()));
      for (const NamedProfile& reader : Profiles()) {
        for (const Expect& e : c.reads) {
          SCOPED_TRACE(std::string(c.name) + ": written by " + writer.name + ", read by " + reader.name + " [" +
                       e.section + "] " + e.key);
          char buffer[64];
          reader.profile->ReadString(e.section, e.key, "-", buffer, sizeof buffer, path.c_str());
          EXPECT_STREQ(buffer, e.text);
        }
      }
    }
  }
}

TEST(ProfileCases, NewFileIsCreatedAndMissingFolderFails) {
  int serial = 0;
  for (const NamedProfile& writer : Profiles()) {
    SCOPED_TRACE(writer.name);
    std::string path = Folder() + "/created" + std::to_string(++serial) + ".ini";
    std::remove(path.c_str());
    EXPECT_TRUE(writer.profile->Write("engine", "ttable_size", "64", path.c_str()));
    for (const NamedProfile& reader : Profiles()) {
      EXPECT_EQ(reader.profile->ReadInt("engine", "ttable_size", 0, path.c_str()), 64u) << reader.name;
    }
    std::string lost = Folder() + "/no such folder/x.ini";
    EXPECT_FALSE(writer.profile->Write("a", "b", "c", lost.c_str()));
  }
}

TEST(ProfileCases, ShorthandsGoThroughTheProfileInUse) {
  std::string path = WriteSample("shorthand.ini", "");
  EXPECT_TRUE(ProfileWriteInt("engine", "ttable_size", -3, path.c_str()));
  EXPECT_EQ(ProfileReadInt("engine", "ttable_size", 0, path.c_str()), -3);
  EXPECT_TRUE(ProfileDeleteKey("engine", "ttable_size", path.c_str()));
  EXPECT_EQ(ProfileReadInt("engine", "ttable_size", 5, path.c_str()), 5);
  EXPECT_TRUE(ProfileWriteString("a", "k", "v", path.c_str()));
  EXPECT_TRUE(ProfileDeleteSection("a", path.c_str()));
  char buffer[8];
  EXPECT_EQ(ProfileReadString("a", "k", "gone", buffer, sizeof buffer, path.c_str()), 4u);
  EXPECT_FALSE(ProfileWriteString("a", "k", nullptr, path.c_str()));  // no silent delete
}

}  // namespace
