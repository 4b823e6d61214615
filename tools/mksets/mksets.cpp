// mksets: the chess-set data set from a plain set list.
//
// Usage: mksets LIST PAL.bmp PIECE_DIR OUT_DIR
//
// Renders every board picture through the board projection at its own
// pixel size (4 x 4 sub-samples averaged in linear light, quantised to the
// program palette with an ordered dither), writes the four catalogue items,
// checks them against the piece sheets that the art scripts made in
// PIECE_DIR, and writes OUT_DIR/rwsets.list for the pack and
// OUT_DIR/contact.bmp, every set on both square colours.
//
// Set list lines (# starts a comment; values with spaces in double quotes):
//   board NAME size=S material=M rooms=MASK pieces=NAME [class=C]
//   pieces NAME cel=N sheet=FILE rooms=MASK [class=C] [sounds=NAME]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bmp_io.h"
#include "board_projection.h"
#include "chess_sets.h"
#include "piece_cels.h"

namespace {

constexpr int kSub = 4;

struct Entry {
  std::string type, name;
  std::map<std::string, std::string> values;
  std::string Get(const std::string& key, const std::string& fallback = "") const {
    auto it = values.find(key);
    return it == values.end() ? fallback : it->second;
  }
  long Number(const std::string& key, long fallback = 0) const {
    std::string v = Get(key);
    return v.empty() ? fallback : std::strtol(v.c_str(), nullptr, 0);
  }
};

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) out.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) out.push_back(current);
  return out;
}

bool ReadList(const std::string& path, std::vector<Entry>* entries) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    auto tokens = Tokens(line);
    if (tokens.size() < 2 || (tokens[0] != "board" && tokens[0] != "pieces")) {
      std::fprintf(stderr, "%s:%d: not a set line\n", path.c_str(), number);
      return false;
    }
    Entry e{tokens[0], tokens[1], {}};
    for (size_t i = 2; i < tokens.size(); ++i) {
      size_t eq = tokens[i].find('=');
      if (eq == std::string::npos) {
        std::fprintf(stderr, "%s:%d: %s is no key=value\n", path.c_str(), number, tokens[i].c_str());
        return false;
      }
      // A quoted value keeps its spaces: the tokenizer took the quotes off.
      e.values[tokens[i].substr(0, eq)] = tokens[i].substr(eq + 1);
    }
    entries->push_back(e);
  }
  return true;
}

// Colours: sRGB bytes in, linear light for sums.
struct Linear {
  double r, g, b;
};
double ToLinear(double c) {
  c /= 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double ToSrgb(double c) {
  c = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
  return std::clamp(c * 255.0, 0.0, 255.0);
}
Linear Lin(double r, double g, double b) { return {ToLinear(r), ToLinear(g), ToLinear(b)}; }
Linear Mix(Linear a, Linear b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Linear Scale(Linear a, double f) { return {a.r * f, a.g * f, a.b * f}; }

// Value noise and its sum over octaves, deterministic.
double Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xFFFFFF) / double(0xFFFFFF);
}
double Noise(double x, double y, int seed) {
  int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  double fx = x - ix, fy = y - iy;
  double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed), c = Hash(ix, iy + 1, seed),
         d = Hash(ix + 1, iy + 1, seed);
  return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}
double Fbm(double x, double y, int seed) {
  double sum = 0, amplitude = 0.5;
  for (int i = 0; i < 4; ++i) {
    sum += amplitude * Noise(x, y, seed + i);
    x *= 2.03, y *= 2.03, amplitude *= 0.5;
  }
  return sum;
}

