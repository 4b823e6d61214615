// Data-set locator over a program folder made for each test: archives built
// with the pack writer, loose files beside them, a fake module loader.
#include "data_sets.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "heapkit.h"
#include "pack_writer.h"

namespace {

#ifdef _WIN32
const char kSep = '\\';
#else
const char kSep = '/';
#endif

#ifdef _WIN32
extern "C" __declspec(dllimport) unsigned long __stdcall GetCurrentProcessId();
unsigned long ProcessId() { return GetCurrentProcessId(); }
#else
}  // namespace
#include <unistd.h>
namespace {
unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }
#endif

std::string g_folder;
std::vector<std::string> g_reports;
void* g_resourceLibrary = nullptr;
int g_freed = 0;
int g_fakeModule = 0;

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void WriteText(const std::string& name, const std::string& text) {
  WriteBytes(g_folder + kSep + name, std::vector<uint8_t>(text.begin(), text.end()));
}

void WriteArchive(const std::string& base, std::vector<packfile::PackItem> items) {
  std::vector<uint8_t> index, data;
  std::string error;
  ASSERT_TRUE(packfile::BuildPack(std::move(items), &index, &data, &error)) << error;
  WriteBytes(g_folder + kSep + base + ".idx", index);
  WriteBytes(g_folder + kSep + base + ".dat", data);
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

struct DataSets : ::testing::Test {
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // A folder of its own in the system's temporary folder, removed again
    // afterwards, so that runs leave nothing behind and never meet.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("rw_datasets_" + std::to_string(ProcessId()) + "_" + info->name());
    g_folder = folder.string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Database");
    g_reports.clear();
    g_resourceLibrary = nullptr;
    g_freed = 0;
    DataSetHost host{};
    host.programFolder = [] { return g_folder.c_str(); };
    host.reportNotFound = [](const char* path) { g_reports.push_back(path); };
    host.loadModule = [](const char* path) -> void* {
      return std::strstr(path, "rw256.dll") || std::strstr(path, "RW256.dll") ? &g_fakeModule : nullptr;
    };
    host.freeModule = [](void*) { ++g_freed; };
    host.setResourceLibrary = [](void* m) { g_resourceLibrary = m; };
    host.findBitmap = [](void*, const char* name) -> void* {
      return std::strcmp(name, "NAVBAR") == 0 ? &g_fakeModule : nullptr;
    };
    SetDataSetHost(host);
    CloseAllDataSets();
  }
  void TearDown() override {
    CloseAllDataSets();
    SetDataSetHost(DataSetHost{});
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
  }
  std::string Path(const std::string& name) { return g_folder + kSep + name; }
};

TEST_F(DataSets, FindDataFileUsesTheTableRowsSubFolder) {
  WriteText("moves.idx", "x");
  WriteText("moves.dat", "x");
  WriteBytes(g_folder + kSep + "Database" + kSep + "RWOnyxBase.gdg", Bytes("db"));
  struct Case {
    const char* name;
    std::string path;  // empty: not found
    bool reported;
  } cases[] = {
      {"moves.idx", Path("moves.idx"), false},  // no row over all nine characters: the folder itself
      {"moves.dat", Path("moves.dat"), false},  // row 2
      {"RWOnyxBase.gdg", Path(std::string("Database") + kSep + "RWOnyxBase.gdg"), false},
      {"faces.dat", "", true},      // a table file that is missing is reported
      {"FACES.DAT", "", true},      // rows match without regard to case
      {"nothere.txt", "", false},   // any other missing file is not
  };
  for (const Case& c : cases) {
    g_reports.clear();
    char* found = FindDataFile(c.name, nullptr, 0, 1);
    EXPECT_EQ(found ? std::string(found) : std::string(), c.path) << c.name;
    std::free(found);
    EXPECT_EQ(g_reports.size(), c.reported ? 1u : 0u) << c.name;
  }
  // Into a buffer: the path, or nothing when it does not fit (never a cut path).
  char buffer[512];
  EXPECT_EQ(FindDataFile("moves.dat", buffer, sizeof buffer, 0), buffer);
  EXPECT_EQ(std::string(buffer), Path("moves.dat"));
  const uint32_t exact = uint32_t(Path("moves.dat").size());
  EXPECT_EQ(FindDataFile("moves.dat", buffer, exact, 0), nullptr);
  EXPECT_EQ(FindDataFile("moves.dat", buffer, exact + 1, 0), buffer);
}

