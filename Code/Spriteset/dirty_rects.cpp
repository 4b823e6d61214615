// The dirty-rectangle list: every repaint request of a scene ends here.
//
// A new rectangle is clipped to the scene and merged into the first listed
// rectangle close enough to it, so that PaintScene makes fewer, larger
// copies; a slack of 3,000 pixels of overdraw is accepted per merge.
#include <cstdint>

#include "anim_scene.h"

using namespace spriteset;

namespace {

constexpr int64_t kMergeSlack = 3000;

// Areas are counted as (right - left) x (bottom - top) of the inclusive
// corners, as the merge rule has always done.
int64_t Area(const DibRect& r) { return int64_t{r.right - r.left} * int64_t{r.bottom - r.top}; }

bool Merges(const DibRect& a, const DibRect& b) {
  return Area(Union(a, b)) < Area(a) + Area(b) + kMergeSlack;
}

}  // namespace

extern "C" int MakeRectInvalid(AnimScene* scene, int left, int top, int right, int bottom) {
  if (scene == nullptr) return 1;
  DibRect r;
  if (!Intersect(DibRect{left, top, right, bottom}, scene->bounds, &r)) return 1;
  for (int i = 0; i < scene->invalidCount; ++i) {
    if (Merges(scene->invalid[i], r)) {
      scene->invalid[i] = Union(scene->invalid[i], r);
      return 1;
    }
  }
  if (scene->invalidCount >= ANIM_MAX_INVALID_RECTS) return ANIM_MAX_INVALID_RECTS;
  scene->invalid[scene->invalidCount++] = r;
  return scene->invalidCount;
}
