// The piece sprites of a board scene: the sprite-library side of the piece
// records (cels cut from the piece sheet, 34 piece sprites) and the slide of
// one sprite along a straight line, repainting as it goes.
//
// Interface: SceneSprites (BuildPieceCels, CreatePieceSprites, the
// PieceSpriteScene calls), SlidePieceSprite.
#pragma once

#include <windows.h>

#include "chess_sets.h"
#include "dibkit.h"
#include "piece_cels.h"
#include "piece_records.h"
#include "slide_steps.h"
#include "spriteset.h"

class SceneSprites : public PieceSpriteScene {
 public:
  SceneSprites(AnimScene* scene, bool flat);
  // The piece sprites, their cel images and the sheet's template leave the scene.
  ~SceneSprites() override;
  // The sheet becomes a template and every cel an image: cel 0 of a
  // single-cel set, all 17 of a multi-cel one. False when the library refuses.
  bool BuildPieceCels(PackedDib* sheet, const PieceSetRecord& set);
  bool CreatePieceSprites();
  int Sprite(int piece) const { return piece >= 0 && piece < kPieceSprites ? sprites_[piece] : -1; }
  // The scene image of a cel, -1 for none.
  int CelImage(int colour, int kind, int cel) const {
    if (colour < 0 || colour > 1 || kind < 0 || kind > 5 || cel < 0 || cel >= kMultiCels) return -1;
    return cels_[colour][kind][cel];
  }
  bool flat() const { return flat_; }
  AnimScene* scene() const { return scene_; }

  void SetPiecePicture(int piece, int colour, int kind, int cel) override;
  void ShowPiece(int piece, ScreenPoint at, int32_t depth) override;
  void MovePieceHidden(int piece, ScreenPoint at, int32_t depth) override;
  void HidePiece(int piece) override;

 private:
  AnimScene* scene_;
  bool flat_;
  int template_ = -1;
  int cels_[2][6][kMultiCels];
  int sprites_[kPieceSprites];
};

// Slides the piece's sprite from one square's centre to another's, drawing
// it on every (threshold + 1)-th point of the line and repainting the
// window at each; nothing for Off (threshold below 0). point(x, y) is called
// after each drawn point (tests take their pictures there).
struct SlideRequest {
  SceneSprites* sprites;
  const BoardProjection* view;
  HWND window;
  int threshold;
  void (*point)(void* context, int index, int x, int y);
  void* context;
};
int SlidePieceSprite(const SlideRequest& request, int piece, int fromColumn, int fromRow, int toColumn,
                     int toRow);
