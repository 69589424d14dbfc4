#pragma once
#include <string>

#include "storyloom/host/ScenarioCore.h"
#include "storyloom/host/d3d9/SoftwareDevice.h"

// One picture drawn by the engine's debug renderer: a software device of the camera's size
// with the camera's transforms, handed to the renderer for as long as this object lives.
// Batches drawn meanwhile land in the picture; the renderer loses the device at the end, so
// it never keeps a device that is gone.
class RenderTarget {
public:
    explicit RenderTarget(const Core::Camera& camera);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // False with the reason in `error` when the renderer could not take the device.
    bool IsReady(std::string& error) const;
    // Draws every batch still held (those made while no device was there included) and
    // writes the picture whole or not at all; false with the reason in `error`.
    bool Finish(const std::string& pngPath, std::string& error);

    const SoftwareDevice& GetDevice() const { return _device; }
    static constexpr D3DCOLOR Background = D3DCOLOR_ARGB(255, 16, 16, 32);

private:
    SoftwareDevice _device;
    HRESULT _restored;
};
