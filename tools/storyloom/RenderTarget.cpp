#include "RenderTarget.h"

#include "storyloom/coreframework/Logging.h"
#include "OutputFile.h"

namespace {
DebugRenderer& Renderer() { return Core::CoreEngine::Instance().GetDebugRenderer(); }
}  // namespace

RenderTarget::RenderTarget(const Core::Camera& camera)
    : _device(camera.GetWidth(), camera.GetHeight()), _restored(Renderer().Restore(&_device)) {
    camera.SetDeviceTransforms(_device);
    _device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, Background, 1.0f, 0);
}

RenderTarget::~RenderTarget() { Renderer().Lose(); }

bool RenderTarget::IsReady(std::string& error) const {
    if (SUCCEEDED(_restored)) return true;
    std::string name;
    AppendResultName(name);  // the renderer stored what its device answered
    error = "the debug renderer cannot draw: " + name;
    return false;
}

bool RenderTarget::Finish(const std::string& pngPath, std::string& error) {
    Renderer().Render(-1, DebugRenderer::ReleaseContainer);
    OutputFile file(pngPath);
    if (!_device.SavePng(file.WritePath())) {
        error = pngPath + ": cannot be written";
        return false;
    }
    return file.Commit(error);
}
