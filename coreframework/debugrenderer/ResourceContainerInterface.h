#pragma once
#include "storyloom/host/d3d9/d3d9.h"

// Something that holds resources of a Direct3D device and must give them up when the device
// is lost and make them again for the device that replaces it.
class ResourceContainerInterface {
public:
    virtual void Lose() = 0;
    virtual HRESULT Restore(IDirect3DDevice9* device) = 0;

protected:
    ~ResourceContainerInterface() = default;
};
