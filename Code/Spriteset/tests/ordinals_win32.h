// Spriteset.dll bound the way the main program binds it: by ordinal.
#pragma once

#include <windows.h>

#include "spriteset.h"

namespace spritetest {

struct OrdinalName {
  int ordinal;
  const char* name;
};

// Every export with its ordinal.
inline const OrdinalName kExports[] = {
    {62, "InitAnimate"},
    {63, "TerminateAnimate"},
    {65, "BackgroundSetDibFromFile"},
    {66, "BackgroundDestroyDib"},
    {67, "BackgroundSetDibFromPtr"},
    {70, "SetDebugInvalidRects"},
    {71, "MakeRectInvalid"},
    {72, "SetSortMode"},
    {73, "ResetFixupPaintTimes"},
    {74, "GetFixupPaintTimes"},
    {75, "PaintScene"},
    {76, "PaintSceneRect"},
    {78, "PaintScenePartialDepth"},
    {79, "PaintSceneSFX"},
    {80, "AddSpriteTemplate"},
    {81, "OpenSpriteTemplate"},
    {82, "SetSpriteTemplate"},
    {83, "AddSpriteDibFromTemplate"},
    {84, "SetSpriteDibFromTemplate"},
    {85, "DeleteSpriteTemplate"},
    {86, "CloseSpriteTemplate"},
    {87, "HideSprite"},
    {88, "UnHideSprite"},
    {89, "ShowSprite"},
    {90, "SetSpritePosition"},
    {91, "AddSprite"},
    {92, "AddSpriteDib"},
    {93, "SetSpriteDib"},
    {95, "SetSpriteDibSizeFromRect"},
    {96, "DeleteSprite"},
    {97, "DeleteSpriteDib"},
    {98, "SetSpriteSpriteDib"},
    {99, "GetSpritePosition"},
    {100, "GetSpriteRect"},
    {101, "GetDibSize"},
    {102, "GetSpriteFromPoint"},
    {103, "IsSpriteVisible"},
    {147, "SetCanvasSize"},
    {149, "RegisterDrawCallback"},
    {150, "UnregisterAllDrawCallbacks"},
    {151, "UnregisterDrawCallback"},
    {152, "AnimRevision"},
    {153, "AnimVersion"},
    {154, "AnimVersionString"},
    {156, "MakeScanlineInvalid"},
    {158, "OffsetRectInsideBackground"},
    {163, "BackgroundSetStretch"},
    {164, "BackgroundSetFlags"},
    {187, "SetCanvasColorTable"},
    {200, "DoFXSprite"},
    {201, "UndoFXSprite"},
    {202, "GetSpritePBIH"},
};

// The calls the tests make, each found by its ordinal.
struct Spriteset {
  HMODULE module = nullptr;
  decltype(&::InitAnimate) InitAnimate;
  decltype(&::TerminateAnimate) TerminateAnimate;
  decltype(&::BackgroundSetDibFromPtr) BackgroundSetDibFromPtr;
  decltype(&::MakeRectInvalid) MakeRectInvalid;
  decltype(&::PaintScene) PaintScene;
  decltype(&::PaintSceneRect) PaintSceneRect;
  decltype(&::PaintSceneSFX) PaintSceneSFX;
  decltype(&::AddSprite) AddSprite;
  decltype(&::AddSpriteDib) AddSpriteDib;
  decltype(&::SetSpriteSpriteDib) SetSpriteSpriteDib;
  decltype(&::ShowSprite) ShowSprite;
  decltype(&::DoFXSprite) DoFXSprite;
  decltype(&::SetCanvasSize) SetCanvasSize;
  decltype(&::SetCanvasColorTable) SetCanvasColorTable;
  decltype(&::RegisterDrawCallback) RegisterDrawCallback;
  decltype(&::UnregisterAllDrawCallbacks) UnregisterAllDrawCallbacks;
  decltype(&::AnimVersion) AnimVersion;
  decltype(&::AnimVersionString) AnimVersionString;

  template <typename F>
  bool Bind(F* fn, int ordinal) {
    *fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
    return *fn != nullptr;
  }
  // Loads the DLL and binds every call; false when something is missing.
  bool Load() {
    module = LoadLibraryA("Spriteset.dll");
    if (module == nullptr) return false;
    return Bind(&InitAnimate, 62) && Bind(&TerminateAnimate, 63) && Bind(&BackgroundSetDibFromPtr, 67) &&
           Bind(&MakeRectInvalid, 71) && Bind(&PaintScene, 75) && Bind(&PaintSceneRect, 76) &&
           Bind(&PaintSceneSFX, 79) && Bind(&AddSprite, 91) && Bind(&AddSpriteDib, 92) &&
           Bind(&SetSpriteSpriteDib, 98) && Bind(&ShowSprite, 89) && Bind(&DoFXSprite, 200) &&
           Bind(&SetCanvasSize, 147) && Bind(&SetCanvasColorTable, 187) && Bind(&RegisterDrawCallback, 149) &&
           Bind(&UnregisterAllDrawCallbacks, 150) && Bind(&AnimVersion, 153) && Bind(&AnimVersionString, 154);
  }
  ~Spriteset() {
    if (module) FreeLibrary(module);
  }
};

}  // namespace spritetest
