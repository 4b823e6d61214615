// The 2 x 2 glyph transformation matrices of the text renderer, in 16.16
// fixed point as the system's glyph-outline call takes them (the layout of
// MAT2). OS-free.
//
// Interface: CttFixedFromDouble, CttFixedValue, CttSetMat, CttSetRotationMat.
#pragma once

#include <cstdint>

struct CttFixed {
  uint16_t fract;
  int16_t value;
};

struct CttMat2 {
  CttFixed eM11, eM12, eM21, eM22;
};

// value x 65536, truncated toward zero.
CttFixed CttFixedFromDouble(double value);
int32_t CttFixedValue(CttFixed f);

// When a or b is 0 both become 1.0; eM11 = a, eM12 = d, eM21 = c, eM22 = -b.
void CttSetMat(CttMat2* mat, double a, double b, double c, double d);
// Rotation by the angle, with pi taken as 3.1415927.
void CttSetRotationMat(CttMat2* mat, double degrees);
