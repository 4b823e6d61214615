// The Load and Save commands' rules over real game files.
#include "load_save_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "files_test_support.h"
#include "game_end.h"
#include "game_file.h"
#include "move_tree.h"

namespace {

TEST(LoadSaveRules, WhatALoadReads) {
  struct Case {
    int k, o, fileKind;
    LoadRead read;
    bool pgnFlags;
  } cases[] = {
      {2, 0, 6, LoadRead::kGameFile, false},  {2, 0, 12, LoadRead::kPgnList, true},
      {4, 0, 12, LoadRead::kPgnList, true},   {0, 2, 12, LoadRead::kPgnList, false},
      {0, 4, 8, LoadRead::kGameFile, false},  {3, 2, 1, LoadRead::kGameFile, false},
      {0, 9, 11, LoadRead::kPosition, false}, {10, 10, 11, LoadRead::kPosition, false},
      {0, 0, 11, LoadRead::kNothing, false},  {5, 2, 15, LoadRead::kNothing, false},
      {14, 14, 9, LoadRead::kNothing, false},
  };
  for (const Case& c : cases) {
    bool flags = !c.pgnFlags;
    EXPECT_EQ(ChooseLoadRead(c.k, c.o, c.fileKind, &flags), c.read) << c.k << "/" << c.o << "/" << c.fileKind;
    EXPECT_EQ(flags, c.pgnFlags) << c.k << "/" << c.o << "/" << c.fileKind;
  }
}

TEST(LoadSaveRules, ResultWordsInTheLastComment) {
  struct Case {
    const char* comment;
    uint32_t code;
  } cases[] = {
      {"Stalemate.", 3},
      {"a draw was agreed", 9},
      {"White is checkmated", 1},
      {"white resigned", 10},
      {"White lost on time", 10},
      {"BLACK IS CHECKMATED!", 2},
      {"Black resigned", 11},
      {"black lost", 11},
      {"good move", 0},
      {"", 0},
      {nullptr, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResultFromCommentText(c.comment), c.code) << (c.comment ? c.comment : "null");

  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "e4 e5 Nf3 Nc6"));
  // The comment of the main line's last move counts, wherever the game stands.
  MoveTreeNode* last = game->tree->root.firstChild;
  while (last->firstChild) last = last->firstChild;
  last->move = SetMoveString(last->move, "White resigned", SLOT_COMMENT);
  ASSERT_TRUE(SeekToPly(game.get(), 1));
  game->result = 0xFFFFFFFF;
  EXPECT_TRUE(SetResultFromComment(game.get()));
  EXPECT_EQ(game->result, uint32_t{RESULT_WHITE_RESIGNED});
  EXPECT_EQ(GetCurrentPly(game.get()), 1);
  // A comment naming no result leaves the result as it was.
  last->move = SetMoveString(last->move, "nice", SLOT_COMMENT);
  game->result = 0xFFFFFFFF;
  EXPECT_FALSE(SetResultFromComment(game.get()));
  EXPECT_EQ(game->result, 0xFFFFFFFFu);
  GamePtr empty = MakeGame();
  EXPECT_FALSE(SetResultFromComment(empty.get()));
}

TEST(LoadSaveRules, ProposedNameAndQuestions) {
  GamePtr game = MakeGame();
  std::strcpy(game->white.name, "White");
  std::strcpy(game->black.name, "Black");
  std::strcpy(game->header.site, "Site");
  std::strcpy(game->header.date, "Date");
  EXPECT_EQ(ProposedSaveName(game.get(), "vs"), "White vs Black, Site Date");
  game->header.site[0] = 0;
  EXPECT_EQ(ProposedSaveName(game.get(), "vs"), "White vs Black Date");
  EXPECT_EQ(
      SaveOverwriteQuestion(4, "C:\\a.pgn"),
      "Do you want to append the current game to \"C:\\a.pgn\"? Pressing \"No\" will overwrite the file.");
  EXPECT_EQ(SaveOverwriteQuestion(2, "C:\\a.RWG"), "Replace \"C:\\a.RWG\"?");
}

