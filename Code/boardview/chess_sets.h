// The chess-set catalogue: board sets, piece sets and sound sets described by
// four items of the chess-set data set ("rwsets").
//
// Interface: records and their item images (DecodeBoardSet, EncodeBoardSet
// and the same for piece and sound sets), ChessSetCatalogue with
// LoadChessSetCatalogue / UnloadChessSetCatalogue, FindBoardSet,
// FindPieceSet, GetBoardSetRecord, GetPieceSetRecord, CopyBoardSet,
// CopyPieceSet, LoadBoardSetItem, LoadPieceSetItem, ExtractSetSounds.
//
// Items are little-endian images read field by field. Fields the program does
// not read are carried from the item unchanged; the writer (the set
// generator's) writes them as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kBoardSetRecordSize = 1568;
constexpr size_t kPieceSetRecordSize = 388;
constexpr size_t kSoundSetRecordSize = 160;
constexpr size_t kChessSetHeaderSize = 24;
constexpr int kSetNameSize = 32;
constexpr int kItemNameSize = 128;
constexpr int kSoundNameSize = 16;
constexpr int kSetSounds = 8;

extern const char* const kChessSetHeaderItem;  // "ChessSetHeader.bin"
extern const char* const kBoardDataItem;       // "BoardData.bin"
extern const char* const kPieceDataItem;       // "PieceData.bin"
extern const char* const kSoundDataItem;       // "SoundData.bin"

// Board kinds (high 16 bits of a kind word) and size classes (low 16 bits).
enum BoardKind : uint32_t {
  BOARD_FLAT = 1,
  BOARD_PERSPECTIVE = 2,
  BOARD_KIND4 = 4,
  BOARD_KIND8 = 8,
  BOARD_KIND16 = 16
};
constexpr uint32_t kCelRegionKindBits = 0x1C0000;  // bits 18-20: kinds 4, 8, 16
inline uint32_t MakeKindWord(uint32_t kind, uint32_t sizeClass) { return kind << 16 | sizeClass; }

struct BoardSetRecord {
  char name[kSetNameSize];
  char boardItem[kItemNameSize];    // bitmap kind 2, the board picture
  char previewItem[kItemNameSize];  // bitmap kind 3
  uint32_t kindWord;
  int32_t previewFlag;
  int32_t turn;
  int32_t tilt;
  int32_t vanishing;
  int32_t centreX;  // the picture's registration pixel: where the board centre lies
  int32_t centreY;
  int32_t size;
  uint8_t unread320[4];
  int32_t originX;
  int32_t originY;
  int32_t lightColour;  // palette index, low 16 bits used
  int32_t darkColour;
  uint8_t unread340[4];
  uint32_t roomsMask;
  char groupItems[8][kItemNameSize];  // bitmap kinds 4..11
  char defaultPieceSet[kSetNameSize];
  int32_t labelX[2];
  int32_t labelY[2];
  int32_t lightX;
  int32_t lightY;
  uint8_t unread1428[140];
};

struct PieceSetRecord {
  char name[kSetNameSize];
  char sheetItem[kItemNameSize];    // bitmap item 0
  char previewItem[kItemNameSize];  // bitmap item 1
  int32_t previewFlag;
  uint32_t kindWord;
  int32_t celWidth;
  int32_t celHeight;
  int32_t cursorKind;
  int32_t celFlag;  // 1: a picture per board region (17 cels)
  uint8_t unread312[32];
  char soundSet[kSetNameSize];
  uint32_t roomsMask;
  uint8_t unread380[8];
};

struct SoundSetRecord {
  char name[kSetNameSize];
  char sounds[kSetSounds]
             [kSoundNameSize];  // white move, black move, check, mate, capture, castle, promotion, draw
};

