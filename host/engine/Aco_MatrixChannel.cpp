#include "storyloom/host/engine/Aco_MatrixChannel.h"

ChannelType Aco_MatrixChannel::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("Matrix", ChannelGuids::Matrix, ChannelGuids::Matrix);
    return type;
}

bool Aco_MatrixChannel::SaveChannel(A3dFileSaver& saver) {
    return A3d_Channel::SaveChannel(saver) && saver.SaveBlock("MVAL", _matrix.Data(), sizeof(_matrix));
}

bool Aco_MatrixChannel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!A3d_Channel::LoadChannel(loader, group)) return false;
    loader.ReadFixedBlock("MVAL", &_matrix.m[0][0], sizeof(_matrix));
    return true;
}

const float* Aco_MatrixChannel::GetMatrixData() { return _matrix.Data(); }
D3DXMATRIX Aco_MatrixChannel::GetMatrix() { return _matrix; }

void Aco_MatrixChannel::SetMatrix(const float* sixteen) {
    if (sixteen) _matrix = D3DXMATRIX(sixteen);
}
