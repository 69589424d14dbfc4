#include "storyloom/host/d3d9/d3dx9math.h"

#include <cmath>

namespace {

D3DXVECTOR3 Sub(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
D3DXVECTOR3 Normalize(const D3DXVECTOR3& v) {
    float length = std::sqrt(Dot(v, v));
    return length > 0.0f ? D3DXVECTOR3(v.x / length, v.y / length, v.z / length) : v;
}

}  // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX();
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    D3DXMATRIX product;  // out may be a or b
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a->m[row][k] * b->m[k][col];
            product.m[row][col] = sum;
        }
    *out = product;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    *out = D3DXMATRIX();
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z) {
    *out = D3DXMATRIX();
    out->m[0][0] = x;
    out->m[1][1] = y;
    out->m[2][2] = z;
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
    D3DXVECTOR3 zAxis = Normalize(Sub(*at, *eye));
    D3DXVECTOR3 xAxis = Normalize(Cross(*up, zAxis));
    D3DXVECTOR3 yAxis = Cross(zAxis, xAxis);
    const float rows[16] = {xAxis.x, yAxis.x, zAxis.x, 0.0f,
                            xAxis.y, yAxis.y, zAxis.y, 0.0f,
                            xAxis.z, yAxis.z, zAxis.z, 0.0f,
                            -Dot(xAxis, *eye), -Dot(yAxis, *eye), -Dot(zAxis, *eye), 1.0f};
    *out = D3DXMATRIX(rows);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar) {
    float yScale = 1.0f / std::tan(fovY * 0.5f);
    float depth = zFar / (zFar - zNear);
    const float rows[16] = {yScale / aspect, 0.0f, 0.0f, 0.0f,
                            0.0f, yScale, 0.0f, 0.0f,
                            0.0f, 0.0f, depth, 1.0f,
                            0.0f, 0.0f, -zNear * depth, 0.0f};
    *out = D3DXMATRIX(rows);
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    float r[4];
    for (int col = 0; col < 4; ++col)
        r[col] = v->x * m->m[0][col] + v->y * m->m[1][col] + v->z * m->m[2][col] + m->m[3][col];
    float w = r[3] != 0.0f ? r[3] : 1.0f;
    *out = D3DXVECTOR3(r[0] / w, r[1] / w, r[2] / w);
    return out;
}
