#include "storyloom/host/engine/Aco_VectorChannel.h"

ChannelType Aco_VectorChannel::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("Value Vector", ChannelGuids::Vector, ChannelGuids::Vector);
    return type;
}

bool Aco_VectorChannel::SaveChannel(A3dFileSaver& saver) {
    return A3d_Channel::SaveChannel(saver) && saver.SaveBlock("VVAL", &_vector, sizeof(_vector));
}

bool Aco_VectorChannel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!A3d_Channel::LoadChannel(loader, group)) return false;
    loader.ReadFixedBlock("VVAL", &_vector, sizeof(_vector));
    return true;
}

D3DXVECTOR3 Aco_VectorChannel::GetVector() { return _vector; }
void Aco_VectorChannel::SetVector(float x, float y, float z) { _vector = D3DXVECTOR3(x, y, z); }
