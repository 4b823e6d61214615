// Piece sprites on the sprite library.
#include "scene_sprites_win32.h"

namespace {

// Slides are paced on the system's millisecond clock.
class TickClock : public SlideClock {
 public:
  uint32_t NowMs() override { return GetTickCount(); }
  void SleepMs(uint32_t ms) override { Sleep(ms); }
};

}  // namespace

SceneSprites::SceneSprites(AnimScene* scene, bool flat) : scene_(scene), flat_(flat) {
  for (auto& colour : cels_)
    for (auto& kind : colour)
      for (int& cel : kind) cel = -1;
  for (int& s : sprites_) s = -1;
}

SceneSprites::~SceneSprites() {
  if (!scene_) return;
  for (int s : sprites_)
    if (s >= 0) DeleteSprite(scene_, s);
  for (auto& colour : cels_)
    for (auto& kind : colour)
      for (int cel : kind)
        if (cel >= 0) DeleteSpriteDib(scene_, cel);
  if (template_ >= 0) DeleteSpriteTemplate(scene_, template_);
}

bool SceneSprites::BuildPieceCels(PackedDib* sheet, const PieceSetRecord& set) {
  for (auto& colour : cels_)
    for (auto& kind : colour)
      for (int& cel : kind) cel = -1;
  template_ = AddSpriteTemplate(scene_, sheet);
  if (template_ < 0) return false;
  bool multi = set.celFlag != 0;
  for (int colour = 0; colour < 2; ++colour)
    for (int kind = 0; kind < 6; ++kind)
      for (int cel = 0; cel < (multi ? kMultiCels : 1); ++cel) {
        int32_t x, y;
        if (!PieceCelRect(colour, kind, multi ? cel : -1, &x, &y, set.celWidth, set.celHeight)) return false;
        cels_[colour][kind][cel] =
            AddSpriteDibFromTemplate(scene_, template_, x, y, set.celWidth, set.celHeight);
      }
  return true;
}

bool SceneSprites::CreatePieceSprites() {
  for (int& s : sprites_) {
    s = AddSprite(scene_);
    if (s < 0) return false;
  }
  return true;
}

void SceneSprites::SetPiecePicture(int piece, int colour, int kind, int cel) {
  if (Sprite(piece) < 0 || colour < 0 || colour > 1 || kind < 0 || kind > 5 || cel < 0 || cel >= kMultiCels)
    return;
  int image = cels_[colour][kind][cel];
  if (image >= 0) SetSpriteSpriteDib(scene_, sprites_[piece], image);
}

void SceneSprites::ShowPiece(int piece, ScreenPoint at, int32_t depth) {
  if (Sprite(piece) >= 0) ShowSprite(scene_, sprites_[piece], at.x, at.y, depth, flat_ ? 0 : 1);
}

void SceneSprites::MovePieceHidden(int piece, ScreenPoint at, int32_t depth) {
  if (Sprite(piece) < 0) return;
  SetSpritePosition(scene_, sprites_[piece], at.x, at.y, depth, flat_ ? 0 : 1);
  HideSprite(scene_, sprites_[piece]);
}

void SceneSprites::HidePiece(int piece) {
  if (Sprite(piece) >= 0) HideSprite(scene_, sprites_[piece]);
}

int SlidePieceSprite(const SlideRequest& request, int piece, int fromColumn, int fromRow, int toColumn,
                     int toRow) {
  ScreenPoint from, to;
  if (!SquareCentre(*request.view, fromRow, fromColumn, &from, nullptr) ||
      !SquareCentre(*request.view, toRow, toColumn, &to, nullptr) || request.sprites->Sprite(piece) < 0)
    return 0;
  TickClock clock;
  SlideStepper stepper(WalkLine, &clock);
  int index = 0;
  return stepper.Slide(request.threshold, from.x, from.y, to.x, to.y, [&](int32_t x, int32_t y) {
    // On a tilted board the depth follows the point, so the piece passes
    // behind nearer pieces and in front of farther ones.
    int32_t depth = request.sprites->flat() ? 0 : DepthAtY(*request.view, y);
    request.sprites->ShowPiece(piece, ScreenPoint{x, y}, depth);
    HDC dc = GetDC(request.window);
    PaintScene(request.sprites->scene(), dc);
    ReleaseDC(request.window, dc);
    if (request.point) request.point(request.context, index, x, y);
    ++index;
  });
}
