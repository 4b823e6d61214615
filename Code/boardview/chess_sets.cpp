// Chess-set catalogue: item images, lookups, copies and sound extraction.
#include "chess_sets.h"

#include <algorithm>
#include <cstring>

const char* const kChessSetHeaderItem = "ChessSetHeader.bin";
const char* const kBoardDataItem = "BoardData.bin";
const char* const kPieceDataItem = "PieceData.bin";
const char* const kSoundDataItem = "SoundData.bin";

static_assert(sizeof(BoardSetRecord) == kBoardSetRecordSize, "board set record layout");
static_assert(sizeof(PieceSetRecord) == kPieceSetRecordSize, "piece set record layout");
static_assert(sizeof(SoundSetRecord) == kSoundSetRecordSize, "sound set record layout");

namespace {

// Field-by-field cursor over an item image.
class Reader {
 public:
  explicit Reader(const uint8_t* p) : p_(p) {}
  int32_t Int() {
    uint32_t v = uint32_t{p_[0]} | uint32_t{p_[1]} << 8 | uint32_t{p_[2]} << 16 | uint32_t{p_[3]} << 24;
    p_ += 4;
    return static_cast<int32_t>(v);
  }
  uint32_t Word() { return static_cast<uint32_t>(Int()); }
  // Names keep their bytes; the last byte is forced to 0 so that a name
  // read from outside is always terminated.
  void Name(char* field, size_t size) {
    std::memcpy(field, p_, size);
    field[size - 1] = 0;
    p_ += size;
  }
  void Bytes(uint8_t* field, size_t size) {
    std::memcpy(field, p_, size);
    p_ += size;
  }

 private:
  const uint8_t* p_;
};

class Writer {
 public:
  explicit Writer(uint8_t* p) : p_(p) {}
  void Int(int64_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) *p_++ = static_cast<uint8_t>(v >> (8 * i));
  }
  void Name(const char* field, size_t size) {
    size_t n = strnlen(field, size - 1);
    std::memcpy(p_, field, n);
    std::memset(p_ + n, 0, size - n);
    p_ += size;
  }
  void Zero(size_t size) {
    std::memset(p_, 0, size);
    p_ += size;
  }

 private:
  uint8_t* p_;
};

// ASCII letters only: set names are ASCII.
bool SameName(const char* a, const char* b) {
  if (!a || !b) return false;
  for (;; ++a, ++b) {
    char x = (*a >= 'A' && *a <= 'Z') ? *a + 32 : *a;
    char y = (*b >= 'A' && *b <= 'Z') ? *b + 32 : *b;
    if (x != y) return false;
    if (!x) return true;
  }
}

template <typename Record>
bool DecodeItem(const std::vector<uint8_t>* item, int32_t count, size_t recordSize,
                void (*decode)(const uint8_t*, Record*), std::vector<Record>* out) {
  out->clear();
  if (count < 0) return false;
  if (count == 0) return true;
  if (!item || item->size() / recordSize < static_cast<size_t>(count)) return false;
  out->resize(count);
  for (int32_t i = 0; i < count; ++i) decode(item->data() + i * recordSize, &(*out)[i]);
  return true;
}

}  // namespace

void SetRecordName(char* field, size_t fieldSize, const std::string& text) {
  std::memset(field, 0, fieldSize);
  std::memcpy(field, text.data(), std::min(text.size(), fieldSize - 1));
}

std::string RecordName(const char* field, size_t fieldSize) {
  return std::string(field, strnlen(field, fieldSize));
}

void DecodeBoardSet(const uint8_t* in, BoardSetRecord* out) {
  Reader r(in);
  r.Name(out->name, sizeof out->name);
  r.Name(out->boardItem, sizeof out->boardItem);
  r.Name(out->previewItem, sizeof out->previewItem);
  out->kindWord = r.Word();
  out->previewFlag = r.Int();
  out->turn = r.Int();
  out->tilt = r.Int();
  out->vanishing = r.Int();
  out->centreX = r.Int();
  out->centreY = r.Int();
  out->size = r.Int();
  r.Bytes(out->unread320, sizeof out->unread320);
  out->originX = r.Int();
  out->originY = r.Int();
  out->lightColour = r.Int();
  out->darkColour = r.Int();
  r.Bytes(out->unread340, sizeof out->unread340);
  out->roomsMask = r.Word();
  for (auto& item : out->groupItems) r.Name(item, sizeof item);
  r.Name(out->defaultPieceSet, sizeof out->defaultPieceSet);
  out->labelX[0] = r.Int();
  out->labelY[0] = r.Int();
  out->labelX[1] = r.Int();
  out->labelY[1] = r.Int();
  out->lightX = r.Int();
  out->lightY = r.Int();
  r.Bytes(out->unread1428, sizeof out->unread1428);
}

