// Every (number, key 1, key 2) the commentary code can ask of "ENGMESS",
// and a phrasebook that renders each sentence as its number and keys.
#pragma once

#include <mutex>
#include <set>
#include <string>
#include <tuple>

#include "sentences.h"

using MessageKey = std::tuple<int, int, int>;

// The keys the code selects; `fallback` ones may be missing from a table
// (the code then writes digits instead).
const std::set<MessageKey>& SelectableMessages();
const std::set<MessageKey>& FallbackMessages();

// "[n/k1/k2:a|b|c|d]": number, keys and up to four substitutions. Every
// request is recorded so that a test can check the catalogue is complete.
class FixturePhrasebook : public Phrasebook {
 public:
  std::string Text(int number, int key1, int key2) const override;
  static std::set<MessageKey> Requested();
};
