// The print markup reader: cuts the job's working copy into text blocks and
// carries out the dot commands on its way.
//
//   .c n...        columns          .j B|C|L|R      justification
//   .d B|E         keep together    .n [count] L|P  new lines or a new page
//   .f words       font             .t n...         tab stops
//
// Interface: MarkupItemKind, MarkupItem, ReadMarkupItem, ParseMarkupNumber.
#pragma once

#include <cstdint>
#include <string>

#include "print_job.h"
#include "print_surface.h"

enum class MarkupItemKind { kText, kNewLines, kNewPage, kEnd };

struct MarkupItem {
  MarkupItemKind kind = MarkupItemKind::kEnd;
  int32_t start = 0;  // text blocks: index into the working copy
  int32_t length = 0;
  bool tabbed = false;
};

// One item from the job's read position. `limit` 0 or positive reads a
// whole block; -n ends a block at its last break point once n characters
// are read.
MarkupItem ReadMarkupItem(PrintJob& job, PrintSurface& surface, int32_t limit);

// A markup number: optional sign and leading digits, held within
// kMarkupNumberLimit; 0 when the word has no digits.
int64_t ParseMarkupNumber(const std::string& word);
