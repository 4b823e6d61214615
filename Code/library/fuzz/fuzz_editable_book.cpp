// Fuzzes the editable book over file bytes: opening, loading into the move
// table and text store, editing texts and saving.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "editablebook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string in = "/tmp/fuzz_editable_book_in." + std::to_string(getpid());
  static const std::string out = "/tmp/fuzz_editable_book_out." + std::to_string(getpid());
  FILE* f = std::fopen(in.c_str(), "wb");
  if (f == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  EditableBook book;
  if (book.Open(in.c_str()) != 0) return 0;
  for (int node = 0; node < book.MoveCount() && node < 512; ++node) {
    book.FirstChild(node);
    book.NextSibling(node);
  }
  BookMoveTable table(book.MoveCount());
  LoadBookMoves(book, &table);
  BookTextStore store;
  store.Load(book);
  for (uint16_t key = 1; key < 64; ++key) {
    store.GetText(key, BOOK_TEXT_COMMENT);
    store.GetText(key, BOOK_TEXT_NAME);
  }
  store.SetBookText(1, BOOK_TEXT_NAME, "renamed");
  store.SetBookText(2, BOOK_TEXT_COMMENT, std::string(300, 'c'));
  store.DeleteAllTexts(3);
  if (table.EntriesInUse() > 1) {
    int first = table.FirstChild(0);
    table.Unlink(first);
    table.FreeEntry(first);
  }
  if (StoreBookMoves(table, store, out.c_str()) == 0) {
    EditableBook again;
    again.Open(out.c_str());
  }
  return 0;
}