// A material's colour at board-plane point (u, v), in squares.
Linear Material(const std::string& material, bool light, double u, double v, int square) {
  double su = u + square * 0.37, sv = v + square * 0.61;
  if (material == "wood" || material == "walnut" || material == "maple") {
    bool maple = material == "maple";
    Linear a = light ? (maple ? Lin(240, 214, 166) : Lin(222, 184, 128))
                     : (maple ? Lin(168, 104, 52) : Lin(110, 64, 34));
    Linear b = light ? (maple ? Lin(214, 176, 118) : Lin(196, 150, 94))
                     : (maple ? Lin(132, 76, 36) : Lin(78, 42, 22));
    double grain = Fbm(su * 1.2, sv * 9.0, 11);
    double rings = 0.5 + 0.5 * std::sin((sv * 5.0 + grain * 3.0) * 3.14159);
    return Mix(a, b, rings * 0.8);
  }
  if (material == "marble") {
    Linear a = light ? Lin(236, 234, 228) : Lin(92, 98, 96);
    Linear vein = light ? Lin(170, 170, 166) : Lin(40, 44, 44);
    double t = std::sin((su * 2.2 + sv * 1.6 + Fbm(su * 2.0, sv * 2.0, 23) * 5.0) * 3.14159);
    double veins = std::pow(1.0 - std::fabs(t), 8.0);
    return Mix(Mix(a, Scale(a, 0.94), Fbm(su * 4, sv * 4, 29)), vein, veins * 0.7);
  }
  if (material == "metal") {
    Linear a = light ? Lin(214, 218, 222) : Lin(96, 102, 110);
    double streak = Fbm(su * 0.4, sv * 48.0, 31);
    double sheen = 0.5 + 0.5 * std::sin((su - sv) * 1.3);
    return Scale(a, 0.86 + 0.16 * streak + 0.06 * sheen);
  }
  // newspaper: white light squares, dark squares hatched in ink.
  if (light) return Lin(250, 250, 248);
  double hatch = std::fmod((su + sv) * 7.0, 1.0);
  return hatch < 0.3 ? Lin(84, 84, 84) : Lin(240, 240, 236);
}

Linear FrameColour(const std::string& material) {
  if (material == "metal") return Lin(70, 74, 82);
  if (material == "marble") return Lin(60, 52, 46);
  if (material == "newspaper") return Lin(40, 40, 40);
  if (material == "maple") return Lin(96, 56, 26);
  return Lin(70, 40, 20);
}

struct Palette {
  std::array<std::array<uint8_t, 3>, 256> table;
  std::vector<int> usable;
  int Nearest(double r, double g, double b) const {
    int best = usable[0];
    double bestDistance = 1e30;
    for (int i : usable) {
      double dr = r - table[i][0], dg = g - table[i][1], db = b - table[i][2];
      double d = 0.3 * dr * dr + 0.59 * dg * dg + 0.11 * db * db;
      if (d < bestDistance) bestDistance = d, best = i;
    }
    return best;
  }
};

struct BoardPicture {
  Picture picture;           // what was written, for checks and the contact sheet
  ScreenPoint registration;  // where the board centre lies
};

