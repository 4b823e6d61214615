// The template made at build time: extracted as the database window does it,
// it is a database with no games, the opening keys and an index folder,
// which takes games and files them under their keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gdbase.h"
#include "platform.h"
#include "template_archive.h"

namespace {

namespace fs = std::filesystem;

TEST(NewBase, ExtractsToAnEmptyKeyedDatabaseThatTakesGames) {
  gdbase::LibraryAttach();
  const fs::path dir = fs::current_path() / "newbase_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string target = (dir / "Mine.gdg").string();
  ASSERT_EQ(ExtractTemplateMembers(StdioTemplateFiles(), RW_NEWBASE_FILE, target, "new",
                                   (dir / "GdIndex").string() + "/", nullptr, nullptr),
            kTemplateDone);
  EXPECT_TRUE(fs::exists(dir / "Mine.gdx"));
  EXPECT_TRUE(fs::exists(dir / "GdIndex" / "Mine.gdk"));
  EXPECT_TRUE(fs::exists(dir / "GdIndex" / "Mine.ghi"));

  const int32_t file = GdOpenGamefile(target.c_str());
  ASSERT_NE(file, 0);
  EXPECT_EQ(GdGetGamesCount(file), 0);
  ASSERT_EQ(GdOpenDatabase(target.c_str(), file), 1);
  int32_t children[64];
  EXPECT_GT(GdGetChildKeys(1, children, 64), 10);  // the first moves of the openings

  const std::string pgn = (dir / "games.pgn").string();
  std::FILE* f = std::fopen(pgn.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("[Event \"a\"]\n[White \"W\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 1-0\n\n"
             "[Event \"b\"]\n[White \"X\"]\n[Black \"Y\"]\n[Result \"0-1\"]\n\n1. d4 d5 2. c4 e6 0-1\n",
             f);
  std::fclose(f);
  ASSERT_EQ(GdPgnImport(pgn.c_str(), file, 0, "NBRQK", nullptr, 0), 0);
  EXPECT_EQ(GdGetGamesCount(file), 2);
  const std::string index = (dir / "GdIndex").string() + "/";
  ASSERT_EQ(GdIndexCreateUpdate(file, index.c_str(), 65535, 2000000, 1, nullptr, 0), 0);
  const int32_t source[2] = {1, 2};
  int32_t sorted[2] = {};
  EXPECT_EQ(GdIndexSort(file, index.c_str(), source, sorted, 2, 5, 0), 0);  // White, descending
  EXPECT_EQ(sorted[0], 2);
  GdCloseDatabase(file);
  GdCloseGamefile(file);
  fs::remove_all(dir);
}

}  // namespace
