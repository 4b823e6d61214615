// Chess-set catalogue: item images, loading, lookups and sound extraction.
#include "chess_sets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

namespace {

BoardSetRecord SampleBoard() {
  BoardSetRecord b{};
  SetRecordName(b.name, "Oak Small");
  SetRecordName(b.boardItem, "oak_s.bmp");
  SetRecordName(b.previewItem, "oak_s_pv.bmp");
  b.kindWord = MakeKindWord(BOARD_FLAT, 1);
  b.previewFlag = -1;
  b.turn = 360;
  b.tilt = 360;
  b.vanishing = 365;
  b.centreX = 110;
  b.centreY = 115;
  b.size = 200;
  b.originX = 3;
  b.originY = -4;
  b.lightColour = 0x10000 | 200;
  b.darkColour = 201;
  b.roomsMask = 0x80000001u;
  for (int k = 0; k < 8; ++k) SetRecordName(b.groupItems[k], "grp" + std::to_string(k + 4));
  SetRecordName(b.defaultPieceSet, "Figurine");
  b.labelX[0] = 1, b.labelY[0] = 2, b.labelX[1] = 3, b.labelY[1] = 4, b.lightX = 5, b.lightY = 6;
  return b;
}

PieceSetRecord SamplePiece(const char* name, const char* sounds) {
  PieceSetRecord p{};
  SetRecordName(p.name, name);
  SetRecordName(p.sheetItem, "fig_s.bmp");
  SetRecordName(p.previewItem, "");
  p.previewFlag = -1;
  p.kindWord = MakeKindWord(BOARD_FLAT, 1);
  p.celWidth = 25;
  p.celHeight = 26;
  p.cursorKind = 0;
  p.celFlag = 0;
  SetRecordName(p.soundSet, sounds);
  p.roomsMask = 0xFFFFFFFFu;
  return p;
}

SoundSetRecord SampleSounds(const char* name, const char* prefix) {
  SoundSetRecord s{};
  SetRecordName(s.name, name);
  for (int i = 0; i < kSetSounds; ++i) SetRecordName(s.sounds[i], std::string(prefix) + std::to_string(i));
  return s;
}

std::vector<uint8_t> ReadGolden(const char* name) {
  std::ifstream in(std::string(BOARDVIEW_TESTDATA) + "/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Golden images written once from the layout tables; a writer change that
// moves a field shows here. RW_WRITE_GOLDEN=1 rewrites them.
TEST(ChessSetItems, GoldenRecords) {
  struct Case {
    const char* file;
    std::vector<uint8_t> bytes;
    size_t size;
  } cases[] = {
      {"board_record.bin", EncodeBoardSets({SampleBoard()}), kBoardSetRecordSize},
      {"piece_record.bin", EncodePieceSets({SamplePiece("Figurine", "Wood")}), kPieceSetRecordSize},
      {"sound_record.bin", EncodeSoundSets({SampleSounds("Wood", "wd")}), kSoundSetRecordSize},
  };
  for (auto& c : cases) {
    ASSERT_EQ(c.bytes.size(), c.size);
    if (getenv("RW_WRITE_GOLDEN")) {
      std::ofstream(std::string(BOARDVIEW_TESTDATA) + "/" + c.file, std::ios::binary)
          .write(reinterpret_cast<const char*>(c.bytes.data()), c.bytes.size());
    }
    EXPECT_EQ(ReadGolden(c.file), c.bytes) << c.file;
  }
  // Spot checks against the field offsets.
  auto board = EncodeBoardSets({SampleBoard()});
  EXPECT_EQ(board[288], 1);     // size class low
  EXPECT_EQ(board[290], 1);     // board kind high half
  EXPECT_EQ(board[308], 110);   // centre x
  EXPECT_EQ(board[324], 3);     // origin x
  EXPECT_EQ(board[328], 0xFC);  // origin y -4
  EXPECT_EQ(board[347], 0x80);  // rooms mask bit 31
  EXPECT_EQ(board[348 + 128 * 7], 'g');
  EXPECT_EQ(board[1372], 'F');
  EXPECT_EQ(board[1424], 6);
}

TEST(ChessSetItems, UnreadFieldsCarriedOnReadWrittenZero) {
  auto bytes = EncodeBoardSets({SampleBoard()});
  bytes[321] = 0x5A;
  bytes[1500] = 0xA5;
  BoardSetRecord r;
  DecodeBoardSet(bytes.data(), &r);
  EXPECT_EQ(r.unread320[1], 0x5A);
  EXPECT_EQ(r.unread1428[1500 - 1428], 0xA5);
  auto again = EncodeBoardSets({r});
  EXPECT_EQ(again[321], 0);
  EXPECT_EQ(again[1500], 0);
  // A name filling its whole field is read terminated.
  std::fill(bytes.begin(), bytes.begin() + 32, 'x');
  DecodeBoardSet(bytes.data(), &r);
  EXPECT_EQ(RecordName(r.name, 32), std::string(31, 'x'));
}

struct FakeHost : ChessSetHost {
  bool open = true;
  std::map<std::string, std::vector<uint8_t>> items;
  std::vector<std::pair<std::string, size_t>> written;
  bool DataSetOpen() override { return open; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    auto it = items.find(name);
    if (it == items.end()) return false;
    *out = it->second;
    return true;
  }
  std::string GetSoundFileName(int n) override {
    static const char* const kNames[] = {"wmove.wav",   "bmove.wav",  "check.wav",   "mate.wav",
                                         "capture.wav", "castle.wav", "promote.wav", "draw.wav"};
    return kNames[n];
  }
  std::string ProgramFolder() override { return "C:\\Rookwell"; }
  bool WriteWaveFile(const std::vector<uint8_t>& data, const std::string& path) override {
    written.emplace_back(path, data.size());
    return true;
  }
};

FakeHost CatalogueHost() {
  FakeHost host;
  BoardSetRecord b2 = SampleBoard();
  SetRecordName(b2.name, "Marble Large");
  host.items[kChessSetHeaderItem] = EncodeChessSetHeader(2, 3, 3);
  host.items[kBoardDataItem] = EncodeBoardSets({SampleBoard(), b2});
  host.items[kPieceDataItem] = EncodePieceSets(
      {SamplePiece("Figurine", "Wood"), SamplePiece("FIGURINE", "none"), SamplePiece("Staunton", "wood")});
  host.items[kSoundDataItem] =
      EncodeSoundSets({SampleSounds("Wood", "a"), SampleSounds("Glass", "g"), SampleSounds("WOOD", "b")});
  return host;
}

TEST(ChessSetCatalogue, LookupsAndCopies) {
  FakeHost host = CatalogueHost();
  ChessSetCatalogue cat;
  // Before loading every lookup answers "none".
  EXPECT_EQ(cat.FindBoardSet("Oak Small"), -1);
  EXPECT_EQ(cat.GetBoardSetRecord(0), nullptr);
  BoardSetRecord out{};
  EXPECT_FALSE(cat.CopyBoardSet(&out, 0));
  EXPECT_FALSE(cat.Unload());

  ASSERT_TRUE(cat.Load(&host));
  EXPECT_EQ(cat.FindBoardSet("oak SMALL"), 0);
  EXPECT_EQ(cat.FindBoardSet("Marble Large"), 1);
  EXPECT_EQ(cat.FindBoardSet("Oak"), -1);
  EXPECT_EQ(cat.FindPieceSet("figurine"), 0);  // the first of two that differ in case
  EXPECT_EQ(cat.FindPieceSet(nullptr), -1);
  EXPECT_EQ(cat.GetBoardSetRecord(-1), nullptr);
  EXPECT_EQ(cat.GetBoardSetRecord(2), nullptr);
  ASSERT_NE(cat.GetBoardSetRecord(1), nullptr);
  EXPECT_FALSE(cat.CopyBoardSet(&out, 2));
  EXPECT_FALSE(cat.CopyBoardSet(&out, -1));
  EXPECT_FALSE(cat.CopyPieceSet(nullptr, 0));
  ASSERT_TRUE(cat.CopyBoardSet(&out, 0));
  EXPECT_EQ(out.originY, -4);
  EXPECT_EQ(out.roomsMask, 0x80000001u);
  std::vector<uint8_t> item;
  host.items["grp11"] = {1, 2};
  EXPECT_TRUE(LoadBoardSetItem(&host, out, &item, 11));
  EXPECT_FALSE(LoadBoardSetItem(&host, out, &item, 12));
  EXPECT_FALSE(LoadBoardSetItem(&host, out, &item, 1));
  EXPECT_FALSE(LoadBoardSetItem(&host, out, &item, 4));  // named but not in the data set
  EXPECT_FALSE(LoadPieceSetItem(&host, *cat.GetPieceSetRecord(0), &item, 1));  // empty name
  EXPECT_FALSE(LoadPieceSetItem(&host, *cat.GetPieceSetRecord(0), &item, 2));
  EXPECT_TRUE(cat.Unload());
  EXPECT_EQ(cat.GetPieceSetRecord(0), nullptr);
}

TEST(ChessSetCatalogue, RefusesItemsShorterThanTheirCounts) {
  ChessSetCatalogue cat;
  {
    FakeHost host = CatalogueHost();
    host.open = false;
    EXPECT_FALSE(cat.Load(&host));
  }
  const struct {
    const char* item;
    int cut;  // bytes taken off the item, -1 to remove it
  } kCases[] = {
      {"BoardData.bin", 1}, {"PieceData.bin", -1}, {"SoundData.bin", 160}, {"ChessSetHeader.bin", 13}};
  for (const auto& c : kCases) {
    FakeHost host = CatalogueHost();
    if (c.cut < 0)
      host.items.erase(c.item);
    else
      host.items[c.item].resize(host.items[c.item].size() - c.cut);
    EXPECT_FALSE(cat.Load(&host)) << c.item;
    EXPECT_FALSE(cat.loaded());
    EXPECT_EQ(cat.GetBoardSetRecord(0), nullptr);
  }
  FakeHost host = CatalogueHost();
  host.items[kChessSetHeaderItem] = EncodeChessSetHeader(-1, 3, 3);
  EXPECT_FALSE(cat.Load(&host));
  // Zero sound sets need no sound item.
  host = CatalogueHost();
  host.items[kChessSetHeaderItem] = EncodeChessSetHeader(2, 3, 0);
  host.items.erase(kSoundDataItem);
  EXPECT_TRUE(cat.Load(&host));
}

TEST(ChessSetCatalogue, ExtractSetSounds) {
  FakeHost host = CatalogueHost();
  for (int i = 0; i < 8; ++i) host.items["b" + std::to_string(i)] = std::vector<uint8_t>(100 + i);
  host.items.erase("b3");
  ChessSetCatalogue cat;
  ASSERT_TRUE(cat.Load(&host));
  SoundSetRecord out = SampleSounds("Keep", "k");
  // No match: the output keeps its contents (and its sounds, none of which load).
  EXPECT_EQ(cat.ExtractSetSounds(&host, *cat.GetPieceSetRecord(1), &out), 0);
  EXPECT_EQ(RecordName(out.name, 32), "Keep");
  EXPECT_TRUE(host.written.empty());
  // Two matches ignoring case: the last wins.
  EXPECT_EQ(cat.ExtractSetSounds(&host, *cat.GetPieceSetRecord(0), &out), 0);
  EXPECT_EQ(RecordName(out.name, 32), "WOOD");
  ASSERT_EQ(host.written.size(), 7u);  // b3 does not load
  EXPECT_EQ(host.written[0].first, "C:\\Rookwell\\wmove.wav");
  EXPECT_EQ(host.written[0].second, 100u);
  EXPECT_EQ(host.written[3].first, "C:\\Rookwell\\capture.wav");
}

}  // namespace
