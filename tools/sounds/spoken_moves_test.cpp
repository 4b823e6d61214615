// The spoken-moves pack against the commentary that names its pieces: every
// spoken form of a move and every illegal-move explanation is voiced word for
// word, each voice piece it names is in the pack, and a clip of a spoken move
// is its pieces one after another.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "annotator.h"
#include "board.h"
#include "message_table.h"
#include "move_words.h"
#include "packfile.h"
#include "position_setup.h"
#include "voice_clip.h"

namespace {

const std::string kPack = RW_MOVES_PACK;  // base path of moves.idx / moves.dat
const std::string kTable = RW_ENGMESS;    // base path of ENGMESS.CEL / .STR

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

class SpokenMoves : public ::testing::Test {
 protected:
  static DatIndex* index;
  static void SetUpTestSuite() {
    const std::vector<uint8_t> cel = ReadFile(kTable + ".CEL"), str = ReadFile(kTable + ".STR");
    ASSERT_FALSE(cel.empty());
    ASSERT_TRUE(LoadMessageTableImages("ENGMESS", cel.data(), cel.size(), str.data(), str.size()));
    index = datLoadFileIndex((kPack + ".idx").c_str());
    ASSERT_NE(index, nullptr) << kPack;
  }
  static void TearDownTestSuite() {
    datUnloadFileIndex(index);
    FreeMessageTables();
  }
  void SetUp() override { SelectMessageTable("ENGMESS"); }

  static bool Packed(const std::string& name) {
    DatIndexEntry entry{};
    return datGetItemInfo((kPack + ".idx").c_str(), (kPack + ".dat").c_str(), (name + ".raw").c_str(), index,
                          &entry) == 1 &&
           entry.kind == DAT_KIND_RAW && entry.unpackedSize > 0;
  }

  // Every run of words outside the groups follows a voice group whose piece
  // is packed, so nothing is left unsaid; answers the voice names in order.
  static std::vector<std::string> CheckVoiced(const std::string& text) {
    std::vector<std::string> voices;
    bool voiced = false;
    size_t i = 0;
    while (i < text.size()) {
      if (text[i] == '{') {
        int depth = 0;
        size_t end = i;
        for (; end < text.size(); ++end) {
          if (text[end] == '{') ++depth;
          if (text[end] == '}' && --depth == 0) break;
        }
        const std::string group = text.substr(i + 1, end - i - 1);
        if (group.size() > 2 && (group[0] == 'W' || group[0] == 'w') && group[1] == ':') {
          voices.push_back(group.substr(2));
          EXPECT_TRUE(Packed(voices.back())) << "\"" << voices.back() << "\" is not packed, in: " << text;
          voiced = true;
        } else {
          voiced = false;  // a board code between a piece and its words
        }
        i = end + 1;
        continue;
      }
      const size_t next = text.find('{', i);
      const std::string run = text.substr(i, next == std::string::npos ? std::string::npos : next - i);
      bool words = false;
      for (char c : run) words |= std::isalnum(static_cast<unsigned char>(c)) != 0;
      EXPECT_TRUE(!words || voiced) << "\"" << run << "\" is not voiced, in: " << text;
      voiced = false;
      i = next == std::string::npos ? text.size() : next;
    }
    return voices;
  }
};
DatIndex* SpokenMoves::index = nullptr;

struct Fen {
  const char* fen;
  const char* shows;
};

// Between them every spoken form: each piece, quiet moves, captures of each
// kind, both castlings of both sides, promotions with and without capture,
// en passant, check and mate, and disambiguation by file, rank and square.
const Fen kPositions[] = {
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "the start"},
    {"r3k2r/pppq1ppp/2n2n2/1B1pp1B1/1b1PP1b1/2N2N2/PPPQ1PPP/R3K2R w KQkq - 0 8", "castlings, captures, pins"},
    {"r3k2r/pppq1ppp/2n2n2/1B1pp1B1/1b1PP1b1/2N2N2/PPPQ1PPP/R3K2R b KQkq - 0 8", "Black's castlings"},
    {"1n2k3/P1P5/8/3pP3/8/8/1p6/4K1N1 w - d6 0 1", "promotions and en passant"},
    {"6k1/5ppp/8/8/8/8/5PPP/R2R2K1 w - - 0 1", "rooks on one rank, mate"},
    {"k7/8/1Q6/8/8/1Q6/8/K7 w - - 0 1", "queens on one file"},
    {"k7/8/8/2N1N3/8/2N1N3/8/K7 w - - 0 1", "knights sharing files and ranks"},
    {"7k/8/8/8/8/Q7/8/Q1Q4K w - - 0 1", "three queens on one square"},
    {"4k3/8/8/b7/8/8/3N4/4K3 w - - 0 1", "a pinned knight"},
    {"4k3/8/8/8/8/8/r7/4K3 w - - 0 1", "a rook guarding the king's rank"},
    {"4k3/8/8/8/8/8/8/r3K2N w - - 0 1", "a king in check"},
};

}  // namespace

