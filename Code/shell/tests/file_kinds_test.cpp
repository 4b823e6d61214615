// The own file dialogs' kinds, type filters, lists and name cleaning.
#include "file_kinds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> GameHeader(size_t size, uint8_t b32, uint8_t b33) {
  std::vector<uint8_t> h(size, 0);
  if (size > 32) h[32] = b32;
  if (size > 33) h[33] = b33;
  return h;
}

TEST(FileKinds, ByExtensionFolderDriveAndGameVersion) {
  struct Case {
    FileEntryFacts facts;
    int kind;
  } cases[] = {
      {{"x.txt", false, false, 0, {}}, 11},
      {{"X.TXT"}, 11},
      {{"x.abc"}, 1},
      {{"x.html"}, 1},  // only four-character extensions count
      {{"noext"}, 1},
      {{"a.b.Pgn"}, 12},
      {{"x.lay"}, 23},
      {{"x.tut"}, 13},
      {{"x.obk"}, 16},
      {{"x.rwp"}, 14},
      {{"x.rwt"}, 15},
      {{"x.gdg"}, 9},
      {{"x.bmp"}, 10},
      {{"x.exe"}, 24},
      {{"g.RWG", false, false, 0, GameHeader(33, 26, 6)}, 0},  // too short
      {{"g.rwg", false, false, 0, GameHeader(34, 26, 6)}, 6},
      {{"g.RWG", false, false, 0, GameHeader(34, 26, 4)}, 4},
      {{"g.RWG", false, false, 0, GameHeader(200, 26, 8)}, 8},
      {{"g.RWG", false, false, 0, GameHeader(34, 26, 9)}, 0},
      {{"g.RWG", false, false, 0, GameHeader(34, 26, 3)}, 0},
      {{"g.RWG", false, false, 0, GameHeader(34, 25, 6)}, 0},
      {{"h.txt", true}, 0},
      {{"Games", false, true}, 17},
      {{".", false, true}, 0},
      {{".git", false, true}, 0},
      {{"C:\\", false, true, 3}, 19},
      {{"A:\\", false, true, 2}, 18},
      {{"N:\\", false, true, 4}, 20},
      {{"D:\\", false, true, 5}, 21},
      {{"R:\\", false, true, 6}, 22},
  };
  for (const Case& c : cases) EXPECT_EQ(FileKindFromFacts(c.facts), c.kind) << c.facts.name;
}

TEST(FileKinds, TypeFiltersWhatIsListed) {
  // Type 4 lists PGN files only; the dialog adds folders itself.
  for (int kind = 0; kind <= 24; ++kind) EXPECT_EQ(FileKindMatchesType(4, kind, 0), kind == 12) << kind;
  // Saved games of every version under type 2; PGN files only when opening.
  for (int v = 4; v <= 8; ++v) EXPECT_TRUE(FileKindMatchesType(2, v, 1));
  EXPECT_TRUE(FileKindMatchesType(2, 12, 0));
  EXPECT_FALSE(FileKindMatchesType(2, 12, 1));
  EXPECT_FALSE(FileKindMatchesType(2, 11, 0));
  EXPECT_TRUE(FileKindMatchesType(0, 11, 0));
  EXPECT_FALSE(FileKindMatchesType(0, 0, 0));
  EXPECT_TRUE(FileKindMatchesType(10, 11, 0));
  EXPECT_TRUE(FileKindMatchesType(16, 24, 0));
}

