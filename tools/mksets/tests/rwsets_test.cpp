// The generated chess-set items read back through the catalogue: lookups,
// rooms, defaults, and every named item present.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "chess_sets.h"

namespace {

struct FolderHost : ChessSetHost {
  std::string folder = SETS_DIR;
  bool DataSetOpen() override { return true; }
  bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) override {
    std::ifstream in(folder + "/" + name, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), {});
    return true;
  }
  std::string GetSoundFileName(int) override { return std::string(); }
  std::string ProgramFolder() override { return std::string(); }
  bool WriteWaveFile(const std::vector<uint8_t>&, const std::string&) override { return false; }
};

TEST(GeneratedSets, CatalogueReadsBack) {
  FolderHost host;
  ChessSetCatalogue catalogue;
  ASSERT_TRUE(catalogue.Load(&host));
  ASSERT_GE(catalogue.boardCount(), 6);
  int metal = catalogue.FindBoardSet("2d black & white metal small");
  ASSERT_GE(metal, 0);
  const BoardSetRecord* layoutDefault = catalogue.GetBoardSetRecord(metal);
  EXPECT_EQ(RecordName(layoutDefault->defaultPieceSet, kSetNameSize), "Black & White Figurine Small");
  int login = catalogue.FindBoardSet("Login Puzzle");
  ASSERT_GE(login, 0);
  EXPECT_TRUE(catalogue.GetBoardSetRecord(login)->roomsMask & 1);
  EXPECT_GE(catalogue.FindPieceSet("Newspaper"), 0);

  uint32_t rooms = 0;
  std::map<uint32_t, int> sizeClasses;
  bool perspective = false;
  for (int i = 0; i < catalogue.boardCount(); ++i) {
    const BoardSetRecord& b = *catalogue.GetBoardSetRecord(i);
    rooms |= b.roomsMask;
    ++sizeClasses[b.kindWord & 0xFFFF];
    if (b.kindWord >> 16 == BOARD_PERSPECTIVE) {
      perspective = true;
      EXPECT_EQ(b.turn, 360);
      EXPECT_EQ(b.tilt, 300);
      EXPECT_EQ(b.vanishing, 365);
    }
    std::vector<uint8_t> item;
    EXPECT_TRUE(LoadBoardSetItem(&host, b, &item, 2)) << b.name;
    int piece = catalogue.FindPieceSet(b.defaultPieceSet);
    ASSERT_GE(piece, 0) << b.name;
    EXPECT_TRUE(LoadPieceSetItem(&host, *catalogue.GetPieceSetRecord(piece), &item, 0)) << b.defaultPieceSet;
    // Mark colours are palette entries of the program's own range.
    EXPECT_GE(b.lightColour, 10);
    EXPECT_LE(b.darkColour, 245);
  }
  EXPECT_EQ(rooms, 0xFFFFFFFFu);
  for (uint32_t sizeClass : {1u, 2u, 4u, 8u}) EXPECT_GT(sizeClasses[sizeClass], 0) << sizeClass;
  EXPECT_TRUE(perspective);
}

}  // namespace
