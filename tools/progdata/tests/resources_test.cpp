// Checks of the program's own resources and settings files as the build
// makes them: the string sources and their id header, rw.ini, the new
// user's settings template, the default layouts, and the icon, cursor and
// animated-cursor files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "resource_files.h"

namespace {

const std::string kOut = RW_PROGDATA_OUT;
const std::string kSources = RW_SHELL_RES_DIR;

std::vector<StringEntry> Sources() {
  std::vector<StringEntry> entries;
  std::string error;
  EXPECT_TRUE(ReadStringSources(kSources, &entries, &error)) << error;
  return entries;
}

std::map<int, std::string> TextsById() {
  std::map<int, std::string> out;
  for (const StringEntry& e : Sources()) out[e.id] = e.text;
  return out;
}

TEST(StringSources, IdsAndNamesAreUniqueAndTheHeaderDefinesEachName) {
  const auto entries = Sources();
  ASSERT_GT(entries.size(), 100u);
  std::map<int, std::string> ids;
  std::map<std::string, int> names;
  for (const StringEntry& e : entries) {
    EXPECT_GE(e.id, 1) << e.where;
    EXPECT_LE(e.id, 65535) << e.where;
    EXPECT_TRUE(ids.emplace(e.id, e.where).second) << e.where << " repeats id " << e.id << " of " << ids[e.id];
    EXPECT_TRUE(names.emplace(e.name, e.id).second) << e.where << " repeats " << e.name;
  }
  std::ifstream h(kOut + "/strings/rw_strings.h");
  ASSERT_TRUE(h);
  std::map<std::string, int> defined;
  std::string line;
  while (std::getline(h, line)) {
    char name[80];
    int id;
    if (std::sscanf(line.c_str(), "#define %79s %d", name, &id) == 2) defined[name] = id;
  }
  EXPECT_EQ(defined, names);
}

// Texts the code and the users rely on word for word.
TEST(StringSources, HoldTheProgramsTextsWordForWord) {
  const auto texts = TextsById();
  const std::map<int, std::string> exact = {
      {1, "Rookwell Onyx"},
      {3, "Rookwell"},
      {92, "Rookwell Onyx requires a 16-bit video mode. Would you like to open your Video Display Properties now?"},
      {93, "Rookwell Onyx Video Mode Check"},
      {94, "%s\\RunDLL32.EXE shell32.dll,Control_RunDLL %s\\DESK.CPL,,3"},
      {314, "A fatal error occurred loading Rookwell resources.  The program will now terminate."},
      {316, "A fatal error occurred loading the Duzuru Opening Book.  The program will now terminate."},
      {317, "A fatal error occurred initializing Sound playback.  The program will now terminate."},
      {1900, "Exit Now?"},
      {1086, "Player names may only contain characters that are suitable for file names.\r\n"
             "Please enter a different player name."},
      {1084, "Are you sure you want to delete all records for user %s?"},
      {87, "White to move. Mate in one."},
      {89, "Creating Puzzle..."},
      {147, "Fischer %d/%d"},
      {148, "%d Moves in %d Minutes"},
      {394, "vs"},
      {385, "File does not exist, or it is corrupt, or it is the wrong type for this operation."},
      {1701, "Custom Board"},
      {1157, "Live"},
      {10001, "Status"},
      {10014, "White - Black"},
      {10022, "Bl. Title"},
  };
  for (const auto& [id, text] : exact) {
    ASSERT_TRUE(texts.count(id)) << "string " << id << " is missing";
    EXPECT_EQ(texts.at(id), text) << "string " << id;
  }
}

TEST(StringSources, EveryIdTheProgramLoadsHasAText) {
  std::vector<int> wanted = {1, 3, 85, 86, 87, 88, 89, 92, 93, 94, 147, 148, 149, 150, 314, 316, 317, 324,
                             394, 1080, 1081, 1083, 1084, 1086, 1701, 1900};
  for (int id = 4; id <= 8; ++id) wanted.push_back(id);
  for (int id = 10; id <= 37; ++id) wanted.push_back(id);  // window keys
  for (int id = 1150; id <= 1157; ++id) wanted.push_back(id);  // navigation captions
  for (int id = 10001; id <= 10022; ++id) wanted.push_back(id);  // list columns
  // The own file dialogs' messages, titles, types and open-as choices.
  for (int id : {355, 356, 358, 361, 362, 364, 365, 366, 367, 369, 370, 371, 372, 375, 377, 378, 379, 380,
                 381, 385, 397, 398, 403, 405, 406, 407, 408, 409, 410, 411, 412, 413, 414, 415, 417, 418, 425,
                 426})
    wanted.push_back(id);
  const auto texts = TextsById();
  for (int id : wanted) {
    ASSERT_TRUE(texts.count(id)) << "string " << id << " is missing";
    EXPECT_FALSE(texts.at(id).empty()) << "string " << id;
  }
}

// Private-profile files are read and written by the system's profile
// calls: CR LF lines, "key=value" under "[section]".
IniFile Ini(const std::string& name) {
  IniFile ini;
  EXPECT_TRUE(ReadIniFile(kOut + "/" + name, &ini)) << name;
  EXPECT_TRUE(ini.crlf) << name;
  return ini;
}

TEST(MainIni, HoldsEveryKeyAtTheValueTheProgramReadsWithoutIt) {
  const IniFile ini = Ini("rw.ini");
  const std::vector<std::vector<std::string>> keys = {
      {"lookandfeel", "LastUser", ""},          {"settings", "IntroMovie", "1"},
      {"language", "NLA", "ENGMESS"},           {"engine", "book", "duzuru.obk"},
      {"debug", "auto_login", "0"},             {"debug", "auto_login_user", "TestUser"},
      {"debug", "auto_room_select", "0"},       {"lobbyroom", "board_set", "Login Puzzle"},
      {"lobbyroom", "piece_set", "Newspaper"},
  };
  size_t count = 0;
  for (const auto& s : ini.sections) count += s.second.size();
  EXPECT_EQ(count, keys.size());
  for (const auto& k : keys) EXPECT_EQ(ini.Get(k[0], k[1]), k[2]) << k[0] << "/" << k[1];
}

const std::vector<std::string> kRooms = {"lobbyroom",    "gameroom",       "kidsroom",  "classroom",
                                         "libraryroom", "databaseroom", "tournamentroom", "onlineroom"};

TEST(UserTemplate, GivesTheReadDefaultsExceptMoveSoundsAndTheEngineAsBlack) {
  const IniFile ini = Ini("RWDEFAULT.INI");
  const std::map<std::string, std::string> global = {
      {"notation_style", "3"}, {"piece_sounds", "3"}, {"NLAVoice", "1"},    {"IVAVoice", "1"},
      {"TutorialVoice", "1"},  {"IllegalMoveVoice", "1"}, {"WindowClose", "1"}, {"Buddy", "1"},
      {"ChatTell", "1"},       {"Challenge", "1"}};
  for (const auto& [key, value] : global) EXPECT_EQ(ini.Get("settings", key), value) << key;
  EXPECT_EQ(ini.Get("debug", "champ_cheat"), "0");
  for (size_t room = 0; room < kRooms.size(); ++room) {
    const std::string& s = kRooms[room];
    ASSERT_NE(ini.Section(s), nullptr) << s;
    const std::string ai = room == 2 ? "Tarn - Age 12" : "Rookwell";
    const bool engine = room == 1;
    const std::map<std::string, std::string> keys = {
        {"white_ai", ai},
        {"black_ai", ai},
        {"white_player_name", "white"},
        {"black_player_name", engine ? "Rookwell" : "black"},
        {"white_player", "0 0 0 7"},
        {"black_player", engine ? "1 0 0 7" : "0 0 0 7"},
        {"turn_lights", "0"},
        {"quick_entry", "0"},
        {"sliding_pieces", "1"},
        {"announce_openings", "1"},
        {"announce_check", "1"},
        {"timestamp_annotation", "1"},
        {"board_coordinates", "1"},
        {"highlight_moves", "1"},
        {"black_on_bottom", "0"}};
    EXPECT_EQ(ini.Section(s)->size(), keys.size()) << s;
    for (const auto& [key, value] : keys) EXPECT_EQ(ini.Get(s, key), value) << s << "/" << key;
  }
}

struct Rect {
  int l, t, r, b, shown;
};

bool Inside(const Rect& a, const Rect& outer) { return a.l >= outer.l && a.t >= outer.t && a.r <= outer.r && a.b <= outer.b; }
bool Overlap(const Rect& a, const Rect& b) { return a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b; }

class DefaultLayout : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(DefaultLayout, PlacesEveryWindowOfEachRoomOnTheScreen) {
  const auto [width, height] = GetParam();
  const std::string name = "Layouts/Default(" + std::to_string(width) + "x" + std::to_string(height) + ").LAY";
  const IniFile ini = Ini(name);
  const auto texts = TextsById();
  std::vector<std::string> keys;
  for (int id = 0; id < 28; ++id) keys.push_back(texts.at(10 + id));
  for (const std::string& room : kRooms) {
    const auto* section = ini.Section(room);
    ASSERT_NE(section, nullptr) << name << " " << room;
    const int windows = room == "lobbyroom" ? 1 : room == "databaseroom" ? 3 : 28;
    EXPECT_EQ(section->size(), size_t(windows)) << room;
    std::map<int, Rect> rects;
    for (int id = 0; id < windows; ++id) {
      const std::string value = ini.Get(room, keys[id]);
      Rect r{};
      char again[96];
      ASSERT_EQ(std::sscanf(value.c_str(), "%d %d %d %d %d", &r.l, &r.t, &r.r, &r.b, &r.shown), 5)
          << room << "/" << keys[id] << "=" << value;
      std::snprintf(again, sizeof again, "%d %d %d %d %d", r.l, r.t, r.r, r.b, r.shown);
      EXPECT_EQ(value, again) << room << "/" << keys[id];  // nothing but the five numbers
      EXPECT_LT(r.l, r.r) << room << "/" << keys[id];
      EXPECT_LT(r.t, r.b) << room << "/" << keys[id];
      EXPECT_TRUE(r.shown == 0 || r.shown == 1) << room << "/" << keys[id];
      rects[id] = r;
    }
    const Rect frame = rects[0];
    EXPECT_TRUE(Inside(frame, Rect{0, 0, width, height, 0})) << room;
    EXPECT_EQ(frame.shown, 1) << room;
    if (windows < 28) continue;
    for (int never : {11, 12, 22}) EXPECT_EQ(rects[never].shown, 0) << room << "/" << keys[never];
    EXPECT_EQ(rects[4].r - rects[4].l, rects[4].b - rects[4].t) << room << ": the board is square";
    // Shown panels lie on the frame (so they move with it) and do not cover
    // each other.
    for (int a = 5; a <= 26; ++a) {
      if (!rects[a].shown) continue;
      EXPECT_TRUE(Inside(rects[a], frame)) << room << "/" << keys[a];
      for (int b = a + 1; b <= 26; ++b) {
        if (rects[b].shown) {
          EXPECT_FALSE(Overlap(rects[a], rects[b])) << room << ": " << keys[a] << ", " << keys[b];
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, DefaultLayout,
                         ::testing::Values(std::make_pair(800, 600), std::make_pair(1024, 768),
                                           std::make_pair(1280, 1024)));

IconFile Icon(const std::string& path) {
  IconFile f;
  EXPECT_TRUE(ParseIconFile(ReadFileBytes(path), &f)) << path;
  return f;
}

const IconImage* Image32(const IconFile& f, int size) {
  for (const IconImage& i : f.images)
    if (i.bits == 32 && i.width == size && i.height == size) return &i;
  return nullptr;
}

// The drawn part of a picture: the smallest box holding every pixel that
// shows more than faintly (the soft shadow is left out).
Rect Drawn(const IconImage& img) {
  Rect box{img.width, img.height, -1, -1, 0};
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.alpha[size_t(y) * img.width + x] >= 160) {
        box.l = std::min(box.l, x), box.t = std::min(box.t, y);
        box.r = std::max(box.r, x + 1), box.b = std::max(box.b, y + 1);
      }
  return box;
}

bool DrawnNear(const IconImage& img, int x, int y, int reach) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < img.width && py < img.height && img.alpha[size_t(py) * img.width + px] >= 128)
        return true;
    }
  return false;
}

// Resource cursors: id, hot spot, and for the piece cursors the square the
// hand is drawn in (the board centres that square over the dragged piece).
struct CursorCase {
  int id, hotX, hotY, square;
};

TEST(Cursors, HaveTheirHotSpotOnTheDrawingAndPieceHandsFitTheirSquare) {
  const std::vector<CursorCase> cases = {
      {127, 8, 8, 16},  {129, 10, 10, 20}, {128, 16, 16, 32}, {141, 8, 8, 16},  {142, 10, 10, 20},
      {143, 16, 16, 32}, {114, 12, 1, 0},  {133, 16, 16, 0},  {132, 1, 1, 0},   {124, 1, 1, 0},
      {123, 1, 1, 0},   {121, 1, 1, 0},   {115, 1, 1, 0},   {125, 1, 1, 0},   {122, 1, 1, 0},
      {118, 1, 1, 0},   {117, 1, 1, 0},   {126, 1, 1, 0},   {120, 1, 1, 0},   {119, 1, 1, 0},
      {116, 1, 1, 0}};
  for (const CursorCase& c : cases) {
    const IconFile f = Icon(kOut + "/cursors/cur/" + std::to_string(c.id) + ".cur");
    ASSERT_EQ(f.type, 2) << c.id;
    const IconImage* img = Image32(f, 32);
    ASSERT_NE(img, nullptr) << c.id;
    for (const IconImage& i : f.images) {
      EXPECT_EQ(i.hotX, c.hotX) << c.id;
      EXPECT_EQ(i.hotY, c.hotY) << c.id;
    }
    EXPECT_TRUE(DrawnNear(*img, c.hotX, c.hotY, 1)) << c.id << ": hot spot off the drawing";
    if (c.square) {
      const Rect box = Drawn(*img);
      EXPECT_LE(box.r, c.square + 1) << c.id;
      EXPECT_LE(box.b, c.square + 1) << c.id;
      EXPECT_GE(box.r - box.l, c.square * 3 / 4) << c.id;
    }
  }
}

TEST(AnimatedCursors, HaveSeveralDifferentFramesEachAWholeCursor) {
  for (const char* name : {"busy.ani", "MoveBoard.ani", "SizeBoard.ani", "RotateBoard_LR.ani",
                           "RotateBoard_UD.ani", "PerspectiveBoard.ani"}) {
    AniFile ani;
    ASSERT_TRUE(ParseAniFile(ReadFileBytes(kOut + "/cursors/ani/" + name), &ani)) << name;
    EXPECT_GE(ani.frames, 6u) << name;
    EXPECT_EQ(ani.steps, ani.frames) << name;
    EXPECT_EQ(ani.frameBytes.size(), ani.frames) << name;
    EXPECT_EQ(ani.flags & 1, 1u) << name << ": frames in icon format";
    EXPECT_GT(ani.rate, 0u) << name;
    for (size_t n = 0; n < ani.frameBytes.size(); ++n) {
      IconFile frame;
      ASSERT_TRUE(ParseIconFile(ani.frameBytes[n], &frame)) << name << " frame " << n;
      EXPECT_EQ(frame.type, 2) << name;
      ASSERT_NE(Image32(frame, 32), nullptr) << name;
      if (n) {
        EXPECT_NE(ani.frameBytes[n], ani.frameBytes[n - 1]) << name << ": frame " << n << " repeats";
      }
    }
  }
}

TEST(ProgramIcon, ComesInTheUsualSizesOpaqueInsideClearAtTheCorners) {
  const IconFile f = Icon(kOut + "/cursors/rookwell.ico");
  ASSERT_EQ(f.type, 1);
  for (int size : {16, 24, 32, 48, 64}) {
    const IconImage* img = Image32(f, size);
    ASSERT_NE(img, nullptr) << size;
    EXPECT_EQ(img->alpha[0], 0) << size;
    EXPECT_EQ(img->alpha[size_t(size) * size - 1], 0) << size;
    EXPECT_EQ(img->alpha[size_t(size / 2) * size + size / 2], 255) << size;
  }
}

}  // namespace
