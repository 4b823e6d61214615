#include "game_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "file_errors.h"
#include "files_test_support.h"
#include "header_access.h"
#include "pgn_read.h"

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

void Put32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>(v >> (8 * i)));
}
uint32_t Get32(const std::string& s, size_t at) {
  const uint8_t* p = Bytes(s) + at;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint8_t b = static_cast<uint8_t>(bytes[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
    if (i % 32 == 31) out += '\n';
  }
  return out + "\n";
}

// A small game with fixed fields: 1. e4 e5 (1... c5 {Sicilian}) 2. Nf3.
GamePtr SmallGame() {
  GamePtr game = MakeGame();
  InitGameHeader(game.get(), "Rookwell game", 2026, 12, 8);
  SetGameEvent(game.get(), "Club");
  SetPlayerName(game.get(), 1, "Anna");
  SetPlayerName(game.get(), 0, "Ben");
  SetGameRemarks(game.get(), "remarks");
  EXPECT_TRUE(PlayMoves(game.get(), "e4 e5 Nf3"));
  SeekToPly(game.get(), 2);
  Board before = game->position;
  MoveRecord undo = *GetCurrentMove(game.get());
  UnmakeMove(&undo, &before);
  MoveRecord c5{};
  EXPECT_TRUE(ParseAlgebraicMove(&c5, "c5", &before, BLACK));
  MoveRecord* added = AddVariationToGame(game.get(), &c5);
  EXPECT_NE(added, nullptr);
  SetMoveString(added, "Sicilian", SLOT_COMMENT);
  SeekToPly(game.get(), 1);
  return game;
}

TEST(GameFile, GoldenVersion8Image) {
  GamePtr game = SmallGame();
  std::string image;
  ASSERT_TRUE(BuildGameFileImage(game.get(), &image));
  // Fixed points of the layout.
  EXPECT_EQ(image.substr(0, 14), std::string("Rookwell game\0", 14));
  EXPECT_EQ(static_cast<uint8_t>(image[32]), 0x1A);
  EXPECT_EQ(image[33], 8);
  EXPECT_EQ(Get32(image, 788), 7u);  // "remarks" without its NUL
  EXPECT_EQ(image.substr(792, 8), std::string("remarks\0", 8));
  const size_t v = 800 + 4 * 4;
  EXPECT_EQ(image[v], 8);
  EXPECT_EQ(std::string(image.data() + v + 5), "Anna");
  EXPECT_EQ(std::string(image.data() + v + 4505), "Ben");
  EXPECT_EQ(image[v + 9009], WHITE);
  EXPECT_EQ(Get32(image, v + 9138), 1u);  // saved ply
  EXPECT_EQ(image[v + 9142], 0x64);       // e2, the first move's from square
  EXPECT_EQ(Get32(image, image.size() - 4), kGameFileEndMarker);
  // Records: e4 (continuation), e5 (alternative c5 follows, then Nf3), c5
  // with its comment counted with the NUL, Nf3.
  const size_t moves = v + 9142;
  EXPECT_EQ(Get32(image, moves + 64 + 20), 2u);
  EXPECT_EQ(Get32(image, moves + 88 + 64 + 20), 3u);
  EXPECT_EQ(Get32(image, moves + 2 * 88 + 64), 9u);
  EXPECT_EQ(image.size(), moves + 4 * 88 + 9 + 4);

  std::string golden = ReadFileText(std::string(RW_GAMEFILES_DATA) + "/small_v8.hex");
  EXPECT_TRUE(Hex(image) == golden) << "the image changed; the new one is in "
                                    << TempPath("small_v8.hex.new");
  if (Hex(image) != golden) WriteFileText(TempPath("small_v8.hex.new"), Hex(image));
}

TEST(GameFile, SaveAndLoadKeepsTreeCommentsAndPly) {
  MessageHost host;
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "e4 e5 Nf3 Nc6 Bb5 a6 Ba4"));
  SetMoveString(GetCurrentMove(game.get()), "retreat", SLOT_COMMENT);
  SetMoveString(GetCurrentMove(game.get()), "auto", SLOT_ANNOTATION);
  // Two alternatives to the third ply.
  SeekToPly(game.get(), 3);
  Board before = game->position;
  MoveRecord undo = *GetCurrentMove(game.get());
  UnmakeMove(&undo, &before);
  for (const char* alt : {"Bc4", "d4"}) {
    MoveRecord m{};
    ASSERT_TRUE(ParseAlgebraicMove(&m, alt, &before, WHITE));
    ASSERT_NE(AddVariationToGame(game.get(), &m), nullptr);
  }
  SeekToPly(game.get(), 5);
  std::string path = TempPath("saved.RWG");
  ASSERT_EQ(WriteGameFile(path.c_str(), game.get()), 0);

  GamePtr back = MakeGame();
  ASSERT_EQ(LoadGameFile(path.c_str(), back.get()), 1) << (host.messages.empty() ? "" : host.messages.back());
  EXPECT_EQ(GetCurrentPly(back.get()), 5);
  EXPECT_EQ(back->sideToMove, BLACK);
  EXPECT_EQ(DumpTree(back.get()), DumpTree(game.get()));
  MoveRecord* third = back->tree->root.firstChild->firstChild->firstChild->move;
  char text[kNotationTextSize];
  Board b;
  SetInitialBoard(&b);
  EXPECT_EQ(third->to, MakeSquare(5, 5));  // Nf3, the main move, first
  SeekToPly(back.get(), 7);
  EXPECT_STREQ(GetCurrentMove(back.get())->texts[SLOT_ANNOTATION], "auto");
  (void)text;
  std::remove(path.c_str());
}