// The board picture: squares through the projection at kSub times the size,
// each sub-sample's material evaluated at its board-plane point (so texture
// foreshortens on a tilted board), a bevelled frame lit from the top left.
// Flat sets are written in the program palette; tilted ones in 5-5-5 with
// the see-through key round the frame.
BoardPicture RenderBoard(const Entry& e, const Palette& pal, const std::string& path) {
  int size = static_cast<int>(e.Number("size", 200));
  std::string material = e.Get("material", "wood");
  BoardSetRecord big{};
  big.turn = 360;
  big.tilt = static_cast<int>(e.Number("tilt", 360));
  big.vanishing = static_cast<int>(e.Number("vanishing", 365));
  big.size = size * kSub;
  bool flat = big.tilt == 360;
  BoardProjection view;
  view.geometry = &big;
  UpdateBoardOffset(&view, nullptr);
  const double square = view.grid[5];
  const double frameSquares = std::max(6.0, size / 24.0) / (size / 8.0);
  const double kPi = 3.14159265358979323846;
  const double c = std::cos(big.tilt * kPi / 180), s = std::sin(big.tilt * kPi / 180);
  const double d = std::clamp(big.vanishing, 100, 600) * double(view.grid[8]) / 100;
  // Board plane (in squares from the centre) of a big window point.
  auto plane = [&](double wx, double wy, double* u, double* v) {
    double sx = wx - view.offset.x, sy = wy - view.offset.y;
    double Y = 2 * sy / (c - sy * s / d);
    double X = sx * (2 + Y * s / d);
    *u = X / square, *v = Y / square;
  };
  // Extents: the frame's outer corners projected.
  double reach = (4 + frameSquares) * square;
  int32_t bx0 = INT32_MAX, by0 = INT32_MAX, bx1 = INT32_MIN, by1 = INT32_MIN;
  for (double cy : {-reach, reach})
    for (double cx : {-reach, reach}) {
      ScreenPoint p;
      ProjectBoardPoint(view, static_cast<int32_t>(cx), static_cast<int32_t>(cy), 0, &p, nullptr);
      bx0 = std::min(bx0, p.x + view.offset.x), by0 = std::min(by0, p.y + view.offset.y);
      bx1 = std::max(bx1, p.x + view.offset.x), by1 = std::max(by1, p.y + view.offset.y);
    }
  // The top-left sits a whole number of pixels from the board centre.
  bx0 = view.offset.x - ((view.offset.x - bx0 + kSub - 1) / kSub) * kSub;
  by0 = view.offset.y - ((view.offset.y - by0 + kSub - 1) / kSub) * kSub;
  int width = (bx1 - bx0) / kSub + 1, height = (by1 - by0) / kSub + 1;
  BoardPicture out;
  out.registration = {(view.offset.x - bx0) / kSub, (view.offset.y - by0) / kSub};
  Bitmap8 bmp8;
  bmp8.width = width, bmp8.height = height, bmp8.table = pal.table;
  bmp8.pixels.assign(size_t(width) * height, 0);
  Bitmap16 bmp16;
  bmp16.width = width, bmp16.height = height;
  bmp16.pixels.assign(size_t(width) * height, kKey555);
  Linear frameBase = FrameColour(material);
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  double bevel = frameSquares * 0.45;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Linear sum{0, 0, 0};
      int covered = 0;
      for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx) {
          int32_t wx = bx0 + x * kSub + sx, wy = by0 + y * kSub + sy;
          double u, v;
          plane(wx + 0.5, wy + 0.5, &u, &v);
          int column, row;
          Linear col;
          if (HitTestSquare(view, wx, wy, &column, &row)) {
            col = Material(material, (row + column) % 2 == 0, u + 4, v + 4, row * 8 + column);
          } else {
            double toOuter = 4 + frameSquares - std::max(std::fabs(u), std::fabs(v));
            if (toOuter < 0 || !std::isfinite(toOuter)) continue;
            col = Scale(frameBase, 0.9 + 0.2 * Fbm(u * 2, v * 20, 41));
            if (toOuter < bevel) {
              bool litSide = (std::fabs(u) > std::fabs(v)) ? u < 0 : v < 0;  // left or top (far) edge
              col = Scale(col, litSide ? 2.1 : 0.45);
            } else if (toOuter > frameSquares - 0.06) {
              bool shadow = (std::fabs(u) > std::fabs(v)) ? u < 0 : v < 0;
              col = Scale(col, shadow ? 0.5 : 1.6);
            }
          }
          sum.r += col.r, sum.g += col.g, sum.b += col.b;
          ++covered;
        }
      size_t at = size_t(y) * width + x;
      double dither = (kBayer[y & 3][x & 3] - 7.5) * 0.9;
      if (flat) {
        // A flat picture is covered everywhere; stray edge pixels take the frame.
        if (covered == 0) sum = frameBase, covered = 1;
        bmp8.pixels[at] = static_cast<uint8_t>(pal.Nearest(ToSrgb(sum.r / covered) + dither,
                                                           ToSrgb(sum.g / covered) + dither,
                                                           ToSrgb(sum.b / covered) + dither));
      } else if (covered * 2 >= kSub * kSub) {
        auto five = [&](double lin) {
          return std::clamp(static_cast<int>(ToSrgb(lin / covered) + dither * 0.9 + 0.5), 0, 255) >> 3;
        };
        bmp16.pixels[at] = static_cast<uint16_t>(five(sum.r) << 10 | five(sum.g) << 5 | five(sum.b));
      }
    }
  if (flat) {
    WriteBitmap8(path, bmp8);
    out.picture = PictureOf(bmp8, false);
  } else {
    WriteBitmap16(path, bmp16);
    out.picture = PictureOf(bmp16);
  }
  return out;
}