TEST_F(DataSets, ArchivesOpenOnceAndReopenWithAFreshIndex) {
  WriteArchive("rwsets", {packfile::StoredItem("board.bin", Bytes("squares"), 0x4E494221)});
  EXPECT_EQ(OpenDataSet("rwsets", 13, 1), 0);
  EXPECT_EQ(OpenDataSet("rwsets", -1, 1), 0);
  EXPECT_EQ(IsDataSetOpen(13), 0);
  ASSERT_EQ(OpenDataSet("rwsets", 0, 1), 1);
  DatIndex* first = GetDataSetIndex(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->count, 1);
  // Again, with the stored name: a new index, still open.
  ASSERT_EQ(OpenPackedDataSet(nullptr, 0, 1), 1);
  EXPECT_NE(GetDataSetIndex(0), nullptr);
  const char* located = LocateDataSet(0, 0);
  ASSERT_NE(located, nullptr);
  EXPECT_EQ(std::string(located), Path("rwsets.dat"));
  EXPECT_EQ(LocateDataSet(0, 0), located) << "the same path every time";
  uint32_t tag = 0, stored = 0, size = 0;
  EXPECT_EQ(GetDataItemInfo("board.bin", 0, &tag, &stored, &size), 1);
  EXPECT_EQ(tag, 0x4E494221u);
  EXPECT_EQ(size, 7u);
  ClosePackedDataSet(0);
  EXPECT_EQ(IsDataSetOpen(0), 0);
  EXPECT_EQ(GetDataSetIndex(0), nullptr);
}

TEST_F(DataSets, MissingSetsOptionalAndRequired) {
  WriteArchive("moves", {packfile::StoredItem("a", Bytes("1"))});
  std::remove(Path("moves.dat").c_str());
  EXPECT_EQ(OpenDataSet("moves", 5, 0), 0) << "an optional set without its items file stays closed";
  EXPECT_TRUE(g_reports.empty());
  EXPECT_EQ(OpenDataSet("faces", 1, 1), 0) << "no index at all";
  WriteArchive("faces", {packfile::StoredItem("a", Bytes("1"))});
  std::remove(Path("faces.dat").c_str());
  EXPECT_EQ(OpenDataSet("faces", 1, 1), 0);
  EXPECT_EQ(g_reports.size(), 1u) << "a required set's missing file is reported, once";
  EXPECT_EQ(IsDataSetOpen(1), 0);
  g_reports.clear();
  EXPECT_EQ(OpenDataSet(nullptr, 9, 1), 0) << "a required plain file";
  EXPECT_EQ(g_reports.size(), 1u);
  g_reports.clear();
  // A plain file set: named by its table row when opened without a name.
  EXPECT_EQ(OpenDataSet(nullptr, 11, 0), 0);
  WriteText("Newbase.dat", "template");
  EXPECT_EQ(OpenDataSet(nullptr, 11, 0), 1);
  EXPECT_EQ(std::string(LocateDataSet(11, 0)), Path("Newbase.dat"));
}

