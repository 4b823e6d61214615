// Numbered sentences of the "ENGMESS" table: chosen by number and two variant
// keys, then filled in with their substitutions.
//
// Interface: Phrasebook, MessageTablePhrasebook, PhrasebookScope,
// CurrentPhrasebook, SelectCommentaryTable, Msg, FormatSentence,
// CapitalizeFirst, JoinBlank.
//
// The commentary asks the calling thread's current phrasebook; it is the
// loaded "ENGMESS" table unless a PhrasebookScope puts another one in place
// (tests render every sentence as its number and keys that way).
#pragma once

#include <initializer_list>
#include <string>

class Phrasebook {
 public:
  virtual ~Phrasebook() = default;
  // The wording of message n for the keys; empty when the table has none.
  virtual std::string Text(int number, int key1, int key2) const = 0;
  // Called when a commentary operation starts to compose sentences.
  virtual void Select() const {}
};

// The loaded message table named "ENGMESS" (rules: message tables).
class MessageTablePhrasebook : public Phrasebook {
 public:
  std::string Text(int number, int key1, int key2) const override;
  void Select() const override;
};

// Makes `book` the calling thread's phrasebook until the scope ends.
class PhrasebookScope {
 public:
  explicit PhrasebookScope(const Phrasebook* book);
  ~PhrasebookScope();
  PhrasebookScope(const PhrasebookScope&) = delete;
  PhrasebookScope& operator=(const PhrasebookScope&) = delete;

 private:
  const Phrasebook* previous_;
};

const Phrasebook& CurrentPhrasebook();
void SelectCommentaryTable();

// Replaces each "%s" or "%d" (any "%" and letter) with the next argument,
// "%%" with "%"; missing arguments are empty. "%w" puts the argument's own
// voice piece before it ("e4" gives "{W:e4}e4"), for values said aloud.
std::string FormatSentence(const std::string& format, std::initializer_list<std::string> args);
std::string Msg(int number, int key1, int key2, std::initializer_list<std::string> args = {});
// Upper-cases the first letter outside markup groups.
std::string CapitalizeFirst(std::string text);
// a + " " + b, without doubled or leading blanks for empty parts.
void AppendBlank(std::string* text, const std::string& part);
