// The round-robin pairing tables: see round_robin.h.
#include "round_robin.h"

#include <iterator>

namespace {

constexpr RoundRobinPair kTwo[] = {{1, 2}};
constexpr RoundRobinPair kFour[] = {{1, 4}, {2, 3}, {3, 1}, {4, 2}, {1, 2}, {3, 4}};
constexpr RoundRobinPair kSix[] = {{3, 6}, {5, 4}, {1, 2}, {2, 6}, {4, 1}, {3, 5}, {6, 5}, {1, 3},
                                   {2, 4}, {6, 4}, {5, 1}, {2, 3}, {1, 6}, {2, 5}, {3, 4}};
constexpr RoundRobinPair kEight[] = {{4, 8}, {5, 3}, {6, 2}, {7, 1}, {8, 7}, {1, 6}, {2, 5},
                                     {3, 4}, {3, 8}, {4, 2}, {5, 1}, {6, 7}, {8, 6}, {7, 5},
                                     {1, 4}, {2, 3}, {2, 8}, {3, 1}, {4, 7}, {5, 6}, {8, 5},
                                     {6, 4}, {7, 3}, {1, 2}, {1, 8}, {2, 7}, {3, 6}, {4, 5}};

}  // namespace

const RoundRobinPair* RoundRobinTable(int entrants, int* count) {
  const RoundRobinPair* table = nullptr;
  int n = 0;
  switch (entrants) {
    case 2:
      table = kTwo, n = int(std::size(kTwo));
      break;
    case 3:
    case 4:
      table = kFour, n = int(std::size(kFour));
      break;
    case 5:
    case 6:
      table = kSix, n = int(std::size(kSix));
      break;
    case 7:
    case 8:
      table = kEight, n = int(std::size(kEight));
      break;
    default:
      break;
  }
  if (count) *count = n;
  return table;
}