TEST_F(SpokenMoves, EverySpokenMoveFormIsVoicedFromThePack) {
  std::set<std::string> heard;
  for (const Fen& p : kPositions) {
    Board board{};
    int side = WHITE;
    ASSERT_TRUE(SetupPositionFromFen(p.fen, &board, &side)) << p.fen;
    for (const MoveRecord& m : LegalMovesOf(&board, side)) {
      // As the game's move sound asks for it.
      const std::string text = MoveInWords(&board, side, &m, 1, 1);
      ASSERT_FALSE(text.empty()) << p.shows;
      for (const std::string& v : CheckVoiced(text)) heard.insert(v);
    }
  }
  // The forms the positions are there for.
  for (const char* v : {"king", "queen", "rook", "bishop", "knight", "pawn", "to", "takes", "castles_kingside",
                        "castles_queenside", "en_passant", "check", "checkmate", "d", "1", "c5", "a1"})
    EXPECT_TRUE(heard.count(v)) << v;
}

TEST_F(SpokenMoves, EveryIllegalMoveExplanationIsVoicedFromThePack) {
  std::set<std::string> heard;
  for (const Fen& p : kPositions) {
    Board board{};
    int side = WHITE;
    ASSERT_TRUE(SetupPositionFromFen(p.fen, &board, &side)) << p.fen;
    for (int from = 0; from < 128; ++from)
      for (int to = 0; to < 128; ++to) {
        if ((from & 0x88) || (to & 0x88) || from == to) continue;
        for (const std::string& v : CheckVoiced(ExplainIllegalMove(&board, side, from, to))) heard.insert(v);
      }
  }
  for (const char* v : {"s112", "s113", "s114", "s117a", "s118a", "s120_4a", "s121", "s122", "s126", "s127",
                        "s128", "s129", "s130a", "the_black_pawn", "on"})
    EXPECT_TRUE(heard.count(v)) << v;
}

namespace {

// The program's sound layer for the clip builder, over the pack: data set 5
// is the moves pack, and the pieces queued on the sound sample are kept.
class PackSound : public ClipSoundLayer {
 public:
  std::vector<uint8_t> sample;
  bool DataSetOpen(int dataSet) override { return dataSet == kClipMoveDataSet; }
  bool LoadItem(int, const std::string& name, VoicePiece* out) override {
    DatIndexEntry info{};
    void* item = datLoadItem((kPack + ".idx").c_str(), (kPack + ".dat").c_str(), name.c_str(), nullptr, &info);
    if (!item) return false;
    const auto* bytes = static_cast<const uint8_t*>(item);
    out->kind = PieceKind::Pcm;
    out->bytes.assign(bytes, bytes + info.unpackedSize);
    datUnloadItem(item);
    return true;
  }
  bool DecodeMp3(const std::vector<uint8_t>&, std::vector<uint8_t>*, int*) override { return false; }
  std::string NewStreamFile() override { return std::string(); }
  bool AppendToStream(const std::string&, const uint8_t*, size_t) override { return false; }
  void DeleteStream(const std::string&) override {}
  void QueueSamplePiece(PieceKind, const std::vector<uint8_t>& bytes) override {
    sample.insert(sample.end(), bytes.begin(), bytes.end());
  }
};

}  // namespace

TEST_F(SpokenMoves, AClipOfSpokenNf3IsItsPackedPiecesOneAfterAnother) {
  Board board{};
  int side = WHITE;
  ASSERT_TRUE(SetupPositionFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", &board, &side));
  MoveRecord nf3{};
  for (const MoveRecord& m : LegalMovesOf(&board, side))
    if (m.from == 0x76 && m.to == 0x55) nf3 = m;
  ASSERT_EQ(nf3.to, 0x55);
  const std::string text = MoveInWords(&board, side, &nf3, 1, 1);
  EXPECT_EQ(text, "{W:knight}knight {W:to}to {W:f3}f3");

  PackSound sound;
  ClipBuilder clip(&sound, kClipMoveDataSet, text, ClipSettings{});
  ASSERT_TRUE(clip.Started());
  while (clip.Step()) {
  }
  std::vector<uint8_t> expected;
  int32_t ms = 0;
  for (const char* piece : {"knight.raw", "to.raw", "f3.raw"}) {
    VoicePiece p;
    ASSERT_TRUE(sound.LoadItem(kClipMoveDataSet, piece, &p)) << piece;
    expected.insert(expected.end(), p.bytes.begin(), p.bytes.end());
    ms += int32_t(p.bytes.size() * 1000 / (kClipSampleRate * 2));
  }
  EXPECT_EQ(sound.sample, expected);
  EXPECT_EQ(clip.TimeMs(), ms);
}
