#pragma once
#include <cstdint>

#include "storyloom/coreframework/Logging.h"
#include "storyloom/coreframework/debugrenderer/ResourceContainerInterface.h"

enum class ResourceState : std::uint32_t { Lost = 1, Restored = 2, Released = 3 };

// Device resources with their life: made by Restore, given up by Lose, and released for good
// by Release, which must come before destruction. A failed check is reported and the
// operation goes on.
template <class T>
class ResourceContainer : public ResourceContainerInterface {
public:
    void Lose() override {
        FRAMEWORK_ASSERT(_state == ResourceState::Restored || _state == ResourceState::Lost, SourcePath);
        ReleaseResources();
        _device = nullptr;
        _state = ResourceState::Lost;
    }

    // Answers the result of making the resources; on failure the container stays lost and
    // holds nothing.
    HRESULT Restore(IDirect3DDevice9* device) override {
        if (_state == ResourceState::Restored) Lose();
        FRAMEWORK_ASSERT(GetState() == ResourceState::Lost, SourcePath);
        _device = device;
        HRESULT result = CreateResources();
        if (result == S_OK) {
            _state = ResourceState::Restored;
            OnRestored();
        } else {
            _state = ResourceState::Lost;
            ReleaseResources();
        }
        return result;
    }

    // OnRestored and GetResourceName hold their places in the table of virtual operations the
    // engine's containers have; nothing here calls the second.
    virtual void OnRestored() {}
    virtual void ReleaseResources() = 0;
    virtual HRESULT CreateResources() = 0;
    virtual const char* GetResourceName() const = 0;

    virtual ~ResourceContainer() { FRAMEWORK_ASSERT(_state == ResourceState::Released, SourcePath); }

    // The final release, before the owner destroys the container.
    void Release() {
        ReleaseResources();
        _device = nullptr;
        _state = ResourceState::Released;
    }

    ResourceState GetState() const { return _state; }
    IDirect3DDevice9* GetDevice() const { return _device; }

protected:
    ResourceContainer() = default;
    ResourceContainer(const ResourceContainer&) = delete;
    ResourceContainer& operator=(const ResourceContainer&) = delete;

private:
    static constexpr const char* SourcePath = "coreframework/debugrenderer/ResourceContainer";

    IDirect3DDevice9* _device = nullptr;
    ResourceState _state = ResourceState::Lost;
};
