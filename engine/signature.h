// Signature: a fixed-depth search over a fixed set of positions. The total
// node count changes only when the search or the evaluation changes, and is
// the same in every build (native, 32- and 64-bit Windows).
//
// Interface: kSignaturePositions, SearchSignature.
#pragma once

#include "search.h"

namespace corvane {

extern const char* const kSignaturePositions[10];

// Called after each position with its FEN and result.
using SignatureLine = void (*)(void* context, const char* fen, const SearchResult& result);

// Searches every position to `depth` with the default parameters and
// answers the total node count; 0 when a position cannot be set up.
u64 SearchSignature(int depth, SignatureLine line = nullptr, void* context = nullptr);

}  // namespace corvane