// Key pixels that the sheet's border cannot reach through key pixels are
// holes inside a piece.
int CountEnclosedKeyPixels(const Picture& sheet, int x0, int y0, int w, int h) {
  std::vector<uint8_t> seen(size_t(w) * h, 0);
  std::vector<std::pair<int, int>> stack;
  for (int x = 0; x < w; ++x) stack.push_back({x, 0}), stack.push_back({x, h - 1});
  for (int y = 0; y < h; ++y) stack.push_back({0, y}), stack.push_back({w - 1, y});
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    if (x < 0 || y < 0 || x >= w || y >= h || seen[size_t(y) * w + x]) continue;
    if (!sheet.key[size_t(y0 + y) * sheet.width + x0 + x]) continue;
    seen[size_t(y) * w + x] = 1;
    stack.push_back({x + 1, y}), stack.push_back({x - 1, y}), stack.push_back({x, y + 1}),
        stack.push_back({x, y - 1});
  }
  int holes = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (sheet.key[size_t(y0 + y) * sheet.width + x0 + x] && !seen[size_t(y) * w + x]) ++holes;
  return holes;
}

void Blit(std::vector<uint8_t>* rgb, int width, int height, const Picture& src, int sx, int sy, int w, int h,
          int dx, int dy, bool keyed) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int tx = dx + x, ty = dy + y;
      if (tx < 0 || ty < 0 || tx >= width || ty >= height) continue;
      size_t at = size_t(sy + y) * src.width + sx + x;
      if (keyed && src.key[at]) continue;
      std::copy_n(src.rgb[at].begin(), 3, rgb->begin() + (size_t(ty) * width + tx) * 3);
    }
}

std::string Basename(const std::string& name) {
  std::string out;
  for (char c : name) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return out;
}

