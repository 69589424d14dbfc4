#pragma once
// Plain float records with the memory layout of the Direct3D math types.

struct D3DXVECTOR3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    D3DXVECTOR3() = default;
    D3DXVECTOR3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}
    bool operator==(const D3DXVECTOR3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const D3DXVECTOR3& o) const { return !(*this == o); }
};

struct D3DXMATRIX {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    D3DXMATRIX() = default;
    explicit D3DXMATRIX(const float* sixteen) {
        for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = sixteen[i];
    }
    const float* Data() const { return &m[0][0]; }
    bool operator==(const D3DXMATRIX& o) const {
        for (int i = 0; i < 16; ++i)
            if (Data()[i] != o.Data()[i]) return false;
        return true;
    }
};

static_assert(sizeof(D3DXVECTOR3) == 12, "three floats");
static_assert(sizeof(D3DXMATRIX) == 64, "sixteen floats");

// Row vectors times matrices, left-handed, as the Direct3D helpers compute them. Each answers
// its output.
D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar);
// The point times the matrix, divided by the resulting w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
