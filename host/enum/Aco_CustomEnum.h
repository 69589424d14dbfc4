#pragma once
#include <string>

#include "storyloom/host/engine/Aco_FloatChannel.h"

// An enumeration channel: a float channel whose value is the index of a value of a named
// enumeration type. Built on the float channel, so value links accept it.
class Aco_CustomEnum : public Aco_FloatChannel {
public:
    ChannelType GetChannelType() override;
    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

    // Null clears the type name. Never answers null: no type name reads as "".
    void SetEnumTypeName(const char* typeName) { _typeName = typeName ? typeName : ""; }
    const char* GetEnumTypeName() const { return _typeName.c_str(); }

    // The value for a given evaluation state; the enumeration's value does not depend on it.
    virtual float GetFloatExt(int state);

private:
    std::string _typeName;
};
