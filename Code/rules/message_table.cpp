#include "message_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "utils.h"

namespace {

struct MessageTableSlot {
  std::string name;
  std::vector<uint8_t> str;  // the file's bytes and one NUL after them
  std::vector<uint8_t> cel;
  size_t strSize = 0;  // the file's own size
  size_t celSize = 0;
};

struct TableRecord {
  uint8_t selector1, selector2, variants;
  uint32_t textOffset;
  uint16_t nextVariant, nextSelector1, nextSelector2;
};

std::mutex g_lock;
MessageTableSlot g_slots[kMessageTableSlots];
int g_loaded = 0;
int g_current = -1;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// A view of one table that never reads outside its images.
class TableView {
 public:
  explicit TableView(const MessageTableSlot& slot) : slot_(slot) {
    if (slot.celSize >= 2) {
      size_t declared = ReadU16(slot.cel.data());
      // An index cut short by the end of the file only holds what is there.
      numbers_ = std::min(declared, (slot.celSize - 2) / 2);
      size_t recordsStart = 2 + 2 * declared;
      records_ = slot.celSize > recordsStart ? (slot.celSize - recordsStart) / kMessageRecordSize : 0;
      recordsStart_ = recordsStart;
    }
  }

  size_t numbers() const { return numbers_; }
  size_t records() const { return records_; }
  uint16_t FirstRecord(size_t number) const { return ReadU16(slot_.cel.data() + 2 + 2 * number); }

  bool Record(uint16_t index, TableRecord* out) const {
    if (index == kNoRecord || index >= records_) return false;
    const uint8_t* p = slot_.cel.data() + recordsStart_ + index * kMessageRecordSize;
    out->selector1 = p[0];
    out->selector2 = p[1];
    out->variants = p[2];
    out->textOffset = ReadU32(p + 3);
    out->nextVariant = ReadU16(p + 7);
    out->nextSelector1 = ReadU16(p + 9);
    out->nextSelector2 = ReadU16(p + 11);
    return true;
  }

  const char* Text(uint32_t offset) const {
    if (offset == kNoMessage || offset >= slot_.strSize) return nullptr;
    return reinterpret_cast<const char*>(slot_.str.data() + offset);  // NUL-terminated by the guard byte
  }

 private:
  const MessageTableSlot& slot_;
  size_t numbers_ = 0;
  size_t records_ = 0;
  size_t recordsStart_ = 0;
};

// Follows the selector chains and the variant links; every chain is cut after
// as many steps as there are records, so cyclic links end.
uint32_t FindMessageLocked(int number, int selector1, int selector2) {
  if (g_current < 0 || number < 0) return kNoMessage;
  TableView table(g_slots[g_current]);
  if (static_cast<size_t>(number) >= table.numbers()) return kNoMessage;
  size_t budget = table.records();
  uint16_t i = table.FirstRecord(static_cast<size_t>(number));
  TableRecord record;
  if (!table.Record(i, &record)) return kNoMessage;
  while (record.selector1 != selector1) {
    if (budget-- == 0 || !table.Record(record.nextSelector1, &record)) return kNoMessage;
  }
  budget = table.records();
  while (record.selector2 != selector2) {
    if (budget-- == 0 || !table.Record(record.nextSelector2, &record)) return kNoMessage;
  }
  if (record.variants > 1) {
    int steps = RandomBelow(record.variants);
    for (int k = 0; k < steps; ++k) {
      if (!table.Record(record.nextVariant, &record)) return kNoMessage;
    }
  }
  return table.Text(record.textOffset) ? record.textOffset : kNoMessage;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes->assign(static_cast<size_t>(size), 0);
    ok = size == 0 || std::fread(bytes->data(), 1, bytes->size(), file) == bytes->size();
  }
  std::fclose(file);
  return ok;
}

bool ValidName(const char* name) {
  if (!name || !*name) return false;
  return std::strlen(name) <= kMessageTableNameMax;
}

}  // namespace

bool LoadMessageTableImages(const char* baseName, const uint8_t* cel, size_t celSize, const uint8_t* str,
                            size_t strSize) {
  if (!ValidName(baseName) || (!cel && celSize) || (!str && strSize)) return false;
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_loaded >= kMessageTableSlots) return false;
  MessageTableSlot& slot = g_slots[g_loaded];
  slot.name = baseName;
  slot.cel.assign(cel, cel + celSize);
  slot.cel.push_back(0);
  slot.celSize = celSize;
  slot.str.assign(str, str + strSize);
  slot.str.push_back(0);
  slot.strSize = strSize;
  g_current = g_loaded++;
  return true;
}

bool LoadMessageTable(const char* baseName) {
  if (!ValidName(baseName)) return false;
  std::vector<uint8_t> cel, str;
  std::string base(baseName);
  if (!ReadWholeFile(base + ".CEL", &cel) || !ReadWholeFile(base + ".STR", &str)) return false;
  return LoadMessageTableImages(baseName, cel.data(), cel.size(), str.data(), str.size());
}

void SelectMessageTable(const char* baseName) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_current = -1;
  if (!baseName) return;
  for (int k = 0; k < g_loaded; ++k) {
    if (g_slots[k].name == baseName) {
      g_current = k;
      return;
    }
  }
}

uint32_t FindMessage(int number, int selector1, int selector2) {
  std::lock_guard<std::mutex> hold(g_lock);
  return FindMessageLocked(number, selector1, selector2);
}

char* GetMessageText(int number, int selector1, int selector2, char* buffer, size_t size) {
  if (!buffer || size == 0) return buffer;
  buffer[0] = '\0';
  std::lock_guard<std::mutex> hold(g_lock);
  uint32_t offset = FindMessageLocked(number, selector1, selector2);
  if (offset == kNoMessage) return buffer;
  const char* text = TableView(g_slots[g_current]).Text(offset);
  size_t n = std::strlen(text);
  if (n >= size) n = size - 1;
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return buffer;
}

void FreeMessageTables() {
  std::lock_guard<std::mutex> hold(g_lock);
  for (MessageTableSlot& slot : g_slots) slot = MessageTableSlot{};
  g_loaded = 0;
  g_current = -1;
}
