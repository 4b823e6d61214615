// The book builder: imports games into a book with weights set by a chosen
// criterion, and rewrites, strips, cleans, lists and measures books. Driven
// by "KEY=value" arguments: INBOOK=, OUTBOOK=, PGN=, COLOR=, CRITERIA=,
// DEPTH=, COMMAND=.
//
// Interface: BookBuilderMain, BookBuilderIo, BookBuilderResult,
// ComputeGameFeatures.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "bookgames.h"
#include "booktree.h"

enum BookBuilderResult {
  BUILDER_OK = 0,
  BUILDER_BAD_ARGUMENT = 1,
  BUILDER_CANNOT_WRITE = 2,
  BUILDER_BOOK_TOO_LARGE = 20,
  // The in-book could not be loaded or its texts name a missing node; the
  // command-line tool ends with exit code 1 on it.
  BUILDER_BAD_IN_BOOK = -1,
  // The cancel poll answered yes: nothing was written.
  BUILDER_CANCELLED = -2,
};

struct BookBuilderIo {
  BookReport print;   // standard output
  BookReport report;  // the debug trace
  LineSource input;   // standard input (IMPORTCSV, IMPORTTEST)
  // Makes the game reader over a line source; the PGN reader when unset.
  std::function<std::unique_ptr<BookGameSource>(LineSource)> games;
  // Asked between games and before the out-book is written; true ends the
  // command with BUILDER_CANCELLED and writes nothing. Unset: never.
  std::function<bool()> cancelled;
  // The reader's book slot the command loads its in-book into, on the
  // calling thread; the slot active there before comes back at the end.
  // -1: the active one.
  int bookSlot = -1;
};

int BookBuilderMain(int argc, const char* const* argv, const BookBuilderIo& io);

// The argument vector of an IMPORT run, as the book editor's import thread
// hands it to BookBuilderMain: "executable name here", "command=Import",
// "outbook=", "pgn=", "criteria=", "color=", "depth=" and, only with an
// in-book that is not empty, "inbook=".
std::vector<std::string> BookImportArguments(const std::string& inBook, const std::string& outBook,
                                             const std::string& pgn, const std::string& criterion,
                                             const std::string& colour, int depth);

// The ten features of a game over all its plies.
void ComputeGameFeatures(const std::vector<MoveRecord>& moves, int64_t features[kGameFeatureCount]);
