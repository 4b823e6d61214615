// Integer fixed-point maths of the board projection: 32767 stands for one,
// angles are whole degrees looked up in sine and cosine tables.
//
// Interface: FixSin, FixCos, AngleIndex, the 4 x 4 matrix builders, and
// VectorTimesMatrix. Products are formed in 64 bits so that no board size a
// layout can hold overflows; every term of a matrix product is divided and
// truncated on its own before the terms are summed, which is what the stored
// board pictures were registered against.
#pragma once

#include <cstdint>

constexpr int32_t kFixedOne = 32767;

struct FixVector {
  int32_t v[4];
};

struct FixMatrix {
  int32_t m[4][4];
};

// Any angle, negative ones included, as a table index 0..359.
int AngleIndex(int degrees);
int32_t FixSin(int degrees);
int32_t FixCos(int degrees);

void IdentityMatrix(FixMatrix* out);
void ZeroMatrix(FixMatrix* out);
void RotationX(FixMatrix* out, int degrees);
void RotationY(FixMatrix* out, int degrees);
void RotationZ(FixMatrix* out, int degrees);
void TranslationMatrix(FixMatrix* out, int32_t dx, int32_t dy, int32_t dz);
// d must not be 0; the caller guards it.
void PerspectiveMatrix(FixMatrix* out, int32_t d);

// r[j] = sum of trunc(v[i] * M[i][j] / 32767); the result replaces v.
void VectorTimesMatrix(FixVector* v, const FixMatrix& matrix);
void ScaleVector(FixVector* v, int32_t factor);
// A divisor of 0 leaves the vector as it is.
void DivideVector(FixVector* v, int32_t divisor);

// A point (x, y, z) made a vector with w = 1, multiplied and put back.
struct FixPoint3 {
  int32_t x, y, z;
};
void TransformPoint(FixPoint3* p, const FixMatrix& matrix);
