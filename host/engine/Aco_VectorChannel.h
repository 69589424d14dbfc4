#pragma once
#include "storyloom/host/engine/HostExport.h"
#include "storyloom/host/d3d9/d3dx9math.h"
#include "storyloom/host/engine/A3d_Channel.h"

// A channel holding one 3D vector.
class A3D_API Aco_VectorChannel : public A3d_Channel {
public:
    ChannelType GetChannelType() override;
    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

    // Added operations, in slot order.
    virtual D3DXVECTOR3 GetVector();
    virtual void SetVector(float x, float y, float z);

private:
    D3DXVECTOR3 _vector;
};
