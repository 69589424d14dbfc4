#include "storyloom/host/core/VirtualScenarioEntity.h"

#include "storyloom/coreframework/debugrenderer/DebugPrimitivesContainer.h"

namespace Core {

using VelmMathLib::Vec3;

bool VirtualScenarioEntity::Render(DebugPrimitivesContainer& container) const {
    const Vec3& c = GetPosition();
    const float r = GetRadius();
    D3DXMATRIX scale, move, world;
    D3DXMatrixScaling(&scale, r, r, r);
    D3DXMatrixTranslation(&move, c.x, c.y, c.z);
    D3DXMatrixMultiply(&world, &scale, &move);
    bool complete = container.AddSphere(world, _color);
    // The twelve edges of the box: for each axis, the four edges running along it.
    for (int axis = 0; axis < 3; ++axis)
        for (int corner = 0; corner < 4; ++corner) {
            float u = corner & 1 ? r : -r, v = corner & 2 ? r : -r;
            Vec3 from = axis == 0 ? Vec3(-r, u, v) : axis == 1 ? Vec3(u, -r, v) : Vec3(u, v, -r);
            Vec3 to = axis == 0 ? Vec3(r, u, v) : axis == 1 ? Vec3(u, r, v) : Vec3(u, v, r);
            complete = container.AddLine(c + from, c + to, OutlineColor) && complete;
        }
    return complete;
}

}  // namespace Core
