#include "selectable_messages.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

std::mutex gRequestedLock;
std::set<MessageKey> gRequested;

void Add(std::set<MessageKey>* set, std::initializer_list<int> numbers, const std::vector<int>& k1,
         const std::vector<int>& k2) {
  for (int n : numbers)
    for (int a : k1)
      for (int b : k2) set->insert(MessageKey(n, a, b));
}
std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}
std::vector<int> Plus(std::vector<int> a, const std::vector<int>& b) {
  std::vector<int> out;
  for (int x : a)
    for (int y : b) out.push_back(x + y);
  return out;
}

std::set<MessageKey> Build() {
  std::set<MessageKey> s;
  const std::vector<int> L = {11, 12, 21, 22}, sides = {16, 32}, sideOr0 = {0, 16, 32};
  Add(&s, {0,   1,   2,   3,   4,   5,   7,   8,   34,  87,  93,  94,  97,  98,  99,  100, 101, 111, 112,
           113, 114, 115, 116, 117, 118, 121, 122, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134,
           135, 136, 137, 138, 139, 140, 141, 143, 152, 153, 154, 155, 156, 157, 158, 160, 161, 162, 163,
           164, 165, 166, 168, 169, 170, 171, 172, 174, 175, 176, 178, 183, 189, 190, 192, 194, 195, 196},
      {0}, {0});
  Add(&s, {15}, Range(1, 12), {1, 2});
  Add(&s, {16}, Range(1, 99), {0});
  Add(&s, {18, 22, 23}, Range(0, 5), {1, 2});
  Add(&s, {24}, {0, 1, 2, 10, 11, 12}, {2, 3});
  Add(&s, {25, 30, 31, 41}, {0}, {1, 2});
  Add(&s, {26}, Range(1, 4), {2});
  Add(&s, {29}, Plus({0, 16, 32}, Range(1, 5)), {1, 2});
  Add(&s, {32}, {0}, Range(1, 4));
  Add(&s, {33}, Plus({0}, Range(0, 22)), {0});
  Add(&s, {33}, {50, 51}, {0});
  Add(&s, {35, 75, 119, 123, 167, 173}, {0, 1}, {0});
  Add(&s, {36, 37, 38}, Plus(sideOr0, Range(1, 7)), L);
  Add(&s, {39, 40, 42, 43, 44, 45, 46, 47, 60, 63}, sideOr0, L);
  Add(&s, {39}, sides, {22});
  Add(&s, {42, 47}, {1}, {11, 12});
  Add(&s, {48, 49}, Range(0, 5), L);
  Add(&s, {50}, {3, 4, 8, 9}, {116, 132});
  Add(&s, {50}, {10}, {100, 116, 132});
  Add(&s, {50}, {11}, {200});
  Add(&s, {50}, {5}, {216, 232});
  Add(&s, {50}, {6}, {116, 132, 216, 232});
  Add(&s, {51}, {3, 4, 8, 9}, {216, 232});
  Add(&s, {51}, {8}, {100});
  s.insert(MessageKey(52, 3, 3));
  s.insert(MessageKey(52, 4, 4));
  s.insert(MessageKey(53, 3, 4));
  s.insert(MessageKey(53, 4, 3));
  Add(&s, {54}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, Plus(Plus(Range(1, 5), {0, 10}), {100, 200}));
  Add(&s, {55, 56}, Range(0, 3), Range(0, 5));
  Add(&s, {57, 58}, Range(0, 3), Plus(sides, Range(0, 5)));
  Add(&s, {59}, Plus(sideOr0, Range(1, 7)), Plus(Plus(Range(1, 7), {10, 20}), {100, 200}));
  Add(&s, {61}, {1, 2}, {0});
  Add(&s, {62, 68, 88, 89, 90, 91, 92}, {0}, L);
  Add(&s, {64}, sides, L);
  Add(&s, {65}, sides, {11, 12});
  Add(&s, {66}, {0, 1}, L);
  Add(&s, {67}, {0, 1, 2}, L);
  Add(&s, {69, 70, 71, 72}, sideOr0, {10, 11, 12, 13, 20, 21, 22, 23});
  Add(&s, {73}, sideOr0, Plus(Plus(Range(0, 4), {0, 10}), {100, 200}));
  Add(&s, {74}, sides, {0, 1});
  s.insert(MessageKey(74, 0, 1));
  Add(&s, {76, 86}, sideOr0, {0});
  Add(&s, {77, 79, 80, 81, 85}, sides, {0});
  Add(&s, {78}, sides, Plus({0, 100}, Range(0, 25)));
  Add(&s, {82}, Range(0, 5), {0});
  Add(&s, {83}, {16, 17, 32, 33}, Plus(Range(0, 5), {0, 10, 20, 30, 40, 50, 60, 70}));
  Add(&s, {95}, {2}, {11, 21});
  Add(&s, {103}, {0}, {1, 2, 3, 8, 9});
  Add(&s, {120}, Range(0, 4), {0});
  Add(&s, {150}, {0, 1}, {0});
  Add(&s, {151}, {0, 1, 2}, {0});
  Add(&s, {159, 188}, Range(0, 5), {0});
  Add(&s, {177}, Range(2, 7), {1});
  Add(&s, {177}, {1}, Range(1, 7));
  Add(&s, {184}, Plus({0}, Range(0, 8)), {0});
  s.insert(MessageKey(184, 99, 0));
  Add(&s, {191}, {0}, {1, 2});
  Add(&s, {193}, {1, 2}, {0});
  return s;
}

std::set<MessageKey> BuildFallback() {
  std::set<MessageKey> s;
  Add(&s, {15}, Range(0, 255), {1, 2});
  Add(&s, {16}, Range(0, 255), {0});
  Add(&s, {17}, Range(0, 9), {0});
  return s;
}

}  // namespace

const std::set<MessageKey>& SelectableMessages() {
  static const std::set<MessageKey> kSet = Build();
  return kSet;
}

const std::set<MessageKey>& FallbackMessages() {
  static const std::set<MessageKey> kSet = BuildFallback();
  return kSet;
}

std::string FixturePhrasebook::Text(int number, int key1, int key2) const {
  {
    std::lock_guard<std::mutex> lock(gRequestedLock);
    gRequested.insert(MessageKey(number, key1, key2));
  }
  return "[" + std::to_string(number) + "/" + std::to_string(key1) + "/" + std::to_string(key2) +
         ":%s|%s|%s|%s]";
}

std::set<MessageKey> FixturePhrasebook::Requested() {
  std::lock_guard<std::mutex> lock(gRequestedLock);
  return gRequested;
}

namespace {

// After the whole run: every sentence the code asked for must be in the
// catalogue the table test walks.
class CatalogueCheck : public ::testing::Environment {
 public:
  void TearDown() override {
    for (const MessageKey& k : FixturePhrasebook::Requested()) {
      if (SelectableMessages().count(k) || FallbackMessages().count(k)) continue;
      ADD_FAILURE() << "message " << std::get<0>(k) << " keys " << std::get<1>(k) << ", " << std::get<2>(k)
                    << " is selected but not in the catalogue";
    }
  }
};

::testing::Environment* const kCatalogueCheck = ::testing::AddGlobalTestEnvironment(new CatalogueCheck);

}  // namespace