TEST(FileKinds, TypeExtensionAddedOnlyWhenMissingOrOther) {
  struct Case {
    const char* name;
    int type;
    const char* out;
  } cases[] = {
      {"x.txt", 2, "x.txt.RWG"}, {"x", 2, "x.RWG"},     {"x.rwg", 2, "x.rwg"},  {"x.Pgn", 4, "x.Pgn"},
      {"x", 4, "x.PGN"},         {"x.txt", 9, "x.txt"}, {"x", 10, "x.TXT"},     {"x", 0, "x"},
      {"x.gdg", 14, "x.gdg"},    {"x", 14, "x"},        {"eng", 16, "eng.EXE"}, {"a.lay", 12, "a.lay"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddTypeExtension(c.name, c.type), c.out) << c.name << " " << c.type;
}

TEST(FileKinds, CleanedNames) {
  struct Case {
    std::string typed;
    bool ok;
    bool warned;
    std::string out;
  } cases[] = {
      {"a/b", true, true, "a-b"},
      {"my game", true, false, "my game"},
      {"  padded  ", true, false, "padded"},
      {"a:b*c?d\"e<f>g|h\\i", true, true, "abcdefghi"},
      {"tab\there", true, false, "tabhere"},
      {std::string("caf\xe9"), true, false, std::string("caf\xe9")},
      {std::string("x\x80\x8a"), true, false, std::string("x\x8a")},
      // Nothing usable left: refused rather than saved under a placeholder.
      {"", false, false, ""},
      {"   ", false, false, ""},
      {"***", false, true, ""},
      {"\\:?", false, true, ""},
      {std::string("\x01\x02"), false, false, ""},
  };
  for (const Case& c : cases) {
    std::string out = "stale";
    bool warned = false;
    EXPECT_EQ(CleanFileName(c.typed, &out, &warned), c.ok) << c.typed;
    EXPECT_EQ(warned, c.warned) << c.typed;
    EXPECT_EQ(out, c.out) << c.typed;
  }
}

TEST(FileKinds, TypeListsForEveryModeAndType) {
  using V = std::vector<int>;
  struct Case {
    int mode, type;
    V names;
  } cases[] = {
      {0, 2, {358, 362, 370, 364, 365}},
      {1, 2, {405, 366, 364, 365}},
      {2, 0, {405, 364, 365}},
      {5, 10, {405, 364, 365}},
      {3, 2, {366}},
      {4, 4, {366}},
      {0, 5, {361}},
      {1, 7, {369}},
      {0, 11, {367}},
      {5, 12, {398}},
      {0, 14, {407}},
      {1, 15, {418}},
      {0, 16, {426}},
      {0, 1, {370}},
      {1, 13, {370}},
  };
  for (const Case& c : cases) EXPECT_EQ(FileTypeNames(c.mode, c.type), c.names) << c.mode << "/" << c.type;
  // Every name any list offers sets a type.
  for (int mode = 0; mode <= 5; ++mode)
    for (int type : {0, 2, 3, 4, 5, 7, 9, 10, 11, 12, 14, 15, 16})
      for (int id : FileTypeNames(mode, type)) EXPECT_GE(FileTypeFromName(mode, id), 0) << id;
  EXPECT_EQ(FileTypeFromName(0, 364), 3);
  EXPECT_EQ(FileTypeFromName(1, 364), 9);
  EXPECT_EQ(FileTypeFromName(0, 365), 3);
  EXPECT_EQ(FileTypeFromName(5, 365), 10);
  EXPECT_EQ(FileTypeFromName(1, 405), 2);
  EXPECT_EQ(FileTypeFromName(0, 370), 0);
  EXPECT_EQ(FileTypeFromName(0, 999), -1);
}

TEST(FileKinds, OpenAsListFollowsTheType) {
  using V = std::vector<int>;
  struct Case {
    int type;
    V names;
    int selected, value;
  } cases[] = {
      {2, {371, 372}, 0, 0},           {3, {377, 378}, 1, 10},  {9, {377, 378}, 1, 10},
      {10, {377, 378}, 1, 10},         {4, {371, 375}, 0, 0},   {5, {371, 379}, 0, 0},
      {7, {371, 380}, 0, 0},           {11, {371, 381}, 0, 0},  {12, {371, 397}, 0, 0},
      {14, {371, 406}, 0, 14},         {15, {371, 417}, 0, 15}, {16, {371, 425}, 1, 16},
      {0, {372, 375, 377, 378}, 0, 2},
  };
  for (const Case& c : cases) {
    const OpenAsChoices o = OpenAsList(c.type);
    EXPECT_EQ(o.names, c.names) << c.type;
    EXPECT_EQ(o.selected, c.selected) << c.type;
    EXPECT_EQ(o.value, c.value) << c.type;
  }
  EXPECT_EQ(OpenAsFromName(397, 7), 7);  // "Layout" keeps the value
  EXPECT_EQ(OpenAsFromName(378, 0), 10);
  EXPECT_EQ(OpenAsFromName(372, 0), 2);
  EXPECT_EQ(OpenAsFromName(425, 0), 16);
}

}  // namespace
