// PGN files in the styles other programs write, and what each holds. Both
// PGN readers (the game files' and the database module's) must read every
// file to exactly this, so they never disagree about the games of a file.
// The files are in tests/data/pgn_styles beside this header.
#pragma once

#include <vector>

struct PgnStyleError {
  int game;          // 0-based
  const char* move;  // the move token the game stops at
  int line, column;  // the line and the column after the move
};

struct PgnStyleCase {
  const char* file;
  std::vector<int> plies;  // main-line moves of each game, in file order
  const char* white;       // the first game's White in Windows-1252, or null
  const char* black;       // the first game's Black, or null
  const char* comment;     // text that the first move's comment holds, or null
  std::vector<PgnStyleError> errors;
};

inline const std::vector<PgnStyleCase>& PgnStyleCases() {
  static const std::vector<PgnStyleCase> cases = {
      // Saved on Windows: byte-order mark, CR LF.
      {"bom_crlf.pgn", {7, 6}, "Ann", "Bob", nullptr, {}},
      // Single-line move text of about 5,000 characters with clock and
      // evaluation comments, and a tag line of over 2,000.
      {"long_lines.pgn", {200, 113, 200}, "Player 0", "Player 0", "[%clk 0:05:00]", {}},
      // Wrong numbers, variations numbered like their parent move, and
      // set-ups numbered from 1 or from their own counter.
      {"move_numbers.pgn", {8, 4, 3}, "Eve", "Fay", nullptr, {}},
      // Castling rights and en-passant squares the position cannot have.
      {"fen_rights.pgn", {2, 2, 2}, "Kai", "Lea", nullptr, {}},
      // Null moves stop their game after the moves before them; so does an
      // illegal move, and the games after them are read.
      {"null_moves.pgn",
       {3, 1, 2, 2},
       "Quin",
       "Rex",
       nullptr,
       {{0, "--", 6, 19}, {1, "Z0", 13, 9}, {3, "Ke3", 28, 7}}},
      // Commands in comments, one of them on a line of its own that looks
      // like a tag.
      {"clock_comments.pgn", {8, 2}, "Yul", "Zed", "[%clk 0:05:00]", {}},
      // UTF-8 names and comments: a Latin letter that Windows-1252 lacks
      // becomes its base letter, any other character "?".
      {"utf8_names.pgn", {4}, "M\xFCller, J\xFCrgen", "Lukasiewicz, Zo\xEB",
       "Tr\xE8s bien \x96 the \x93main\x94 line ?", {}},
  };
  return cases;
}