bool WriteItem(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: mksets LIST PAL.bmp PIECE_DIR OUT_DIR\n");
    return 2;
  }
  std::string listPath = argv[1], pieceDir = argv[3], outDir = argv[4];
  std::vector<Entry> entries;
  if (!ReadList(listPath, &entries)) return 1;
  Bitmap8 palBitmap;
  if (!ReadBitmap8(argv[2], &palBitmap)) {
    std::fprintf(stderr, "mksets: cannot read the palette %s\n", argv[2]);
    return 1;
  }
  Palette pal{palBitmap.table, {}};
  for (int i = 10; i < 246; ++i)
    if (i != 11 && i != 12) pal.usable.push_back(i);
  int markLight = pal.Nearest(168, 204, 240), markDark = pal.Nearest(64, 108, 176);

  int failures = 0;
  auto fail = [&](const std::string& what) {
    std::fprintf(stderr, "mksets: %s\n", what.c_str());
    ++failures;
  };
  std::vector<BoardSetRecord> boards;
  std::vector<PieceSetRecord> pieces;
  std::vector<BoardPicture> pictures;
  std::map<std::string, Picture> sheets;
  std::vector<std::pair<std::string, std::string>> packItems;  // path, item name
  for (const Entry& e : entries) {
    if (e.type == "board") {
      BoardSetRecord b{};
      int size = static_cast<int>(e.Number("size", 200));
      SetRecordName(b.name, e.name);
      std::string item = Basename(e.name) + ".bmp";
      SetRecordName(b.boardItem, item);
      b.kindWord = MakeKindWord(static_cast<uint32_t>(e.Number("kind", BOARD_FLAT)),
                                static_cast<uint32_t>(e.Number("class", 1)));
      b.previewFlag = -1;
      b.turn = 360;
      b.tilt = static_cast<int32_t>(e.Number("tilt", 360));
      b.vanishing = static_cast<int32_t>(e.Number("vanishing", 365));
      b.size = size;
      b.lightColour = markLight;
      b.darkColour = markDark;
      b.roomsMask = static_cast<uint32_t>(std::strtoul(e.Get("rooms", "0xFFFFFFFE").c_str(), nullptr, 0));
      SetRecordName(b.defaultPieceSet, e.Get("pieces"));
      BoardPicture picture = RenderBoard(e, pal, outDir + "/" + item);
      b.centreX = picture.registration.x;
      b.centreY = picture.registration.y;
      packItems.push_back({outDir + "/" + item, item});
      boards.push_back(b);
      pictures.push_back(picture);
    } else {
      PieceSetRecord p{};
      int cel = static_cast<int>(e.Number("cel", 25));
      int celHeight = static_cast<int>(e.Number("celh", cel));
      SetRecordName(p.name, e.name);
      std::string sheet = e.Get("sheet");
      SetRecordName(p.sheetItem, sheet);
      p.previewFlag = -1;
      p.kindWord = MakeKindWord(static_cast<uint32_t>(e.Number("kind", BOARD_FLAT)),
                                static_cast<uint32_t>(e.Number("class", 1)));
      p.celWidth = cel;
      p.celHeight = celHeight;
      p.cursorKind = ChoosePieceCursorKind(cel * 8);
      SetRecordName(p.soundSet, e.Get("sounds"));
      p.roomsMask = static_cast<uint32_t>(std::strtoul(e.Get("rooms", "0xFFFFFFFE").c_str(), nullptr, 0));
      Picture bitmap;
      if (!ReadPicture(pieceDir + "/" + sheet, &bitmap)) {
        fail("piece sheet " + sheet + " of " + e.name + " does not read");
      } else {
        for (int colour = 0; colour < 2; ++colour)
          for (int kind = 0; kind < 6; ++kind) {
            int32_t x, y;
            PieceCelRect(colour, kind, -1, &x, &y, cel, celHeight);
            if (x + cel > bitmap.width || y + celHeight > bitmap.height) {
              fail(e.name + ": a cel lies outside its sheet");
              continue;
            }
            if (int holes = CountEnclosedKeyPixels(bitmap, x, y, cel, celHeight))
              fail(e.name + ": " + std::to_string(holes) + " key pixels inside a piece");
          }
        sheets[sheet] = bitmap;
        packItems.push_back({pieceDir + "/" + sheet, sheet});
      }
      pieces.push_back(p);
    }
  }
  // Every board's default piece set exists; every piece set is some board's
  // or fits one by its size class.
  std::vector<bool> used(pieces.size(), false);
  for (const BoardSetRecord& b : boards) {
    bool found = false;
    for (size_t i = 0; i < pieces.size(); ++i)
      if (RecordName(pieces[i].name, kSetNameSize) == RecordName(b.defaultPieceSet, kSetNameSize))
        found = used[i] = true;
    if (!found)
      fail(RecordName(b.name, kSetNameSize) + ": no piece set " + RecordName(b.defaultPieceSet, 32));
  }
  for (size_t i = 0; i < pieces.size(); ++i)
    if (!used[i]) fail(RecordName(pieces[i].name, kSetNameSize) + " is no board's piece set");
  // Registration: the picture's pixel at each square's projected centre is
  // that square's colour; light squares brighter than dark ones, a8 light.
  for (size_t n = 0; n < boards.size() * 2; ++n) {
    size_t i = n / 2;
    BoardSetRecord g = boards[i];
    g.originX = g.originY = 0;
    if (n % 2) g.turn = 180;  // Black at the bottom: the same picture
    BoardProjection view;
    view.geometry = &g;
    UpdateBoardOffset(&view, nullptr);
    double leastLight = 1e9, mostDark = -1;
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 8; ++c) {
        ScreenPoint centre;
        SquareCentre(view, r, c, &centre, nullptr);
        int px = centre.x - view.pictureOrigin.x, py = centre.y - view.pictureOrigin.y;
        const Picture& bmp = pictures[i].picture;
        if (px < 0 || py < 0 || px >= bmp.width || py >= bmp.height) {
          fail(RecordName(g.name, 32) + ": a square centre lies off the picture");
          continue;
        }
        // The square's mean over a small patch, as materials vary.
        double sum = 0;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) {
            const auto& t = bmp.rgb[size_t(py + dy) * bmp.width + px + dx];
            sum += 0.3 * t[0] + 0.59 * t[1] + 0.11 * t[2];
          }
        if ((r + c) % 2 == 0)
          leastLight = std::min(leastLight, sum);
        else
          mostDark = std::max(mostDark, sum);
      }
    if (leastLight <= mostDark)
      fail(RecordName(g.name, 32) + ": squares are not where the projection puts them");
  }

  WriteItem(outDir + "/" + kChessSetHeaderItem, EncodeChessSetHeader(static_cast<int32_t>(boards.size()),
                                                                     static_cast<int32_t>(pieces.size()), 0));
  WriteItem(outDir + "/" + kBoardDataItem, EncodeBoardSets(boards));
  WriteItem(outDir + "/" + kPieceDataItem, EncodePieceSets(pieces));
  WriteItem(outDir + "/" + kSoundDataItem, EncodeSoundSets({}));
  for (const char* item : {kChessSetHeaderItem, kBoardDataItem, kPieceDataItem, kSoundDataItem})
    packItems.push_back({outDir + "/" + item, item});
  {
    std::ofstream list(outDir + "/rwsets.list");
    for (const auto& [path, name] : packItems) list << path << "=" << name << "\n";
  }

  // Contact sheet: each board with its pieces in the initial position,
  // then each piece set on a light and a dark square.
  int sheetWidth = 0, sheetHeight = 0;
  const int kStandingRoom = 64;
  for (const BoardPicture& p : pictures) {
    sheetWidth = std::max(sheetWidth, p.picture.width);
    sheetHeight += p.picture.height + 8 + kStandingRoom;
  }
  for (const PieceSetRecord& p : pieces) {
    sheetWidth = std::max(sheetWidth, (p.celWidth + 4) * 12);
    sheetHeight += p.celHeight * 2 + 8;
  }
  std::vector<uint8_t> rgb(size_t(sheetWidth) * sheetHeight * 3, 96);
  int top = 0;
  static const char* const kBackRank = "RNBQKBNR";
  for (size_t i = 0; i < boards.size(); ++i) {
    const Picture& bmp = pictures[i].picture;
    // Room above a tilted board for the far pieces, as the window's top margin gives.
    if (boards[i].tilt != 360) top += kStandingRoom;
    Blit(&rgb, sheetWidth, sheetHeight, bmp, 0, 0, bmp.width, bmp.height, 0, top, true);
    BoardSetRecord g = boards[i];
    g.originX = g.originY = 0;
    BoardProjection view;
    view.geometry = &g;
    UpdateBoardOffset(&view, nullptr);
    const PieceSetRecord* set = nullptr;
    for (const PieceSetRecord& p : pieces)
      if (RecordName(p.name, 32) == RecordName(g.defaultPieceSet, 32)) set = &p;
    auto sheet = set ? sheets.find(RecordName(set->sheetItem, kItemNameSize)) : sheets.end();
    if (sheet != sheets.end()) {
      for (int r : {0, 1, 6, 7})
        for (int c = 0; c < 8; ++c) {
          int colour = r < 2 ? 1 : 0;
          int kind = (r == 1 || r == 6) ? 5 : static_cast<int>(std::string("KQRBNP").find(kBackRank[c]));
          int32_t sx, sy;
          PieceCelRect(colour, kind, -1, &sx, &sy, set->celWidth, set->celHeight);
          ScreenPoint centre;
          SquareCentre(view, r, c, &centre, nullptr);
          // Flat pieces are centred on the square; standing ones have their
          // foot at (w / 2, h - w / 4).
          bool flat = IsFlatBoard(g);
          int dx = centre.x - view.pictureOrigin.x - set->celWidth / 2;
          int dy = centre.y - view.pictureOrigin.y + top -
                   (flat ? set->celHeight / 2 : set->celHeight - set->celWidth / 4);
          Blit(&rgb, sheetWidth, sheetHeight, sheet->second, sx, sy, set->celWidth, set->celHeight, dx, dy,
               true);
        }
    }
    top += bmp.height + 8;
  }
  for (const PieceSetRecord& p : pieces) {
    auto sheet = sheets.find(RecordName(p.sheetItem, kItemNameSize));
    int w = p.celWidth, h = p.celHeight;
    for (int colour = 0; colour < 2; ++colour)
      for (int kind = 0; kind < 6; ++kind)
        for (int square = 0; square < 2; ++square) {
          int dx = (kind * 2 + square) * (w + 4), dy = top + colour * h;
          const uint8_t light[3] = {232, 212, 168}, dark[3] = {146, 98, 58};
          for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
              if (dx + x < sheetWidth && dy + y < sheetHeight)
                std::copy_n(square ? dark : light, 3,
                            rgb.begin() + (size_t(dy + y) * sheetWidth + dx + x) * 3);
          if (sheet == sheets.end()) continue;
          int32_t sx, sy;
          PieceCelRect(colour, kind, -1, &sx, &sy, w, h);
          Blit(&rgb, sheetWidth, sheetHeight, sheet->second, sx, sy, w, h, dx, dy, true);
        }
    top += h * 2 + 8;
  }
  WriteBitmap24(outDir + "/contact.bmp", sheetWidth, sheetHeight, rgb);
  return failures ? 1 : 0;
}
