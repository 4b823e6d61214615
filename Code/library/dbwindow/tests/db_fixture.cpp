#include "db_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "convert.h"
#include "gdbase.h"
#include "gdkey.h"
#include "opening_keys.h"
#include "pgn_reader.h"

#if !defined(_WIN32)
#include "platform.h"
#endif

const char kSixGames[] =
    "[Event \"Spring Open\"]\n[Site \"Aldbury\"]\n[Date \"2001.03.04\"]\n[Round \"1\"]\n"
    "[White \"Abbot, Ann\"]\n[Black \"Baker, Bo\"]\n[Result \"1-0\"]\n[WhiteElo \"2210\"]\n"
    "[BlackElo \"2105\"]\n\n1. e4 c5 2. Nf3 d6 3. d4 cxd4 4. Nxd4 Nf6 1-0\n\n"
    "[Event \"Spring Open\"]\n[Site \"Aldbury\"]\n[Date \"2001.03.05\"]\n[Round \"2\"]\n"
    "[White \"Cole, Cy\"]\n[Black \"Abbot, Ann\"]\n[Result \"0-1\"]\n[WhiteElo \"1990\"]\n"
    "[BlackElo \"2210\"]\n\n1. d4 d5 2. c4 e6 3. Nc3 Nf6 0-1\n\n"
    "[Event \"Club Match\"]\n[Site \"Bexley\"]\n[Date \"2002.11.20\"]\n[Round \"1\"]\n"
    "[White \"Dunn, Di\"]\n[Black \"Cole, Cy\"]\n[Result \"1/2-1/2\"]\n\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1/2-1/2\n\n"
    "[Event \"Club Match\"]\n[Site \"Bexley\"]\n[Date \"2002.11.21\"]\n[Round \"2\"]\n"
    "[White \"Baker, Bo\"]\n[Black \"Dunn, Di\"]\n[Result \"1-0\"]\n\n"
    "1. e4 c5 2. Nc3 Nc6 3. g3 g6 1-0\n\n"
    "[Event \"Winter Cup\"]\n[Site \"Crail\"]\n[Date \"2003.01.10\"]\n[Round \"1\"]\n"
    "[White \"Eyre, Ed\"]\n[Black \"Fox, Fay\"]\n[Result \"*\"]\n\n1. c4 e5 2. Nc3 Nf6 *\n\n"
    "[Event \"Winter Cup\"]\n[Site \"Crail\"]\n[Date \"2003.01.11\"]\n[Round \"2\"]\n"
    "[White \"Fox, Fay\"]\n[Black \"Eyre, Ed\"]\n[Result \"0-1\"]\n\n"
    "1. e4 c5 2. Nf3 Nc6 3. d4 cxd4 4. Nxd4 g6 0-1\n\n";

namespace {

std::string ReadTextFile(const std::string& path) {
  std::string text;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return text;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

// Files every line of an openings PGN as a key, the last one named by its
// "ECO", "Opening" and "Variation" tags, as the database tool does.
void AddKeys(const std::string& keysPgn, const std::string& path, int32_t file) {
  std::string text = ReadTextFile(keysPgn);
  ASSERT_FALSE(text.empty()) << keysPgn;
  ASSERT_EQ(IDCreateBase(path.c_str(), file), 0);
  FileOpeningLines(text);
  IDCloseBase(file);
}

}  // namespace

void WriteTextFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

TestDatabase::TestDatabase(const std::string& name, const std::string& pgn, const std::string& keysPgn) {
#if !defined(_WIN32)
  gdbase::LibraryAttach();
#endif
  path_ = name + ".gdg";
  std::remove(path_.c_str());
  file_ = GdCreateGamefile(path_.c_str());
  EXPECT_NE(file_, 0) << path_;
  if (!keysPgn.empty()) {
    AddKeys(keysPgn, path_, file_);
    keys_ = GdOpenDatabase(path_.c_str(), file_);
    EXPECT_EQ(keys_, 1);
  }
  std::string pgnPath = name + ".pgn";
  WriteTextFile(pgnPath, pgn);
  EXPECT_EQ(GdPgnImport(pgnPath.c_str(), file_, 0, "NBRQK", nullptr, 0), 0);
  std::remove(pgnPath.c_str());
}

TestDatabase::~TestDatabase() {
  Close();
  std::remove(path_.c_str());
}

void TestDatabase::Close() {
  if (keys_) GdCloseDatabase(file_);
  if (file_) GdCloseGamefile(file_);
  keys_ = file_ = 0;
}

int TestDatabase::count() const { return GdGetGamesCount(file_); }
