// Range sets: sorted runs of signed 32-bit integers kept in a KeyedList made
// without user data (the list view's selection). Runs are ascending,
// disjoint and never adjacent; every operation merges runs to keep it so.
// INT32_MAX as a last member means "every index from the first on" and never
// moves when the set is shifted.
//
// Changing calls answer 0 when done and 1 when they failed (a null set, or a
// node that could not be allocated: the set is then left unchanged or
// partly updated).
//
// Interface: RangeSetContains, RangeSetNextMember, RangeSetCount,
// RangeSetSet, RangeSetAddRange, RangeSetRemoveRange, RangeSetInsertItem,
// RangeSetDeleteItem, RangeSetShift.
#pragma once

#include "keyedlist.h"

using RangeSet = KeyedList;

// The data of one node: the last member comes first.
struct RangeRun {
  int32_t last;
  int32_t first;
};

int RangeSetContains(const RangeSet* set, int32_t value);
int RangeSetNextMember(const RangeSet* set, int32_t value, int32_t* out);
int32_t RangeSetCount(const RangeSet* set);
int RangeSetSet(RangeSet* set, int32_t value, int on);
int RangeSetAddRange(RangeSet* set, int32_t first, int32_t last);
int RangeSetRemoveRange(RangeSet* set, int32_t first, int32_t last);
int RangeSetInsertItem(RangeSet* set, int32_t index, int on);
int RangeSetDeleteItem(RangeSet* set, int32_t index);
void RangeSetShift(RangeSet* set, int32_t from, int32_t delta);
