#include "layout.h"

#include <algorithm>

bool ComputeDatabaseLayout(const DatabaseLayoutInput& in, int request, int* rememberedKey,
                           DatabaseLayout* out) {
  const int W = in.width, H = in.height, P = in.panelHeight, S = in.splitterHeight;
  if (W <= 0 || H <= 0) return false;
  const int below = std::max(0, H - P - S);  // room for list and key area
  int K = in.keyHeight;
  const int L = in.listHeight;
  switch (request) {
    case kLayoutKeep:
      break;
    case kLayoutHalf:
      K = below / 2;
      break;
    case kLayoutShare:
      if (K > 0 && L > 0) {
        long long freeSpace = static_cast<long long>(H) - P - L - S - K;
        K = static_cast<int>((static_cast<long long>(K) + L + freeSpace) * K /
                             (static_cast<long long>(K) + L));
      }
      break;
    case kLayoutListFirst:
      if (in.listShowsFullRow || K <= 0) return false;
      K = below / 2;
      break;
    case kLayoutKeyFirst:
      if (in.keyTreeHasItems || L <= 0) return false;
      K = below / 2;
      break;
    default: {
      if (request < 0) return false;
      int position = std::max(P, std::min(request, H - S));
      K = H - S - position;
      break;
    }
  }
  if (!in.keyPaneShown) K = 0;
  K = std::max(0, std::min(K, below));
  if (in.keyPaneShown) {
    if (request != kLayoutKeep) {
      *rememberedKey = K;
    } else if (K < *rememberedKey) {
      K = std::min(*rememberedKey, below);
    }
  }
  out->keyHeight = K;
  out->listTop = P;
  if (in.keyPaneShown) {
    out->listHeight = std::max(0, H - P - S - K);
    out->splitterTop = P + out->listHeight;
    out->stripTop = out->splitterTop + S;
    out->stripHeight = std::min(kKeyHeaderStripHeight, K);
    out->treeTop = out->stripTop + out->stripHeight;
    out->treeHeight = K - out->stripHeight;
  } else {
    out->listHeight = std::max(0, H - P);
    out->splitterTop = H;
    out->stripTop = out->treeTop = H;
    out->stripHeight = out->treeHeight = 0;
  }
  return true;
}

void DatabaseStatusParts(int width, int parts[3]) {
  parts[0] = width * 40 / 100;
  parts[1] = width * 60 / 100;
  parts[2] = -1;
}
