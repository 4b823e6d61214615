// Data-set locator: see data_sets.h.
#include "data_sets.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "heapkit.h"

const DataSetEntry kDataSetTable[kDataSetCount] = {
    {"rwsets.dat", ""},       {"faces.dat", ""},         {"moves.dat", ""},
    {"nla.dat", ""},          {"tnaudio.dat", ""},       {"tutorial.dat", ""},
    {"about.dat", ""},        {"rw256.dll", ""},         {"rwonyxintro.bik", ""},
    {"IntroKidsRoom.mov", ""}, {"IntroKidsTarn.mov", ""}, {"Newbase.dat", ""},
    {"RWOnyxBase.gdg", "Database"},
};

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

constexpr int kLibrarySet = 7;
constexpr int kLastArchiveSet = 6;
constexpr uint32_t kLooseFileTag = DAT_KIND_RAW;

struct DataSetRow {
  bool open = false;
  DatIndex* index = nullptr;
  void* module = nullptr;
  bool named = false;
  std::string baseName;
  std::string path;       // the .dat file of an archive, the file itself otherwise
  std::string indexPath;  // archives only
};

DataSetRow g_rows[kDataSetCount];
bool g_opening = false;
DataSetHost g_host = DefaultDataSetHost();

bool ValidSet(int set) { return set >= 0 && set < kDataSetCount; }

std::string ProgramFolder() {
  const char* folder = g_host.programFolder ? g_host.programFolder() : nullptr;
  return folder ? folder : "";
}

std::string InProgramFolder(const std::string& name) { return ProgramFolder() + kSeparator + name; }

bool Readable(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

// The first table row whose file name begins with `name` over the whole
// length of `name`, ASCII case ignored; -1 for none.
int TableRowOf(const char* name) {
  const size_t n = std::strlen(name);
  for (int row = 0; row < kDataSetCount; ++row) {
    const char* file = kDataSetTable[row].fileName;
    size_t i = 0;
    while (i < n && file[i] && std::tolower(static_cast<unsigned char>(file[i])) ==
                                   std::tolower(static_cast<unsigned char>(name[i])))
      ++i;
    if (i == n) return row;
  }
  return -1;
}

// FindDataFile into a string; empty when not found.
std::string FindPath(const std::string& name, bool report) {
  char* found = FindDataFile(name.c_str(), nullptr, 0, report ? 1 : 0);
  std::string path = found ? found : "";
  std::free(found);
  return path;
}

void ClearRow(DataSetRow& row) {
  if (row.index) datUnloadFileIndex(row.index);
  row = DataSetRow{};
}

// Releases what an archive row holds besides its name.
void CloseArchiveRow(DataSetRow& row) {
  if (row.index) datUnloadFileIndex(row.index);
  row.index = nullptr;
  row.path.clear();
  row.indexPath.clear();
  row.open = false;
}

}  // namespace

void SetDataSetHost(const DataSetHost& host) { g_host = host; }
const DataSetHost& GetDataSetHost() { return g_host; }

int OpenDataSet(const char* name, int set, int required) {
  if (!ValidSet(set) || g_opening) return 0;
  g_opening = true;  // a message box shown while opening must not open again
  if (set <= kLastArchiveSet)
    OpenPackedDataSet(name, set, required);
  else if (set == kLibrarySet)
    LoadDataSetLibrary(name, set);
  else
    LocateDataSetFile(name, set, required);
  g_opening = false;
  return g_rows[set].open ? 1 : 0;
}

int IsDataSetOpen(int set) { return ValidSet(set) && g_rows[set].open ? 1 : 0; }

