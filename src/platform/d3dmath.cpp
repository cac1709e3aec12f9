// Matrix, vector and plane helpers.
#include "platform/d3dmath.h"

#include <cmath>

namespace platform {

namespace {
Vector3 Sub(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float Dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vector3 Normalize(const Vector3& v) {
    float len = std::sqrt(Dot(v, v));
    if (len == 0.0f) return v;
    return {v.x / len, v.y / len, v.z / len};
}
} // namespace

Matrix* MatrixIdentity(Matrix* out) {
    *out = Matrix{};
    for (int i = 0; i < 4; ++i) out->m[i][i] = 1.0f;
    return out;
}

Matrix* MatrixTranslation(Matrix* out, float x, float y, float z) {
    MatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

Matrix* MatrixScaling(Matrix* out, float sx, float sy, float sz) {
    *out = Matrix{};
    out->m[0][0] = sx;
    out->m[1][1] = sy;
    out->m[2][2] = sz;
    out->m[3][3] = 1.0f;
    return out;
}

Matrix* MatrixRotationY(Matrix* out, float angle) {
    float s = std::sin(angle), c = std::cos(angle);
    MatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][2] = -s;
    out->m[2][0] = s;
    out->m[2][2] = c;
    return out;
}

Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b) {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] +
                        a->m[i][2] * b->m[2][j] + a->m[i][3] * b->m[3][j];
    *out = r;
    return out;
}

Matrix* MatrixLookAtLH(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up) {
    Vector3 z = Normalize(Sub(*at, *eye));
    Vector3 x = Normalize(Cross(*up, z));
    Vector3 y = Cross(z, x);
    *out = Matrix{};
    out->m[0][0] = x.x, out->m[0][1] = y.x, out->m[0][2] = z.x;
    out->m[1][0] = x.y, out->m[1][1] = y.y, out->m[1][2] = z.y;
    out->m[2][0] = x.z, out->m[2][1] = y.z, out->m[2][2] = z.z;
    out->m[3][0] = -Dot(x, *eye);
    out->m[3][1] = -Dot(y, *eye);
    out->m[3][2] = -Dot(z, *eye);
    out->m[3][3] = 1.0f;
    return out;
}

Matrix* MatrixPerspectiveFovLH(Matrix* out, float fovy, float aspect, float zn, float zf) {
    float yScale = 1.0f / std::tan(fovy / 2.0f);
    float xScale = yScale / aspect;
    *out = Matrix{};
    out->m[0][0] = xScale;
    out->m[1][1] = yScale;
    out->m[2][2] = zf / (zf - zn);
    out->m[2][3] = 1.0f;
    out->m[3][2] = -zn * zf / (zf - zn);
    return out;
}

Plane* PlaneFromPointNormal(Plane* out, const Vector3* point, const Vector3* normal) {
    out->a = normal->x;
    out->b = normal->y;
    out->c = normal->z;
    out->d = -Dot(*point, *normal);
    return out;
}

Matrix Identity() {
    Matrix m;
    return *MatrixIdentity(&m);
}
Matrix Translation(float x, float y, float z) {
    Matrix m;
    return *MatrixTranslation(&m, x, y, z);
}
Matrix Scaling(float sx, float sy, float sz) {
    Matrix m;
    return *MatrixScaling(&m, sx, sy, sz);
}
Matrix RotationY(float angle) {
    Matrix m;
    return *MatrixRotationY(&m, angle);
}
Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix m;
    return *MatrixMultiply(&m, &a, &b);
}

Vector3 TransformCoord(const Vector3& p, const Matrix& m) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

} // namespace platform