void EncodeBoardSet(const BoardSetRecord& record, uint8_t* out) {
  Writer w(out);
  w.Name(record.name, sizeof record.name);
  w.Name(record.boardItem, sizeof record.boardItem);
  w.Name(record.previewItem, sizeof record.previewItem);
  w.Int(record.kindWord);
  w.Int(record.previewFlag);
  w.Int(record.turn);
  w.Int(record.tilt);
  w.Int(record.vanishing);
  w.Int(record.centreX);
  w.Int(record.centreY);
  w.Int(record.size);
  w.Zero(4);
  w.Int(record.originX);
  w.Int(record.originY);
  w.Int(record.lightColour);
  w.Int(record.darkColour);
  w.Zero(4);
  w.Int(record.roomsMask);
  for (const auto& item : record.groupItems) w.Name(item, sizeof item);
  w.Name(record.defaultPieceSet, sizeof record.defaultPieceSet);
  w.Int(record.labelX[0]);
  w.Int(record.labelY[0]);
  w.Int(record.labelX[1]);
  w.Int(record.labelY[1]);
  w.Int(record.lightX);
  w.Int(record.lightY);
  w.Zero(sizeof record.unread1428);
}

void DecodePieceSet(const uint8_t* in, PieceSetRecord* out) {
  Reader r(in);
  r.Name(out->name, sizeof out->name);
  r.Name(out->sheetItem, sizeof out->sheetItem);
  r.Name(out->previewItem, sizeof out->previewItem);
  out->previewFlag = r.Int();
  out->kindWord = r.Word();
  out->celWidth = r.Int();
  out->celHeight = r.Int();
  out->cursorKind = r.Int();
  out->celFlag = r.Int();
  r.Bytes(out->unread312, sizeof out->unread312);
  r.Name(out->soundSet, sizeof out->soundSet);
  out->roomsMask = r.Word();
  r.Bytes(out->unread380, sizeof out->unread380);
}

void EncodePieceSet(const PieceSetRecord& record, uint8_t* out) {
  Writer w(out);
  w.Name(record.name, sizeof record.name);
  w.Name(record.sheetItem, sizeof record.sheetItem);
  w.Name(record.previewItem, sizeof record.previewItem);
  w.Int(record.previewFlag);
  w.Int(record.kindWord);
  w.Int(record.celWidth);
  w.Int(record.celHeight);
  w.Int(record.cursorKind);
  w.Int(record.celFlag);
  w.Zero(sizeof record.unread312);
  w.Name(record.soundSet, sizeof record.soundSet);
  w.Int(record.roomsMask);
  w.Zero(sizeof record.unread380);
}

void DecodeSoundSet(const uint8_t* in, SoundSetRecord* out) {
  Reader r(in);
  r.Name(out->name, sizeof out->name);
  for (auto& sound : out->sounds) r.Name(sound, sizeof sound);
}

void EncodeSoundSet(const SoundSetRecord& record, uint8_t* out) {
  Writer w(out);
  w.Name(record.name, sizeof record.name);
  for (const auto& sound : record.sounds) w.Name(sound, sizeof sound);
}

std::vector<uint8_t> EncodeChessSetHeader(int32_t boards, int32_t pieces, int32_t sounds) {
  std::vector<uint8_t> out(kChessSetHeaderSize);
  Writer w(out.data());
  w.Int(boards);
  w.Int(pieces);
  w.Int(sounds);
  w.Zero(12);  // the array addresses exist only in memory
  return out;
}

std::vector<uint8_t> EncodeBoardSets(const std::vector<BoardSetRecord>& records) {
  std::vector<uint8_t> out(records.size() * kBoardSetRecordSize);
  for (size_t i = 0; i < records.size(); ++i)
    EncodeBoardSet(records[i], out.data() + i * kBoardSetRecordSize);
  return out;
}

std::vector<uint8_t> EncodePieceSets(const std::vector<PieceSetRecord>& records) {
  std::vector<uint8_t> out(records.size() * kPieceSetRecordSize);
  for (size_t i = 0; i < records.size(); ++i)
    EncodePieceSet(records[i], out.data() + i * kPieceSetRecordSize);
  return out;
}

std::vector<uint8_t> EncodeSoundSets(const std::vector<SoundSetRecord>& records) {
  std::vector<uint8_t> out(records.size() * kSoundSetRecordSize);
  for (size_t i = 0; i < records.size(); ++i)
    EncodeSoundSet(records[i], out.data() + i * kSoundSetRecordSize);
  return out;
}