int OpenPackedDataSet(const char* name, int set, int required) {
  if (!ValidSet(set)) return 0;
  DataSetRow& row = g_rows[set];
  if (!name && !row.named) return 0;
  if (!row.named) {
    row.baseName = name;
    row.named = true;
  }
  const std::string base = name ? std::string(name) : row.baseName;
  const std::string indexPath = FindPath(base + ".idx", required != 0);
  if (indexPath.empty()) return 0;
  // Looked up quietly first: a required set's missing file is reported once,
  // by LocateDataSet.
  std::string dataPath = FindPath(base + ".dat", false);
  if (dataPath.empty()) {
    if (!required) {
      CloseArchiveRow(row);
      return 0;
    }
    const char* located = LocateDataSet(set, 1);
    if (!located) {
      CloseArchiveRow(row);
      return 0;
    }
    dataPath = located;
  }
  // Opening an open set again reads its index anew; the old one goes.
  DatIndex* index = datLoadFileIndex(indexPath.c_str());
  if (row.index) datUnloadFileIndex(row.index);
  row.index = index;
  row.indexPath = indexPath;
  row.path = dataPath;
  row.open = index != nullptr;
  if (!row.open) CloseArchiveRow(row);
  return row.open ? 1 : 0;
}

int LocateDataSetFile(const char* name, int set, int required) {
  if (!ValidSet(set) || set <= kLibrarySet) return 0;
  DataSetRow& row = g_rows[set];
  row.baseName = name ? name : kDataSetTable[set].fileName;
  row.named = true;
  std::string path = FindPath(row.baseName, false);  // reported once, below
  if (path.empty() && required) {
    row.open = false;
    const char* located = LocateDataSet(set, 1);
    if (located) path = located;
  }
  if (path.empty()) {
    ClearRow(row);
    return 0;
  }
  row.path = path;
  row.open = true;
  return 1;
}

int LoadDataSetLibrary(const char* name, int set) {
  if (set != kLibrarySet || !name || !*name) return 0;
  DataSetRow& row = g_rows[set];
  if (row.module) CloseDataSetLibrary(set);
  row.baseName = name;
  row.named = true;
  const std::string path = FindPath(name, true);
  void* module = path.empty() || !g_host.loadModule ? nullptr : g_host.loadModule(path.c_str());
  if (!module) {
    ClearRow(row);
    return 0;
  }
  row.module = module;
  row.path = path;
  row.open = true;
  if (g_host.setResourceLibrary) g_host.setResourceLibrary(module);
  return 1;
}

char* FindDataFile(const char* name, char* buffer, uint32_t size, int report) {
  if (!name || !*name || (size && !buffer)) return nullptr;
  const int row = TableRowOf(name);
  std::string path = ProgramFolder() + kSeparator;
  if (row >= 0 && kDataSetTable[row].subFolder[0]) path += std::string(kDataSetTable[row].subFolder) + kSeparator;
  path += name;
  if (!Readable(path)) {
    if (report && row >= 0 && g_host.reportNotFound) g_host.reportNotFound(path.c_str());
    return nullptr;
  }
  if (size == 0) {
    char* copy = static_cast<char*>(std::malloc(path.size() + 1));
    if (copy) std::memcpy(copy, path.c_str(), path.size() + 1);
    return copy;
  }
  // A path cut to the buffer would name another file: not found instead.
  if (path.size() >= size) return nullptr;
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return buffer;
}

const char* LocateDataSet(int set, int report) {
  if (!ValidSet(set)) return nullptr;
  DataSetRow& row = g_rows[set];
  if (!row.named) return nullptr;
  if (row.open && !row.path.empty()) return row.path.c_str();
  const std::string name = set <= kLastArchiveSet ? row.baseName + ".dat" : row.baseName;
  const std::string path = FindPath(name, report != 0);
  if (path.empty()) return nullptr;
  row.path = path;
  row.open = true;
  return row.path.c_str();
}

void ClosePackedDataSet(int set) {
  if (ValidSet(set)) ClearRow(g_rows[set]);
}

void CloseDataSetLibrary(int set) {
  if (!ValidSet(set)) return;
  DataSetRow& row = g_rows[set];
  if (row.module) {
    if (set == kLibrarySet && g_host.setResourceLibrary) g_host.setResourceLibrary(nullptr);
    if (g_host.freeModule) g_host.freeModule(row.module);
  }
  ClearRow(row);
}