void DecodeBoardSet(const uint8_t* in, BoardSetRecord* out);
void EncodeBoardSet(const BoardSetRecord& record, uint8_t* out);
void DecodePieceSet(const uint8_t* in, PieceSetRecord* out);
void EncodePieceSet(const PieceSetRecord& record, uint8_t* out);
void DecodeSoundSet(const uint8_t* in, SoundSetRecord* out);
void EncodeSoundSet(const SoundSetRecord& record, uint8_t* out);
// The four items of a catalogue, as the generator writes them.
std::vector<uint8_t> EncodeChessSetHeader(int32_t boards, int32_t pieces, int32_t sounds);
std::vector<uint8_t> EncodeBoardSets(const std::vector<BoardSetRecord>& records);
std::vector<uint8_t> EncodePieceSets(const std::vector<PieceSetRecord>& records);
std::vector<uint8_t> EncodeSoundSets(const std::vector<SoundSetRecord>& records);

// Copies text into a fixed name field, cut to leave the terminating zero.
void SetRecordName(char* field, size_t fieldSize, const std::string& text);
template <size_t N>
void SetRecordName(char (&field)[N], const std::string& text) {
  SetRecordName(field, N, text);
}
// A name field as text, up to its first zero or its end.
std::string RecordName(const char* field, size_t fieldSize);

// What the catalogue needs of the program: its data items and sound files.
class ChessSetHost {
 public:
  virtual ~ChessSetHost() = default;
  virtual bool DataSetOpen() = 0;
  // A loose file of that name in the program folder first, else the data
  // set's member; false when neither exists.
  virtual bool LoadDataItem(const std::string& name, std::vector<uint8_t>* out) = 0;
  // The file name of game sound n ("wmove.wav" first) and the program folder.
  virtual std::string GetSoundFileName(int n) = 0;
  virtual std::string ProgramFolder() = 0;
  virtual bool WriteWaveFile(const std::vector<uint8_t>& data, const std::string& path) = 0;
};

class ChessSetCatalogue {
 public:
  bool loaded() const { return loaded_; }
  int boardCount() const { return loaded_ ? static_cast<int>(boards_.size()) : 0; }
  int pieceCount() const { return loaded_ ? static_cast<int>(pieces_.size()) : 0; }
  int soundCount() const { return loaded_ ? static_cast<int>(sounds_.size()) : 0; }

  // Loads the four items. False when the data set is not open, an item
  // holds fewer records than its count says, a count is negative, or the
  // header is missing or short; a failed load leaves nothing loaded.
  bool Load(ChessSetHost* host);
  // Loads from item images directly (tests and the fuzz target); a null
  // item stands for a missing one.
  bool LoadFromItems(const std::vector<uint8_t>* header, const std::vector<uint8_t>* boards,
                     const std::vector<uint8_t>* pieces, const std::vector<uint8_t>* sounds);
  bool Unload();

  // First record whose name equals the given one ignoring case; -1 when none
  // or when nothing is loaded.
  int FindBoardSet(const char* name) const;
  int FindPieceSet(const char* name) const;
  // Null when nothing is loaded or n is negative or not below the count.
  const BoardSetRecord* GetBoardSetRecord(int n) const;
  const PieceSetRecord* GetPieceSetRecord(int n) const;
  const SoundSetRecord* GetSoundSetRecord(int n) const;
  bool CopyBoardSet(BoardSetRecord* out, int n) const;
  bool CopyPieceSet(PieceSetRecord* out, int n) const;

  // Copies into out every sound set named as the piece set's sound set (the
  // last one wins; none leaves out unchanged), then writes each of its
  // sounds that loads to the program folder under the game sound's file
  // name. Returns 0.
  int ExtractSetSounds(ChessSetHost* host, const PieceSetRecord& pieceSet, SoundSetRecord* out) const;

 private:
  bool loaded_ = false;
  std::vector<BoardSetRecord> boards_;
  std::vector<PieceSetRecord> pieces_;
  std::vector<SoundSetRecord> sounds_;
};

// The item of a board set's bitmap kind 2..11; false for other kinds or a
// missing item.
bool LoadBoardSetItem(ChessSetHost* host, const BoardSetRecord& record, std::vector<uint8_t>* out, int kind);
// Bitmap item 0 (the piece sheet) or 1 (the preview).
bool LoadPieceSetItem(ChessSetHost* host, const PieceSetRecord& record, std::vector<uint8_t>* out, int which);
// The item name of a board set's bitmap kind 2..11, empty for other kinds.
std::string BoardSetItemName(const BoardSetRecord& record, int kind);