TEST(GameFile, FirstMoveFromE8IsNotTakenForTheMarker) {
  GamePtr game = MakeGame("4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  ASSERT_TRUE(PlayMoves(game.get(), "Kd7 Kd2"));
  std::string image;
  ASSERT_TRUE(BuildGameFileImage(game.get(), &image));
  GamePtr back = MakeGame();
  ASSERT_EQ(ReadGameFileImage(back.get(), Bytes(image), image.size(), nullptr), 0);
  EXPECT_EQ(GetMoveCount(back.get()), 2);
  EXPECT_EQ(back->startSide, BLACK);
}

TEST(GameFile, SizeAndVersionRefusals) {
  GamePtr game = SmallGame();
  std::string image;
  ASSERT_TRUE(BuildGameFileImage(game.get(), &image));
  struct Case {
    std::string bytes;
    int code;
  } cases[] = {
      {image.substr(0, 787), FILE_DAMAGED},
      {image.substr(0, 20), FILE_BAD_FORMAT},
      {image.substr(0, image.size() - 10), FILE_DAMAGED},  // the stream is cut
  };
  for (const Case& c : cases) {
    GamePtr back = MakeGame();
    EXPECT_EQ(ReadGameFileImage(back.get(), Bytes(c.bytes), c.bytes.size(), nullptr), c.code);
  }
  for (uint8_t version : {3, 9}) {
    std::string bad = image;
    bad[33] = static_cast<char>(version);
    GamePtr back = MakeGame();
    EXPECT_EQ(ReadGameFileImage(back.get(), Bytes(bad), bad.size(), nullptr), FILE_DAMAGED);
  }
  // A move off the board, an illegal move, a comment longer than the file.
  const size_t moves = 816 + 9142;
  std::string offBoard = image;
  offBoard[moves] = static_cast<char>(200);
  std::string illegal = image;
  illegal[moves + 1] = 0x34;  // e2-e5
  std::string longText = image;
  longText[moves + 2 * 88 + 64] = 0x7f;
  for (const std::string& bad : {offBoard, illegal, longText}) {
    GamePtr back = MakeGame();
    EXPECT_EQ(ReadGameFileImage(back.get(), Bytes(bad), bad.size(), nullptr), FILE_DAMAGED);
  }
  // The message quotes the path.
  MessageHost host;
  std::string path = TempPath("bad.RWG");
  WriteFileText(path, offBoard);
  GamePtr back = MakeGame();
  EXPECT_EQ(LoadGameFile(path.c_str(), back.get()), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "File is damaged or is not a Rookwell file. \"" + path + "\".");
  std::remove(path.c_str());
}

// A version-7 image: 784-byte header, four game slots, player and time
// blocks, 60-byte move records with four slots.
std::string Version7(const std::string& whiteName, const Board& start, const std::string& moves) {
  std::string out(784, '\0');
  out[32] = 0x1A;
  out[33] = 7;
  std::memcpy(&out[38], "Title", 5);
  for (int i = 0; i < 4; ++i) Put32(&out, 0);
  out.push_back(7);
  Put32(&out, 0x100);
  for (const std::string& name : {whiteName, std::string("Ben")}) {
    std::string block(276, '\0');
    block[0] = 0;
    std::memcpy(&block[12], name.data(), name.size() < 264 ? name.size() : 264);
    out += block;
  }
  out.append(5168, '\0');
  out.append(88, '\0');
  out.append(8, '\0');
  Put32(&out, 0);
  out.push_back(WHITE);
  out.append(reinterpret_cast<const char*>(start.sq), 128);
  Put32(&out, 1);
  out += moves;
  Put32(&out, kGameFileEndMarker);
  return out;
}

std::string OldMove(int from, int to, uint32_t links) {
  std::string record(60, '\0');
  record[0] = static_cast<char>(from);
  record[1] = static_cast<char>(to);
  for (int i = 0; i < 4; ++i) Put32(&record, 0);
  Put32(&record, links);
  return record;
}

TEST(GameFile, Version7ChecksItsFields) {
  Board start;
  SetInitialBoard(&start);
  std::string longName(264, 'n');  // no terminator in the file
  std::string image = Version7(longName, start, OldMove(0x64, 0x44, 0));
  GamePtr game = MakeGame();
  ASSERT_EQ(ReadGameFileImage(game.get(), Bytes(image), image.size(), nullptr), 0);
  EXPECT_EQ(std::strlen(game->white.name), 259u);
  EXPECT_STREQ(game->header.title, "Title");
  EXPECT_EQ(GetCurrentPly(game.get()), 1);

  Board noPieces;
  ClearBoard(&noPieces);
  Board badByte = start;
  badByte[MakeSquare(4, 4)] = 22;
  for (const std::string& bad :
       {Version7("A", noPieces, ""), Version7("A", badByte, ""), Version7("A", start, OldMove(0x64, 0x80, 0)),
        Version7("A", start, OldMove(0x64, 0x34, 0))}) {
    GamePtr g = MakeGame();
    EXPECT_EQ(ReadGameFileImage(g.get(), Bytes(bad), bad.size(), nullptr), FILE_DAMAGED);
  }
}

// A version-5 file: the 302-byte fixed header, then the body.
std::string Version5Body(const std::string& body) {
  std::string out(302, '\0');
  out[33] = 5;
  std::memcpy(&out[34], "Anna", 4);
  std::memcpy(&out[67], "Ben", 3);
  out[99] = 1;
  std::memcpy(&out[100], "Home", 4);
  out[300] = '1';
  return out + body;
}

std::string PackedMove(int fromRow, int fromFile, int toRow, int toFile, uint16_t time) {
  uint16_t w = static_cast<uint16_t>(toFile | (toRow << 3) | (fromFile << 6) | (fromRow << 9) | (7 << 12));
  std::string out;
  out.push_back(static_cast<char>(w & 0xff));
  out.push_back(static_cast<char>(w >> 8));
  out.push_back(static_cast<char>(time & 0xff));
  out.push_back(static_cast<char>(time >> 8));
  return out;
}

TEST(GameFile, OldVersions) {
  MessageHost host;
  // Exactly the minimum size with the initial position and no moves.
  std::string bare = Version5Body(std::string("\0\xff\0\0\0\0", 6));
  GamePtr game = MakeGame();
  ASSERT_EQ(ReadGameFileImage(game.get(), Bytes(bare), bare.size(), "C:\\games\\Old one.RWG"), 0);
  EXPECT_STREQ(game->white.name, "Anna");
  EXPECT_EQ(game->black.kind, 1u);
  EXPECT_STREQ(game->header.site, "Home");
  EXPECT_EQ(game->result, 11u);
  EXPECT_STREQ(game->header.title, "Old one");
  EXPECT_EQ(game->header.version, 8);
  EXPECT_EQ(game->kind, 0x20000100u);

  // A set-up position: king squares and castling found from the pieces.
  std::string squares(64, '\0');
  squares[4] = BLACK + KING;
  squares[60] = WHITE + KING;
  squares[63] = WHITE + ROOK;
  std::string body = std::string("\1") + static_cast<char>(WHITE) + squares;
  body += std::string("\x02\x00\x02\x00", 4) + std::string("note\0", 5);
  body += PackedMove(7, 4, 7, 6, 30);  // O-O
  body += PackedMove(0, 4, 1, 4, 20);  // Ke7
  std::string setup = Version5Body(body);
  GamePtr g = MakeGame();
  ASSERT_EQ(ReadGameFileImage(g.get(), Bytes(setup), setup.size(), nullptr), 0)
      << (host.messages.empty() ? "" : host.messages.back());
  EXPECT_EQ(GetMoveCount(g.get()), 2);
  EXPECT_TRUE(g->tree->root.firstChild->move->flags & MOVE_CASTLE_SHORT);
  EXPECT_STREQ(GetGameRemarks(g.get()), "note");
  EXPECT_EQ(GetCurrentPly(g.get()), 2);

  // A move script: two moves, one taken back, one more.
  std::string script = std::string("\0\xff", 2) + std::string("\xfe\xff\x01\x00", 4) + "M" +
                       PackedMove(6, 4, 4, 4, 10) + "M" + PackedMove(1, 4, 3, 4, 10) +
                       std::string("T\0\0", 3) + "M" + PackedMove(1, 2, 3, 2, 10) + "X";
  std::string scripted = Version5Body(script);
  GamePtr s = MakeGame();
  ASSERT_EQ(ReadGameFileImage(s.get(), Bytes(scripted), scripted.size(), nullptr), 0);
  EXPECT_EQ(GetMoveCount(s.get()), 2);
}

TEST(GameFile, FailedSaveLeavesTheOldFile) {
  GamePtr game = SmallGame();
  std::string folder = TempPath("");
  EXPECT_EQ(WriteGameFile(folder.c_str(), game.get()), FILE_CANNOT_WRITE);
  EXPECT_EQ(std::fopen((folder + ".tmp").c_str(), "rb"), nullptr);
  EXPECT_EQ(WriteGameFile(TempPath("no/such/dir/x.RWG").c_str(), game.get()), FILE_CANNOT_CREATE);
}

}  // namespace
