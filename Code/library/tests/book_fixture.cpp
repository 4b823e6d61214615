#include "book_fixture.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "board.h"
#include "notation.h"

std::vector<uint8_t> MakeBookImage(const std::vector<BookMoveWord>& words,
                                   const std::vector<FixtureText>& texts, int textSizeField) {
  std::vector<uint8_t> area;
  for (const FixtureText& t : texts) {
    size_t pos = 0;
    do {
      size_t piece = std::min<size_t>(255, t.text.size() - pos);
      area.push_back(static_cast<uint8_t>((t.node + 1) & 255));
      area.push_back(static_cast<uint8_t>((t.node + 1) >> 8));
      area.push_back(static_cast<uint8_t>(piece));
      area.push_back(static_cast<uint8_t>(t.kind));
      area.insert(area.end(), t.text.begin() + pos, t.text.begin() + pos + piece);
      pos += piece;
    } while (pos < t.text.size());
  }
  std::vector<uint8_t> image = {'U', 'G', 'W', 'S', 0, 0, 0, 0};
  WriteLe16(&image[4], static_cast<uint16_t>(words.size()));
  WriteLe16(&image[6], static_cast<uint16_t>(textSizeField >= 0 ? textSizeField : area.size()));
  for (BookMoveWord w : words) {
    image.push_back(static_cast<uint8_t>(w));
    image.push_back(static_cast<uint8_t>(w >> 8));
  }
  image.insert(image.end(), area.begin(), area.end());
  return image;
}

BookMoveWord CoordWord(const char* move, int weight, bool leaf, bool last) {
  int from = (move[1] - '1') * 8 + (move[0] - 'a');
  int to = (move[3] - '1') * 8 + (move[2] - 'a');
  return MakeBookMoveWord(from, to, weight, leaf, last);
}

std::vector<MoveRecord> SanLine(const char* text) {
  MoveRecord moves[400];
  int count = 400;
  Board board;
  SetInitialBoard(&board);
  ParseMoveListText(moves, &count, text, &board, WHITE);
  return std::vector<MoveRecord>(moves, moves + count);
}

std::string TempPath(const char* name) { return std::string("rwbook_test_") + name; }

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