TEST(LoadSaveRules, SavingAppendsReplacesAndReportsFailures) {
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "d4 d5"));
  const std::string pgn = TempPath("load_save_rules.pgn");
  std::remove(pgn.c_str());
  ASSERT_EQ(SaveGameAs(pgn.c_str(), 4, game.get(), false, -1), 0);
  const std::string once = ReadFileText(pgn);
  ASSERT_NE(once.find("1. d4 d5"), std::string::npos);
  ASSERT_EQ(SaveGameAs(pgn.c_str(), 4, game.get(), true, -1), 0);  // Yes: appended
  const std::string twice = ReadFileText(pgn);
  EXPECT_EQ(twice.compare(0, once.size(), once), 0);
  EXPECT_NE(twice.find("1. d4 d5", twice.find("1. d4 d5") + 1), std::string::npos);
  ASSERT_EQ(SaveGameAs(pgn.c_str(), 4, game.get(), false, -1), 0);  // No: replaced
  EXPECT_EQ(ReadFileText(pgn), once);
  std::remove(pgn.c_str());

  const std::string rwg = TempPath("load_save_rules.RWG");
  ASSERT_EQ(SaveGameAs(rwg.c_str(), 2, game.get(), false, -1), 0);
  GamePtr back = MakeGame();
  EXPECT_EQ(LoadGameFile(rwg.c_str(), back.get()), 1);
  EXPECT_EQ(TreeCountMainLine(back->tree), 2);
  std::remove(rwg.c_str());

  // A file that cannot be opened is reported for every kind.
  const std::string nowhere = TempPath("no_such_folder/x.pgn");
  for (int kind : {2, 4, 10}) {
    const int code = SaveGameAs(nowhere.c_str(), kind, game.get(), kind == 4, -1);
    EXPECT_NE(code, 0) << kind;
    EXPECT_EQ(SaveFailureMessage(code, "x.pgn").substr(0, 19), "Cannot create file ") << kind;
  }
}

TEST(LoadSaveRules, PgnErrorTexts) {
  EXPECT_STREQ(PgnErrorText(4), "Illegal move or unrecognized move");
  EXPECT_STREQ(PgnErrorText(21), "Illegal result");
  EXPECT_STREQ(PgnErrorText(99), "Illegal result");
  EXPECT_STREQ(PgnErrorText(0), "Import PGN Error");
  EXPECT_EQ(PgnErrorMessage(4, 12, 7, "1. e4 Kxe8"),
            "Illegal move or unrecognized move\nLine #:12 Char #: 7\n1. e4 Kxe8");
}

}  // namespace

namespace {

TEST(GameInformationRules, ResultButtonsAndNames) {
  // Every result code checks one button; each button stores its code.
  const int buttons[] = {3, 1, 0, 2, 2, 3, 2, 3, 2, 2, 1, 0, 1, 0, 2, 3};
  for (uint32_t code = 0; code < 16; ++code) EXPECT_EQ(GameInfoResultButton(code), buttons[code]) << code;
  EXPECT_EQ(GameInfoResultButton(0xFFFFFFFFu), 3);
  EXPECT_EQ(GameInfoResultCode(0), 11u);
  EXPECT_EQ(GameInfoResultCode(1), 10u);
  EXPECT_EQ(GameInfoResultCode(2), 9u);
  EXPECT_EQ(GameInfoResultCode(3), 0u);
  EXPECT_EQ(GameInfoResultCode(-1), 0u);
  EXPECT_EQ(GameInfoResultCode(4), 0u);
  // A computer's name stays unless its opponent plays over the internet.
  EXPECT_TRUE(GameInfoNameEditable(PLAYER_HUMAN, PLAYER_ENGINE));
  EXPECT_FALSE(GameInfoNameEditable(PLAYER_ENGINE, PLAYER_HUMAN));
  EXPECT_TRUE(GameInfoNameEditable(PLAYER_ENGINE, PLAYER_REMOTE));
  EXPECT_STREQ(GameInfoPlayerKindText(1), "Computer");
  EXPECT_STREQ(GameInfoPlayerKindText(7), "");
}

TEST(GameInformationRules, AMatedMainLineKeepsTheMate) {
  GamePtr game = MakeGame();
  ASSERT_TRUE(PlayMoves(game.get(), "f3 e5 g4 Qh4"));
  ASSERT_TRUE(SeekToPly(game.get(), 2));
  StoreGameInfoResult(game.get(), GameInfoResultCode(2));
  EXPECT_EQ(game->result, uint32_t{RESULT_WHITE_MATED});
  EXPECT_EQ(GetCurrentPly(game.get()), 2);
  // An open line takes the chosen result; "Game Not Over" is stored as is.
  GamePtr open = MakeGame();
  ASSERT_TRUE(PlayMoves(open.get(), "e4 e5"));
  StoreGameInfoResult(open.get(), GameInfoResultCode(0));
  EXPECT_EQ(open->result, 11u);
  StoreGameInfoResult(game.get(), 0);
  EXPECT_EQ(game->result, 0u);
}

}  // namespace
