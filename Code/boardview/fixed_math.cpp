// Fixed-point tables and matrices of the board projection.
#include "fixed_math.h"

#include <cmath>

namespace {

struct AngleTables {
  int32_t sine[360];
  int32_t cosine[360];
  AngleTables() {
    const double kPi = 3.14159265358979323846;
    for (int d = 0; d < 360; ++d) {
      sine[d] = static_cast<int32_t>(std::lround(kFixedOne * std::sin(d * kPi / 180.0)));
      cosine[d] = static_cast<int32_t>(std::lround(kFixedOne * std::cos(d * kPi / 180.0)));
    }
  }
};

const AngleTables& Tables() {
  static const AngleTables tables;
  return tables;
}

int32_t Clamp32(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

// Normalised to 0..359 so that a negative angle keeps its sine's sign.
int AngleIndex(int degrees) {
  int index = degrees % 360;
  return index < 0 ? index + 360 : index;
}

int32_t FixSin(int degrees) { return Tables().sine[AngleIndex(degrees)]; }
int32_t FixCos(int degrees) { return Tables().cosine[AngleIndex(degrees)]; }

void ZeroMatrix(FixMatrix* out) { *out = FixMatrix{}; }

void IdentityMatrix(FixMatrix* out) {
  ZeroMatrix(out);
  for (int i = 0; i < 4; ++i) out->m[i][i] = kFixedOne;
}

void RotationX(FixMatrix* out, int degrees) {
  IdentityMatrix(out);
  out->m[1][1] = out->m[2][2] = FixCos(degrees);
  out->m[2][1] = FixSin(degrees);
  out->m[1][2] = -FixSin(degrees);
}

void RotationY(FixMatrix* out, int degrees) {
  IdentityMatrix(out);
  out->m[0][0] = out->m[2][2] = FixCos(degrees);
  out->m[2][0] = FixSin(degrees);
  out->m[0][2] = -FixSin(degrees);
}

void RotationZ(FixMatrix* out, int degrees) {
  IdentityMatrix(out);
  out->m[0][0] = out->m[1][1] = FixCos(degrees);
  out->m[0][1] = FixSin(degrees);
  out->m[1][0] = -FixSin(degrees);
}

void TranslationMatrix(FixMatrix* out, int32_t dx, int32_t dy, int32_t dz) {
  IdentityMatrix(out);
  out->m[3][0] = Clamp32(int64_t{dx} * kFixedOne);
  out->m[3][1] = Clamp32(int64_t{dy} * kFixedOne);
  out->m[3][2] = Clamp32(int64_t{dz} * kFixedOne);
}

void PerspectiveMatrix(FixMatrix* out, int32_t d) {
  IdentityMatrix(out);
  out->m[2][2] = 0;
  out->m[2][3] = d != 0 ? kFixedOne / d : 0;
}

void VectorTimesMatrix(FixVector* v, const FixMatrix& matrix) {
  FixVector r{};
  for (int j = 0; j < 4; ++j) {
    int64_t sum = 0;
    for (int i = 0; i < 4; ++i) sum += int64_t{v->v[i]} * matrix.m[i][j] / kFixedOne;
    r.v[j] = Clamp32(sum);
  }
  *v = r;
}

void ScaleVector(FixVector* v, int32_t factor) {
  for (int32_t& c : v->v) c = Clamp32(int64_t{c} * factor);
}

void DivideVector(FixVector* v, int32_t divisor) {
  if (divisor == 0) return;
  for (int32_t& c : v->v) c = Clamp32(int64_t{c} / divisor);
}

void TransformPoint(FixPoint3* p, const FixMatrix& matrix) {
  FixVector v{{p->x, p->y, p->z, 1}};
  VectorTimesMatrix(&v, matrix);
  p->x = v.v[0];
  p->y = v.v[1];
  p->z = v.v[2];
}
