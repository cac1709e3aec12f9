// Matrix, vector and plane helpers: row vectors, left-handed, single precision.
#pragma once

#include "platform/types.h"

namespace platform {

Matrix* MatrixIdentity(Matrix* out);
Matrix* MatrixTranslation(Matrix* out, float x, float y, float z);
Matrix* MatrixScaling(Matrix* out, float sx, float sy, float sz);
Matrix* MatrixRotationY(Matrix* out, float angle);
// out = a * b (a is applied first to a row vector). out may alias a or b.
Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b);
Matrix* MatrixLookAtLH(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up);
Matrix* MatrixPerspectiveFovLH(Matrix* out, float fovy, float aspect, float zn, float zf);
Plane* PlaneFromPointNormal(Plane* out, const Vector3* point, const Vector3* normal);

// Value-returning conveniences over the helpers above.
Matrix Identity();
Matrix Translation(float x, float y, float z);
Matrix Scaling(float sx, float sy, float sz);
Matrix RotationY(float angle);
Matrix operator*(const Matrix& a, const Matrix& b);

// p * m with the homogeneous divide skipped (w taken as 1 on input).
Vector3 TransformCoord(const Vector3& p, const Matrix& m);

} // namespace platform
