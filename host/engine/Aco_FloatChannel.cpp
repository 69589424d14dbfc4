#include "storyloom/host/engine/Aco_FloatChannel.h"

ChannelType Aco_FloatChannel::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("Value", ChannelGuids::Value, ChannelGuids::Value);
    return type;
}

bool Aco_FloatChannel::CallChannel() {
    GetFloat();
    return true;
}

bool Aco_FloatChannel::SaveChannel(A3dFileSaver& saver) {
    return A3d_Channel::SaveChannel(saver) && saver.SaveBlock("FVAL", &_value, sizeof(_value));
}

bool Aco_FloatChannel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!A3d_Channel::LoadChannel(loader, group)) return false;
    loader.ReadFixedBlock("FVAL", &_value, sizeof(_value));
    return true;
}

float Aco_FloatChannel::GetFloat() { return _useDefault ? _defaultValue : _value; }
float Aco_FloatChannel::GetOldFloat() { return _oldValue; }

void Aco_FloatChannel::SetFloat(float value) {
    _oldValue = _value;
    _value = value;
}

float Aco_FloatChannel::GetDefaultFloat() { return _defaultValue; }
void Aco_FloatChannel::SetDefaultFloat(float value) { _defaultValue = value; }
bool Aco_FloatChannel::GetDefaultFloatSetting() { return _useDefault; }
void Aco_FloatChannel::SetDefaultFloatSetting(bool useDefault) { _useDefault = useDefault; }
