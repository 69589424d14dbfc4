#pragma once
#include "storyloom/host/engine/HostExport.h"
#include "storyloom/host/d3d9/d3dx9math.h"
#include "storyloom/host/engine/A3d_Channel.h"

// A channel holding one 4x4 matrix.
class A3D_API Aco_MatrixChannel : public A3d_Channel {
public:
    ChannelType GetChannelType() override;
    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

    // Added operations, in slot order.
    virtual const float* GetMatrixData();  // the sixteen floats, row by row
    virtual D3DXMATRIX GetMatrix();
    virtual void SetMatrix(const float* sixteen);  // null leaves the matrix as it is

private:
    D3DXMATRIX _matrix;
};