void CloseAllDataSets() {
  for (int set = 0; set < kDataSetCount; ++set) {
    if (g_rows[set].module)
      CloseDataSetLibrary(set);
    else
      ClosePackedDataSet(set);
  }
  for (DataSetRow& row : g_rows) row = DataSetRow{};
}

void* GetDataSetLibrary(int set) { return ValidSet(set) && g_rows[set].open ? g_rows[set].module : nullptr; }

DatIndex* GetDataSetIndex(int set) { return ValidSet(set) && g_rows[set].open ? g_rows[set].index : nullptr; }

int LoadLibraryBitmap(const char* name, int set, void** bitmap) {
  if (!bitmap) return 0;
  *bitmap = nullptr;
  void* module = GetDataSetLibrary(set);
  if (!name || !*name || !module || !g_host.findBitmap) return 0;
  *bitmap = g_host.findBitmap(module, name);
  return *bitmap ? 1 : 0;
}

int LoadDataItem(const char* name, int set, void** data, uint32_t* typeTag, uint32_t* storedSize,
                 uint32_t* size) {
  if (!name || !data) return 0;
  *data = nullptr;
  uint32_t bytes = 0;
  if (ReadProgramFile(name, data, &bytes)) {
    if (typeTag) *typeTag = kLooseFileTag;
    if (storedSize) *storedSize = bytes;
    if (size) *size = bytes;
    return 1;
  }
  if (!ValidSet(set) || !g_rows[set].open) return 0;
  DataSetRow& row = g_rows[set];
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  DatIndexEntry info{};
  const char* indexPath = row.indexPath.empty() ? nullptr : row.indexPath.c_str();
  *data = lower.find(".bmp") != std::string::npos
              ? datLoadBitmap(indexPath, row.path.c_str(), lower.c_str(), row.index, &info)
              : datLoadItem(indexPath, row.path.c_str(), lower.c_str(), row.index, &info);
  if (!*data) {
    // Locate the archive anew, so that the next request finds it once it is back.
    if (set <= kLastArchiveSet && row.named) {
      const std::string path = FindPath(row.baseName + ".dat", false);
      if (!path.empty()) row.path = path;
    }
    return 0;
  }
  if (typeTag) *typeTag = info.kind;
  if (storedSize) *storedSize = info.storedSize;
  if (size) *size = info.unpackedSize;
  return 1;
}

int GetDataItemInfo(const char* name, int set, uint32_t* typeTag, uint32_t* storedSize, uint32_t* size) {
  if (!name || !ValidSet(set) || !g_rows[set].open) return 0;
  const DataSetRow& row = g_rows[set];
  DatIndexEntry info{};
  const char* indexPath = row.indexPath.empty() ? nullptr : row.indexPath.c_str();
  if (!datGetItemInfo(indexPath, row.path.c_str(), name, row.index, &info)) return 0;
  if (typeTag) *typeTag = info.kind;
  if (storedSize) *storedSize = info.storedSize;
  if (size) *size = info.unpackedSize;
  return 1;
}

int ReadProgramFile(const char* name, void** data, uint32_t* size) {
  if (data) *data = nullptr;
  if (size) *size = 0;
  if (!name || !*name || !data || !size) return 0;
  std::FILE* f = std::fopen(InProgramFolder(name).c_str(), "rb");
  if (!f) return 0;
  long length = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
  if (length < 0 || length > 0x7FFFFFFE || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return 0;
  }
  auto* bytes = static_cast<char*>(memAlloc_rel(size_t(length) + 1, HEAPKIT_TAG_RW));
  const bool whole = bytes && std::fread(bytes, 1, size_t(length), f) == size_t(length);
  std::fclose(f);
  if (!whole) {
    memFree_rel(bytes);
    return 0;
  }
  bytes[length] = '\0';
  *data = bytes;
  *size = uint32_t(length);
  return 1;
}
