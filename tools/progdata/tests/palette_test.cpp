// Checks of the program data the picture scripts make: the palette's static
// and role colours, the contrast of every text pair, the colour table and
// see-through key of every picture, the ids and names the program loads,
// and the login buttons' frame-cache tags.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bmp_reader.h"

namespace fs = std::filesystem;

namespace {

const std::string kOut = RW_PROGDATA_OUT;

Bitmap8 Pal() {
  Bitmap8 pal;
  EXPECT_TRUE(ReadBitmap8(kOut + "/PAL.bmp", &pal));
  return pal;
}

double Luminance(Rgb c) {
  auto channel = [](uint8_t v) {
    double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

double Contrast(Rgb a, Rgb b) {
  double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Palette, PixelsAreTheirIndicesAndStaticColoursAreTheSystemsOwn) {
  Bitmap8 pal = Pal();
  ASSERT_EQ(pal.width, 16);
  ASSERT_EQ(pal.height, 16);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(pal.pixels[i], i);
  const std::map<int, Rgb> statics = {
      {0, {0, 0, 0}},         {1, {128, 0, 0}},       {2, {0, 128, 0}},     {3, {128, 128, 0}},
      {4, {0, 0, 128}},       {5, {128, 0, 128}},     {6, {0, 128, 128}},   {7, {192, 192, 192}},
      {8, {192, 220, 192}},   {9, {166, 202, 240}},   {246, {255, 251, 240}}, {247, {160, 160, 164}},
      {248, {128, 128, 128}}, {249, {255, 0, 0}},     {250, {0, 255, 0}},   {251, {255, 255, 0}},
      {252, {0, 0, 255}},     {253, {255, 0, 255}},   {254, {0, 255, 255}}, {255, {255, 255, 255}}};
  for (const auto& [index, colour] : statics) EXPECT_EQ(pal.table[index], colour) << "entry " << index;
}

// The colours the program's code names by index.
TEST(Palette, RoleEntriesHoldTheirDesignedColours) {
  const std::map<int, Rgb> roles = {
      {11, {232, 212, 168}}, {12, {146, 98, 58}},   {18, {238, 233, 221}}, {20, {46, 40, 34}},
      {22, {250, 248, 240}}, {23, {14, 14, 16}},    {37, {255, 252, 236}}, {41, {255, 236, 150}},
      {45, {214, 236, 214}}, {60, {196, 186, 160}}, {70, {250, 246, 232}}, {84, {214, 184, 112}},
      {100, {120, 104, 84}}, {102, {176, 206, 236}}, {137, {138, 132, 122}}, {140, {244, 214, 128}},
      {145, {38, 66, 122}},  {191, {232, 226, 210}}, {192, {54, 118, 70}},  {238, {20, 20, 24}},
      {242, {84, 80, 74}},   {243, {30, 44, 58}}};
  Bitmap8 pal = Pal();
  for (const auto& [index, colour] : roles) EXPECT_EQ(pal.table[index], colour) << "entry " << index;
}

TEST(Palette, TextPairsAreReadable) {
  struct Pair {
    int text, back;
    double least;
  };
  const Pair pairs[] = {
      {37, 145, 4.5},   // highlighted menu item
      {41, 238, 4.5},   // teaching text over its shadow
      {45, 23, 4.5},    // clock
      {45, 243, 4.5},   // list rows
      {140, 243, 4.5},  // bold tree text
      {23, 84, 4.5},    // selected row
      {238, 18, 4.5},   // menu text on the popup
      {238, 191, 4.5},  // control text on light faces
      {23, 191, 4.5},   // labels
      {137, 18, 2.5},   // greyed menu text
  };
  Bitmap8 pal = Pal();
  for (const Pair& p : pairs)
    EXPECT_GE(Contrast(pal.table[p.text], pal.table[p.back]), p.least) << p.text << " on " << p.back;
}

// Every picture of a folder; see-through ones are listed by the caller.
std::vector<fs::path> Pictures(const std::string& folder) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(kOut + "/" + folder))
    if (e.path().extension() == ".bmp") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

// The login buttons' frames, click pictures and masks are see-through
// around the button, and so are the odds board's pieces ("wk".."bp") and the
// search board's piece set (its masks come from that colour) around the
// piece, the master class star around the star, and the shortcut tiles'
// faces ("TILE<id>") at their rounded corners; the buttons' "_off"
// backgrounds and everything else is opaque.
bool SeeThrough(const fs::path& p) {
  const std::string stem = p.stem().string();
  if (stem == "PIECESET25" || stem == "MASTER_CLASS_STAR") return true;
  if (p.parent_path().parent_path().filename() == "rw256" && stem.rfind("TILE", 0) == 0) return true;
  if (p.parent_path().filename() == "frames") return stem.size() < 4 || stem.substr(stem.size() - 4) != "_off";
  if (p.parent_path().parent_path().filename() == "rw256" && stem.size() == 2)
    return (stem[0] == 'w' || stem[0] == 'b') && std::string("kqrbnp").find(stem[1]) != std::string::npos;
  return false;
}

TEST(Pictures, CarryThePaletteAndOpaqueOnesHoldNoKey) {
  Bitmap8 pal = Pal();
  std::vector<fs::path> all = {kOut + "/SPLASH.bmp", kOut + "/Wallpaper/MarbleGray.bmp",
                               kOut + "/Wallpaper/GameRoomBackground.bmp",
                               kOut + "/Wallpaper/TournamentBackground.bmp",
                               kOut + "/Wallpaper/RWLiveBackground.bmp"};
  for (const char* folder : {"skinres/bitmaps", "rw256/bitmaps", "anim/frames"}) {
    auto more = Pictures(folder);
    all.insert(all.end(), more.begin(), more.end());
  }
  ASSERT_GT(all.size(), 900u);
  for (const auto& p : all) {
    Bitmap8 b;
    ASSERT_TRUE(ReadBitmap8(p.string(), &b)) << p;
    EXPECT_TRUE(b.table == pal.table) << p;
    const bool hasKey = std::count(b.pixels.begin(), b.pixels.end(), 0) > 0;
    if (!SeeThrough(p)) {
      EXPECT_FALSE(hasKey) << p;
    }
    // Board squares are revised at run time, so no picture uses them.
    EXPECT_EQ(std::count_if(b.pixels.begin(), b.pixels.end(), [](uint8_t v) { return v == 11 || v == 12; }), 0)
        << p;
  }
}

// The game room's shortcut tiles: a face and a pressed face at the size
// each hot button takes from its caption, see-through only outside the
// rounded rim (its corners), so the Shortcuts window's felt shows there.
TEST(Pictures, ShortcutTilesFillTheirPlaces) {
  const struct {
    int id, width, height;
  } tiles[] = {{21655, 94, 80}, {21660, 94, 84}, {21650, 108, 80}, {21665, 104, 84}};
  for (const auto& t : tiles)
    for (const char* pressed : {"", "P"}) {
      const std::string name = "TILE" + std::to_string(t.id) + pressed;
      Bitmap8 b;
      ASSERT_TRUE(ReadBitmap8(kOut + "/rw256/bitmaps/" + name + ".bmp", &b)) << name;
      EXPECT_EQ(b.width, t.width) << name;
      EXPECT_EQ(b.height, t.height) << name;
      auto at = [&](int x, int y) { return b.pixels[size_t(y) * b.width + x]; };
      EXPECT_EQ(at(0, 0), 0) << name;
      EXPECT_EQ(at(b.width - 1, b.height - 1), 0) << name;
      for (int y = 8; y < b.height - 8; ++y)
        for (int x = 8; x < b.width - 8; ++x) ASSERT_NE(at(x, y), 0) << name << " " << x << "," << y;
    }
}

// The wallpaper is tiled over the room window: where one copy meets the
// next, neighbouring pixels differ no more than neighbours inside it do.
TEST(Wallpaper, TilesWithoutASeam) {
  for (const char* file : {"MarbleGray.bmp", "TournamentBackground.bmp", "RWLiveBackground.bmp"}) {
    SCOPED_TRACE(file);
    Bitmap8 b;
    ASSERT_TRUE(ReadBitmap8(kOut + "/Wallpaper/" + file, &b));
    auto lum = [&](int x, int y) { return Luminance(b.table[b.pixels[size_t(y) * b.width + x]]); };
    // Mean difference between column (or row) a and b.
    auto columns = [&](int a, int c) {
      double sum = 0;
      for (int y = 0; y < b.height; ++y) sum += std::abs(lum(a, y) - lum(c, y));
      return sum / b.height;
    };
    auto rows = [&](int a, int c) {
      double sum = 0;
      for (int x = 0; x < b.width; ++x) sum += std::abs(lum(x, a) - lum(x, c));
      return sum / b.width;
    };
    double inside = 0, worst = 0;
    for (int x = 0; x + 1 < b.width; ++x) {
      inside += columns(x, x + 1) / (b.width - 1);
      worst = std::max(worst, columns(x, x + 1));
    }
    EXPECT_LE(columns(b.width - 1, 0), worst) << "mean step inside " << inside;
    EXPECT_LE(columns(b.width - 1, 0), 2 * inside);
    inside = worst = 0;
    for (int y = 0; y + 1 < b.height; ++y) {
      inside += rows(y, y + 1) / (b.height - 1);
      worst = std::max(worst, rows(y, y + 1));
    }
    EXPECT_LE(rows(b.height - 1, 0), worst) << "mean step inside " << inside;
    EXPECT_LE(rows(b.height - 1, 0), 2 * inside);
  }
}

bool HasSkin(int id) { return fs::exists(kOut + "/skinres/bitmaps/" + std::to_string(id) + ".bmp"); }

// Ids the frame sets, the main frame, the status look and the control
// defaults load from Skinres.
TEST(Skinres, HoldsEveryIdTheLookLoads) {
  const std::vector<std::vector<int>> sets = {
      // sizable
      {30163, 30162, 30157, 30160, 30159, 30158, 30161, 30192, 30193, 30372, 30373, 30142, 30144, 30146, 30141,
       30143, 30145, 30149, 30148, 30147, 30152, 30151, 30150, 30153, 30154, 30166, 30155, 30137, 30138, 30135,
       30136, 30139, 30140, 30286},
      // border
      {30220, 30219, 30214, 30217, 30216, 30215, 30218, 30223, 30224, 30200, 30202, 30204, 30199, 30201, 30203,
       30207, 30206, 30205, 30210, 30209, 30208, 30211, 30212, 30222, 30213, 30195, 30196, 30221, 30194, 30197,
       30198},
      // dialog
      {30260, 30259, 30254, 30257, 30256, 30255, 30258, 30263, 30264, 30370, 30371, 30240, 30242, 30244, 30239,
       30241, 30243, 30247, 30246, 30245, 30250, 30249, 30248, 30251, 30252, 30262, 30253, 30235, 30236, 30261,
       30234, 30237, 30238},
      // main frame
      {30320, 30319, 30314, 30317, 30316, 30315, 30318, 30323, 30324, 30368, 30369, 30300, 30302, 30304, 30299,
       30301, 30303, 30307, 30306, 30305, 30310, 30309, 30308, 30311, 30312, 30322, 30313, 30295, 30296, 30321,
       30294, 30297, 30298},
      // status separator and the control-default examples
      {30332, 30350, 30352, 30335, 30336, 30337, 30338, 30339, 30340, 30341, 30364, 30365, 30366, 30367, 30287,
       30288, 30289, 30290, 30325, 30326, 30327, 30328, 30329, 30330, 30390, 30395}};
  for (const auto& set : sets)
    for (int id : set) EXPECT_TRUE(HasSkin(id)) << id;
  for (int id = 30175; id <= 30190; ++id) EXPECT_TRUE(HasSkin(id)) << id;
  // Button faces: navigation, shortcut tiles, column setup arrows, five states each.
  for (int base : {21550, 21555, 21560, 21565, 21570, 21575, 21580, 21595, 21650, 21655, 21660, 21665, 20450,
                   20455, 20460, 20465})
    for (int state = 0; state < 5; ++state) EXPECT_TRUE(HasSkin(base + state)) << base + state;
}

struct Size2 {
  int width = 0, height = 0;
};

Size2 SkinSize(int id) {
  Bitmap8 b;
  EXPECT_TRUE(ReadBitmap8(kOut + "/skinres/bitmaps/" + std::to_string(id) + ".bmp", &b)) << id;
  return {b.width, b.height};
}

// Pieces of a frame set that meet share their sizes, or the frame shows
// steps and gaps: side edges and corners are equally wide, top and bottom
// edges as high as the corners beside them, caption pieces equally high, and
// the frame buttons (placed 2 pixels below the caption's top) fit inside it.
TEST(Skinres, FramePiecesThatMeetShareTheirSizes) {
  struct Set {
    const char* name;
    int left[3], right[3], top[3], bottom[3], corners[4], caption[6], buttons[4];
  };
  const Set sets[] = {
      {"sizable", {30149, 30148, 30147}, {30152, 30151, 30150}, {30153, 30154, 30166}, {30155, 30137, 30138},
       {30135, 30136, 30139, 30140}, {30142, 30144, 30146, 30141, 30143, 30145}, {30163, 30162, 30160, 30158}},
      {"border", {30207, 30206, 30205}, {30210, 30209, 30208}, {30211, 30212, 30222}, {30213, 30195, 30196},
       {30221, 30194, 30197, 30198}, {30200, 30202, 30204, 30199, 30201, 30203}, {30220, 30219, 30217, 30215}},
      {"dialog", {30247, 30246, 30245}, {30250, 30249, 30248}, {30251, 30252, 30262}, {30253, 30235, 30236},
       {30261, 30234, 30237, 30238}, {30240, 30242, 30244, 30239, 30241, 30243}, {30260, 30259, 30257, 30255}},
      {"main", {30307, 30306, 30305}, {30310, 30309, 30308}, {30311, 30312, 30322}, {30313, 30295, 30296},
       {30321, 30294, 30297, 30298}, {30300, 30302, 30304, 30299, 30301, 30303}, {30320, 30319, 30317, 30315}},
  };
  for (const Set& s : sets) {
    SCOPED_TRACE(s.name);
    const Size2 tl = SkinSize(s.corners[0]), tr = SkinSize(s.corners[1]), bl = SkinSize(s.corners[2]),
                br = SkinSize(s.corners[3]);
    for (int id : s.left) EXPECT_EQ(SkinSize(id).width, tl.width) << id;
    for (int id : s.right) EXPECT_EQ(SkinSize(id).width, tr.width) << id;
    for (int id : s.top) EXPECT_EQ(SkinSize(id).height, tl.height) << id;
    for (int id : s.bottom) EXPECT_EQ(SkinSize(id).height, bl.height) << id;
    EXPECT_EQ(bl.width, tl.width);
    EXPECT_EQ(br.width, tr.width);
    EXPECT_EQ(tr.height, tl.height);
    EXPECT_EQ(br.height, bl.height);
    const int captionHeight = SkinSize(s.caption[0]).height;
    for (int id : s.caption) EXPECT_EQ(SkinSize(id).height, captionHeight) << id;
    for (int id : s.buttons) EXPECT_LE(SkinSize(id).height + 2, captionHeight) << id;
  }
  // The status separator stands in the bottom edge of the sets with a status bar.
  EXPECT_EQ(SkinSize(30332).height, SkinSize(30137).height);
  EXPECT_EQ(SkinSize(30332).height, SkinSize(30295).height);
}

TEST(Skinres, FacesHaveTheirButtonsSizes) {
  struct Face {
    int id, width, height;
  };
  const Face faces[] = {{21595, 72, 61}, {21565, 72, 52}, {21555, 72, 57}, {21580, 72, 62},
                        {21570, 72, 61}, {21550, 72, 61}, {21560, 72, 55}, {21575, 72, 63},
                        {21655, 94, 80}, {21660, 94, 84}, {21650, 108, 80}, {21665, 104, 84}};
  for (const Face& f : faces)
    for (int state = 0; state < 5; ++state) {
      Bitmap8 b;
      ASSERT_TRUE(ReadBitmap8(kOut + "/skinres/bitmaps/" + std::to_string(f.id + state) + ".bmp", &b));
      EXPECT_EQ(b.width, f.width) << f.id + state;
      EXPECT_EQ(b.height, f.height) << f.id + state;
    }
}

TEST(Rw256, HoldsEveryNameTheProgramLoads) {
  const char* names[] = {
      "LOBBY_BACKGROUND_TINY", "LOBBY_BACKGROUND_SMALL", "LOBBY_BACKGROUND_LARGE", "NAVBAR", "SHORTCUT_TILE",
      "gen_file", "gen_fils", "gameBeryl", "gameBerys", "gameTopaz", "gameTopas", "gameAmber", "gameAmbes",
      "gameJade", "gameJads", "gameOnyx", "gameOnys", "database_file", "database_fils", "text_file", "text_fils",
      "pgn_file", "pgn_fils", "tutor_file", "tutor_fils", "person_file", "person_fils", "tourn_file",
      "tourn_fils", "book_file", "book_fils", "clsfile", "clsfils", "floppydrive", "harddrive", "netdrive",
      "cdromdrive", "ramdrive", "lay_file", "lay_fils", "opn1file", "opn1fils", "opnfile", "opnfils", "computer",
      "computes", "desktop", "desktos", "network", "networs", "IDD_FILE_DIRUP_U", "IDD_FILE_DIRUP_D",
      "IDD_FILE_DIRUP_I", "IDD_FILE_NEWDIR_U", "IDD_FILE_NEWDIR_D"};
  for (const char* n : names) EXPECT_TRUE(fs::exists(kOut + "/rw256/bitmaps/" + n + ".bmp")) << n;
  struct Size {
    const char* name;
    int width, height;
  };
  for (const Size& s : {Size{"TINY", 640, 480}, Size{"SMALL", 800, 600}, Size{"LARGE", 1024, 768}}) {
    Bitmap8 b;
    ASSERT_TRUE(ReadBitmap8(kOut + "/rw256/bitmaps/LOBBY_BACKGROUND_" + s.name + ".bmp", &b));
    EXPECT_EQ(b.width, s.width);
    EXPECT_EQ(b.height, s.height);
  }
  Bitmap8 bar;
  ASSERT_TRUE(ReadBitmap8(kOut + "/rw256/bitmaps/NAVBAR.bmp", &bar));
  EXPECT_EQ(bar.width, 72);
}

// The animated button caches frames under the pattern's first three and last
// characters: no two login buttons may share that tag, and every button's
// pictures are in the pack's list, each "_off" as large as its button.
TEST(LoginButtons, PatternsHaveDistinctTagsAndEveryPicture) {
  std::ifstream f(kOut + "/anim/login_buttons.txt");
  ASSERT_TRUE(f);
  std::set<std::string> tags;
  std::string line;
  int buttons = 0;
  while (std::getline(f, line)) {
    if (line.empty() || line[0] == '#') continue;
    ++buttons;
    int x, y, w, h, count, rate;
    char pattern[64];
    const size_t brace = line.find('{');
    ASSERT_NE(brace, std::string::npos) << line;
    ASSERT_EQ(std::sscanf(line.c_str() + brace, "{p:%d,%d s:%d,%d d:anim n:%63s #:%d r:%d}", &x, &y, &w, &h,
                          pattern, &count, &rate),
              7)
        << line;
    const std::string pat = pattern;
    EXPECT_TRUE(tags.insert(pat.substr(0, 3) + pat.back()).second) << pat;
    const std::string stem = pat.substr(0, pat.find('%'));
    for (int n = 0; n < count; ++n) {
      char name[64];
      std::snprintf(name, sizeof name, pattern, n);
      Bitmap8 b;
      ASSERT_TRUE(ReadBitmap8(kOut + "/anim/frames/" + name, &b)) << name;
      EXPECT_EQ(b.width, w);
      EXPECT_EQ(b.height, h);
    }
    for (const char* suffix : {"_off.bmp", "_mask.bmp", "_click.bmp"}) {
      Bitmap8 b;
      ASSERT_TRUE(ReadBitmap8(kOut + "/anim/frames/" + stem + suffix, &b)) << stem << suffix;
      EXPECT_EQ(b.width, w);
      EXPECT_EQ(b.height, h);
    }
    EXPECT_EQ(count == 30 ? 15 : 1, rate);
  }
  EXPECT_EQ(buttons, 27);
}

}  // namespace
