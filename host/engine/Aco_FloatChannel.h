#pragma once
#include "storyloom/host/engine/HostExport.h"
#include "storyloom/host/engine/A3d_Channel.h"

// A channel holding one float. Derived channels override GetFloat to compute it.
class A3D_API Aco_FloatChannel : public A3d_Channel {
public:
    ChannelType GetChannelType() override;
    bool CallChannel() override;  // evaluates the channel
    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

    // Added operations, in slot order.
    virtual float GetFloat();
    virtual float GetOldFloat();
    virtual void SetFloat(float value);
    virtual float GetDefaultFloat();
    virtual void SetDefaultFloat(float value);
    virtual bool GetDefaultFloatSetting();
    virtual void SetDefaultFloatSetting(bool useDefault);

    // The value stored last, read without evaluating the channel.
    float GetStoredFloat() const { return _value; }

protected:
    float _value = 0.0f;
    float _oldValue = 0.0f;
    float _defaultValue = 0.0f;
    bool _useDefault = false;
};
