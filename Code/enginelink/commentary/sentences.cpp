#include "sentences.h"

#include <cctype>

#include "message_table.h"

namespace {

const MessageTablePhrasebook kTableBook;
thread_local const Phrasebook* tBook = nullptr;

}  // namespace

std::string MessageTablePhrasebook::Text(int number, int key1, int key2) const {
  char buffer[2048];
  GetMessageText(number, key1, key2, buffer, sizeof buffer);
  return buffer;
}

void MessageTablePhrasebook::Select() const { SelectMessageTable("ENGMESS"); }

PhrasebookScope::PhrasebookScope(const Phrasebook* book) : previous_(tBook) { tBook = book; }
PhrasebookScope::~PhrasebookScope() { tBook = previous_; }

const Phrasebook& CurrentPhrasebook() { return tBook ? *tBook : kTableBook; }
void SelectCommentaryTable() { CurrentPhrasebook().Select(); }

std::string FormatSentence(const std::string& format, std::initializer_list<std::string> args) {
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      char d = format[i + 1];
      if (d == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (d == 'w') {
        // A spoken value (a square, a file, a rank): its own voice piece,
        // named by the value, before the value itself.
        if (next != args.end()) {
          if (!next->empty()) out += "{W:" + *next + "}" + *next;
          ++next;
        }
        ++i;
        continue;
      }
      if (std::isalpha(static_cast<unsigned char>(d))) {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::string Msg(int number, int key1, int key2, std::initializer_list<std::string> args) {
  return FormatSentence(CurrentPhrasebook().Text(number, key1, key2), args);
}

std::string CapitalizeFirst(std::string text) {
  int depth = 0;
  for (char& c : text) {
    if (c == '{')
      ++depth;
    else if (c == '}' && depth > 0)
      --depth;
    else if (depth == 0) {
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      break;
    }
  }
  return text;
}

void AppendBlank(std::string* text, const std::string& part) {
  if (part.empty()) return;
  if (!text->empty() && text->back() != ' ' && part.front() != ' ') *text += ' ';
  *text += part;
}