TEST_F(DataSets, ALooseFileWinsOverTheArchive) {
  WriteArchive("faces", {packfile::StoredItem("guy.txt", Bytes("archived"), 0x54584554),
                         packfile::StoredItem("knight.bmp", Bytes("archived picture"), 0x504D4224)});
  ASSERT_EQ(OpenDataSet("faces", 1, 1), 1);
  void* data = nullptr;
  uint32_t tag = 0, stored = 0, size = 0;
  ASSERT_EQ(LoadDataItem("GUY.TXT", 1, &data, &tag, &stored, &size), 1) << "names are lower-cased";
  EXPECT_EQ(std::string(static_cast<char*>(data), size), "archived");
  EXPECT_EQ(tag, 0x54584554u);
  datUnloadItem(data);
  WriteText("guy.txt", "loose!");
  ASSERT_EQ(LoadDataItem("guy.txt", 1, &data, &tag, &stored, &size), 1);
  EXPECT_STREQ(static_cast<char*>(data), "loose!") << "whole, with a NUL after it";
  EXPECT_EQ(tag, uint32_t(DAT_KIND_RAW));
  EXPECT_EQ(size, 6u);
  datUnloadItem(data);
  // Bitmaps too: the loose file comes as it lies, not as the archive's packed DIB.
  ASSERT_EQ(LoadDataItem("knight.bmp", 1, &data, &tag, &stored, &size), 1);
  EXPECT_EQ(tag, 0x504D4224u) << "from the archive while there is no loose file";
  datUnloadItem(data);
  WriteText("knight.bmp", "BM-loose");
  ASSERT_EQ(LoadDataItem("knight.bmp", 1, &data, &tag, &stored, &size), 1);
  EXPECT_STREQ(static_cast<char*>(data), "BM-loose");
  EXPECT_EQ(tag, uint32_t(DAT_KIND_RAW));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&tag), 4), "0000");
  datUnloadItem(data);
  EXPECT_EQ(LoadDataItem("missing", 1, &data, &tag, &stored, &size), 0);
  EXPECT_EQ(data, nullptr);
  // A closed set reads no file, though its archive holds the item.
  WriteArchive("tnaudio", {packfile::StoredItem("clip", Bytes("pcm"))});
  EXPECT_EQ(LoadDataItem("clip", 3, &data, nullptr, nullptr, nullptr), 0) << "a closed set";
  EXPECT_EQ(data, nullptr);
  ASSERT_EQ(OpenDataSet("tnaudio", 3, 0), 1);
  ASSERT_EQ(LoadDataItem("clip", 3, &data, nullptr, nullptr, nullptr), 1) << "the same item once open";
  datUnloadItem(data);
  EXPECT_EQ(LoadDataItem(nullptr, 1, &data, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(LoadDataItem("a", 1, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST_F(DataSets, TheResourceLibrary) {
  EXPECT_EQ(LoadDataSetLibrary("RW256.dll", 6), 0) << "only set 7 is a library";
  EXPECT_EQ(OpenDataSet("RW256.dll", 7, 1), 0) << "not in the folder";
  EXPECT_EQ(g_reports.size(), 1u) << "RW256.dll is a table file (row 7)";
  WriteText("RW256.dll", "MZ");
  ASSERT_EQ(OpenDataSet("RW256.dll", 7, 1), 1);
  EXPECT_EQ(GetDataSetLibrary(7), &g_fakeModule);
  EXPECT_EQ(g_resourceLibrary, &g_fakeModule);
  void* bitmap = nullptr;
  EXPECT_EQ(LoadLibraryBitmap("NAVBAR", 7, &bitmap), 1);
  EXPECT_EQ(LoadLibraryBitmap("NOSUCH", 7, &bitmap), 0);
  EXPECT_EQ(bitmap, nullptr);
  EXPECT_EQ(LoadLibraryBitmap("", 7, &bitmap), 0);
  EXPECT_EQ(LoadLibraryBitmap("NAVBAR", 7, nullptr), 0);
  CloseAllDataSets();
  EXPECT_EQ(g_freed, 1);
  EXPECT_EQ(g_resourceLibrary, nullptr);
  EXPECT_EQ(LoadLibraryBitmap("NAVBAR", 7, &bitmap), 0) << "closed";
}

TEST_F(DataSets, NoOpeningFromWithinAnOpening) {
  // The not-found report runs while set 1 is being opened; a nested open
  // (say from a message box's own loop) is refused.
  static int nested = -1;
  DataSetHost host = GetDataSetHost();
  host.reportNotFound = [](const char*) { nested = OpenDataSet("about", 6, 0); };
  SetDataSetHost(host);
  WriteText("faces.idx", "");
  EXPECT_EQ(OpenDataSet("faces", 1, 1), 0);
  EXPECT_EQ(nested, 0);
}

TEST_F(DataSets, ReadProgramFile) {
  void* data = reinterpret_cast<void*>(1);
  uint32_t size = 99;
  EXPECT_EQ(ReadProgramFile("absent.ini", &data, &size), 0);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
  WriteText("empty.ini", "");
  ASSERT_EQ(ReadProgramFile("empty.ini", &data, &size), 1);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(static_cast<char*>(data)[0], '\0');
  memFree_rel(data);
}

}  // namespace

#ifdef MKPACK_PATH
namespace {

// A set as the build makes them: packed by the mkpack tool, one item stored
// and one imploded, both read back whole through the locator.
TEST_F(DataSets, APackMadeByTheBuildTool) {
  const std::string text(3000, 'q');
  WriteText("plain.txt", "as it is");
  WriteText("long.txt", text);
  const std::string command = std::string(MKPACK_PATH) + " " + Path("nla") + " " + Path("plain.txt") +
                              " implode:" + Path("long.txt") + " > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::remove(Path("plain.txt").c_str());  // no loose copies: the items come from the pack
  std::remove(Path("long.txt").c_str());
  ASSERT_EQ(OpenDataSet("nla", 4, 0), 1);
  void* data = nullptr;
  uint32_t tag = 0, stored = 0, size = 0;
  ASSERT_EQ(LoadDataItem("plain.txt", 4, &data, &tag, &stored, &size), 1);
  EXPECT_EQ(std::string(static_cast<char*>(data), size), "as it is");
  datUnloadItem(data);
  ASSERT_EQ(LoadDataItem("LONG.TXT", 4, &data, &tag, &stored, &size), 1);
  EXPECT_EQ(std::string(static_cast<char*>(data), size), text);
  EXPECT_LT(stored, size) << "imploded";
  datUnloadItem(data);
}

}  // namespace
#endif
