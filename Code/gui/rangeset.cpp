// Range sets: see rangeset.h. Bounds are compared in 64 bits so that the
// neighbours of INT32_MIN and INT32_MAX never overflow.
#include "rangeset.h"

#include <climits>

namespace {

RangeRun* Run(KeyedListNode* node) { return static_cast<RangeRun*>(node->data); }

// The first run whose last member is >= value, or null.
KeyedListNode* FirstEndingAtOrAfter(const RangeSet* set, int64_t value) {
  for (KeyedListNode* node = set->first; node; node = node->next) {
    if (Run(node)->last >= value) return node;
  }
  return nullptr;
}

KeyedListNode* NewRun(RangeSet* set, int32_t first, int32_t last, KeyedListNode* ref, int where) {
  RangeRun run{last, first};
  return KeyedListInsertCopyAt(set, &run, sizeof run, ref, where);
}

int32_t Moved(int32_t bound, int32_t delta) {
  if (bound == INT32_MAX) return bound;  // "to the end" stays open-ended
  int64_t v = int64_t(bound) + delta;
  if (v > INT32_MAX - 1) v = INT32_MAX - 1;
  if (v < INT32_MIN) v = INT32_MIN;
  return int32_t(v);
}

}  // namespace

int RangeSetContains(const RangeSet* set, int32_t value) {
  if (!set) return 0;
  KeyedListNode* node = FirstEndingAtOrAfter(set, value);
  return node && Run(node)->first <= value;
}

int RangeSetNextMember(const RangeSet* set, int32_t value, int32_t* out) {
  if (!set) return 0;
  KeyedListNode* node = FirstEndingAtOrAfter(set, value);
  if (!node) return 0;
  if (out) *out = Run(node)->first > value ? Run(node)->first : value;
  return 1;
}

int32_t RangeSetCount(const RangeSet* set) {
  if (!set) return 0;
  int64_t total = 0;
  for (KeyedListNode* node = set->first; node; node = node->next) {
    total += int64_t(Run(node)->last) - Run(node)->first + 1;
  }
  return total > INT32_MAX ? INT32_MAX : int32_t(total);
}

int RangeSetSet(RangeSet* set, int32_t value, int on) {
  if (!set) return 1;
  const int64_t v = value;
  KeyedListNode* node = FirstEndingAtOrAfter(set, v);
  if (!node) {
    if (!on) return 0;
    if (set->last && Run(set->last)->last == v - 1) {
      Run(set->last)->last = value;
      return 0;
    }
    return NewRun(set, value, value, set->last, KL_AT_TAIL) ? 0 : 1;
  }
  RangeRun* run = Run(node);
  if (run->first <= v) {
    if (on) return 0;
    if (run->first == run->last) return KeyedListRemoveNode(set, node) ? 0 : 1;
    if (run->first == value) {
      ++run->first;
    } else if (run->last == value) {
      --run->last;
    } else {
      if (!NewRun(set, run->first, value - 1, node, KL_BEFORE)) return 1;
      run->first = value + 1;
    }
    return 0;
  }
  if (!on) return 0;
  KeyedListNode* prev = node->prev;
  bool joinsNext = run->first == v + 1;
  bool joinsPrev = prev && Run(prev)->last == v - 1;
  if (joinsNext && joinsPrev) {
    run->first = Run(prev)->first;
    KeyedListRemoveNode(set, prev);
  } else if (joinsNext) {
    run->first = value;
  } else if (joinsPrev) {
    Run(prev)->last = value;
  } else if (!NewRun(set, value, value, node, KL_BEFORE)) {
    return 1;
  }
  return 0;
}

int RangeSetAddRange(RangeSet* set, int32_t first, int32_t last) {
  if (!set) return 1;
  if (first > last) return 0;
  KeyedListNode* r1 = FirstEndingAtOrAfter(set, int64_t(first) - 1);
  if (!r1) {
    if (set->last && Run(set->last)->last >= int64_t(first) - 1) {
      if (Run(set->last)->last < last) Run(set->last)->last = last;
      return 0;
    }
    return NewRun(set, first, last, set->last, KL_AT_TAIL) ? 0 : 1;
  }
  if (int64_t(last) < int64_t(Run(r1)->first) - 1) return NewRun(set, first, last, r1, KL_BEFORE) ? 0 : 1;
  KeyedListNode* r2 = FirstEndingAtOrAfter(set, last);
  if (r2 && Run(r2)->first > int64_t(last) + 1) r2 = r2->prev;
  if (!r2) r2 = set->last;
  RangeRun* merged = Run(r2);
  int32_t newFirst = first < Run(r1)->first ? first : Run(r1)->first;
  merged->last = last > merged->last ? last : merged->last;
  merged->first = newFirst;
  while (r1 != r2) {
    KeyedListNode* next = r1->next;
    KeyedListRemoveNode(set, r1);
    r1 = next;
  }
  return 0;
}

int RangeSetRemoveRange(RangeSet* set, int32_t first, int32_t last) {
  if (!set) return 1;
  if (first > last) return 0;
  KeyedListNode* node = FirstEndingAtOrAfter(set, first);
  while (node && Run(node)->first <= last) {
    RangeRun* run = Run(node);
    KeyedListNode* next = node->next;
    if (run->first >= first && run->last <= last) {
      KeyedListRemoveNode(set, node);
    } else if (run->first < first && run->last > last) {
      if (!NewRun(set, run->first, first - 1, node, KL_BEFORE)) return 1;
      run->first = last + 1;
      return 0;
    } else if (run->first < first) {
      run->last = first - 1;
    } else {
      run->first = last + 1;
      return 0;
    }
    node = next;
  }
  return 0;
}

void RangeSetShift(RangeSet* set, int32_t from, int32_t delta) {
  if (!set) return;
  for (KeyedListNode* node = set->first; node; node = node->next) {
    RangeRun* run = Run(node);
    if (run->first >= from) run->first = Moved(run->first, delta);
    if (run->last >= from) run->last = Moved(run->last, delta);
  }
}

int RangeSetInsertItem(RangeSet* set, int32_t index, int on) {
  if (!set) return 1;
  RangeSetShift(set, index, 1);
  return RangeSetSet(set, index, on);
}

int RangeSetDeleteItem(RangeSet* set, int32_t index) {
  if (!set) return 1;
  KeyedListNode* node = FirstEndingAtOrAfter(set, index);
  if (!node) return 0;
  RangeRun* run = Run(node);
  if (run->first == index) {
    if (run->last == index) {
      KeyedListRemoveNode(set, node);
    } else {
      ++run->first;
    }
  } else if (int64_t(run->first) - 1 == index) {
    // Setting the gap on first joins the runs on both sides of the deleted
    // item, so that after the shift they form one run.
    if (RangeSetSet(set, index, 1)) return 1;
  } else if (run->last == index) {
    --run->last;
  }
  if (index < INT32_MAX) RangeSetShift(set, index + 1, -1);
  return 0;
}
