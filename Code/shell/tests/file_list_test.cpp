// The file dialogs' list over a real fixture folder, and the folder rules.
#include "file_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, std::vector<uint8_t> bytes) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<uint8_t> Game(size_t size, uint8_t version) {
  std::vector<uint8_t> b(size, 0);
  if (size > 32) b[32] = 26;
  if (size > 33) b[33] = version;
  return b;
}

std::vector<std::string> Names(const std::vector<FileListEntry>& entries) {
  std::vector<std::string> names;
  for (const FileListEntry& e : entries) names.push_back(e.name);
  return names;
}

class FileListFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::path(::testing::TempDir()) / ("file_list_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "zeta");
    fs::create_directories(dir_ / "Alpha");
    fs::create_directories(dir_ / ".store");
    WriteBytes(dir_ / "b.pgn", {'1'});
    WriteBytes(dir_ / "A.PGN", {'1'});
    WriteBytes(dir_ / "x.txt", {'t'});
    WriteBytes(dir_ / "n.abc", {'n'});
    WriteBytes(dir_ / "g6.RWG", Game(34, 6));
    WriteBytes(dir_ / "cut.RWG", Game(33, 6));
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(FileListFolder, FoldersFirstThenTheTypesFiles) {
  const std::vector<FileListEntry> all = ReadFolderEntries(dir_.string());
  using V = std::vector<std::string>;
  EXPECT_EQ(Names(ListedEntries(all, 4, 0)), (V{"Alpha", "zeta", "A.PGN", "b.pgn"}));
  EXPECT_EQ(Names(ListedEntries(all, 2, 0)), (V{"Alpha", "zeta", "A.PGN", "b.pgn", "g6.RWG"}));
  EXPECT_EQ(Names(ListedEntries(all, 2, 1)), (V{"Alpha", "zeta", "g6.RWG"}));
  EXPECT_EQ(Names(ListedEntries(all, 0, 0)),
            (V{"Alpha", "zeta", "A.PGN", "b.pgn", "g6.RWG", "n.abc", "x.txt"}));
  EXPECT_EQ(GetFileKind((dir_ / "g6.RWG").string()), 6);
  EXPECT_EQ(GetFileKind((dir_ / "cut.RWG").string()), 0);
  EXPECT_EQ(GetFileKind((dir_ / "x.txt").string()), 11);
  EXPECT_EQ(GetFileKind((dir_ / "Alpha").string()), 17);
  EXPECT_TRUE(ReadFolderEntries((dir_ / "missing").string()).empty());
}

TEST(FileList, FolderPaths) {
  EXPECT_TRUE(IsDriveRoot("C:\\"));
  EXPECT_TRUE(IsDriveRoot("d:"));
  EXPECT_FALSE(IsDriveRoot("C:\\Games"));
  EXPECT_FALSE(IsDriveRoot("1:\\"));
  EXPECT_EQ(ParentFolder("C:\\Games\\Old"), "C:\\Games");
  EXPECT_EQ(ParentFolder("C:\\Games\\"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\"), "C:\\");
  EXPECT_EQ(JoinFolder("C:\\", "New"), "C:\\New");
  EXPECT_EQ(JoinFolder("C:\\Games", "New"), "C:\\Games\\New");
  EXPECT_EQ(FolderChain("C:\\Games\\Old"), (std::vector<std::string>{"Games", "Old"}));
  EXPECT_TRUE(FolderChain("C:\\").empty());
}

}  // namespace