bool ChessSetCatalogue::Load(ChessSetHost* host) {
  if (!host || !host->DataSetOpen()) return false;
  std::vector<uint8_t> items[4];
  bool present[4];
  const char* names[4] = {kChessSetHeaderItem, kBoardDataItem, kPieceDataItem, kSoundDataItem};
  for (int i = 0; i < 4; ++i) present[i] = host->LoadDataItem(names[i], &items[i]);
  return LoadFromItems(present[0] ? &items[0] : nullptr, present[1] ? &items[1] : nullptr,
                       present[2] ? &items[2] : nullptr, present[3] ? &items[3] : nullptr);
}

bool ChessSetCatalogue::LoadFromItems(const std::vector<uint8_t>* header, const std::vector<uint8_t>* boards,
                                      const std::vector<uint8_t>* pieces,
                                      const std::vector<uint8_t>* sounds) {
  Unload();
  if (!header || header->size() < 12) return false;
  Reader r(header->data());
  int32_t boardCount = r.Int(), pieceCount = r.Int(), soundCount = r.Int();
  if (!DecodeItem(boards, boardCount, kBoardSetRecordSize, DecodeBoardSet, &boards_) ||
      !DecodeItem(pieces, pieceCount, kPieceSetRecordSize, DecodePieceSet, &pieces_) ||
      !DecodeItem(sounds, soundCount, kSoundSetRecordSize, DecodeSoundSet, &sounds_)) {
    Unload();
    return false;
  }
  loaded_ = true;
  return true;
}

bool ChessSetCatalogue::Unload() {
  bool was = loaded_;
  loaded_ = false;
  boards_.clear();
  pieces_.clear();
  sounds_.clear();
  return was;
}

int ChessSetCatalogue::FindBoardSet(const char* name) const {
  for (int i = 0; i < boardCount(); ++i)
    if (SameName(boards_[i].name, name)) return i;
  return -1;
}

int ChessSetCatalogue::FindPieceSet(const char* name) const {
  for (int i = 0; i < pieceCount(); ++i)
    if (SameName(pieces_[i].name, name)) return i;
  return -1;
}

const BoardSetRecord* ChessSetCatalogue::GetBoardSetRecord(int n) const {
  return n >= 0 && n < boardCount() ? &boards_[n] : nullptr;
}

const PieceSetRecord* ChessSetCatalogue::GetPieceSetRecord(int n) const {
  return n >= 0 && n < pieceCount() ? &pieces_[n] : nullptr;
}

const SoundSetRecord* ChessSetCatalogue::GetSoundSetRecord(int n) const {
  return n >= 0 && n < soundCount() ? &sounds_[n] : nullptr;
}

bool ChessSetCatalogue::CopyBoardSet(BoardSetRecord* out, int n) const {
  const BoardSetRecord* record = GetBoardSetRecord(n);
  if (!record || !out) return false;
  *out = *record;
  return true;
}

bool ChessSetCatalogue::CopyPieceSet(PieceSetRecord* out, int n) const {
  const PieceSetRecord* record = GetPieceSetRecord(n);
  if (!record || !out) return false;
  *out = *record;
  return true;
}

int ChessSetCatalogue::ExtractSetSounds(ChessSetHost* host, const PieceSetRecord& pieceSet,
                                        SoundSetRecord* out) const {
  if (!host || !out) return 0;
  for (int i = 0; i < soundCount(); ++i)
    if (SameName(sounds_[i].name, pieceSet.soundSet)) *out = sounds_[i];
  for (int i = 0; i < kSetSounds; ++i) {
    std::string item = RecordName(out->sounds[i], kSoundNameSize);
    std::vector<uint8_t> data;
    if (item.empty() || !host->LoadDataItem(item, &data)) continue;
    host->WriteWaveFile(data, host->ProgramFolder() + "\\" + host->GetSoundFileName(i));
  }
  return 0;
}

std::string BoardSetItemName(const BoardSetRecord& record, int kind) {
  if (kind == 2) return RecordName(record.boardItem, kItemNameSize);
  if (kind == 3) return RecordName(record.previewItem, kItemNameSize);
  if (kind >= 4 && kind <= 11) return RecordName(record.groupItems[kind - 4], kItemNameSize);
  return std::string();
}

bool LoadBoardSetItem(ChessSetHost* host, const BoardSetRecord& record, std::vector<uint8_t>* out, int kind) {
  std::string name = BoardSetItemName(record, kind);
  return host && !name.empty() && host->LoadDataItem(name, out);
}

bool LoadPieceSetItem(ChessSetHost* host, const PieceSetRecord& record, std::vector<uint8_t>* out,
                      int which) {
  if (!host || (which != 0 && which != 1)) return false;
  std::string name = RecordName(which == 0 ? record.sheetItem : record.previewItem, kItemNameSize);
  return !name.empty() && host->LoadDataItem(name, out);
}
