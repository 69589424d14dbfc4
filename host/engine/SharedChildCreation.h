#pragma once
#include "storyloom/host/engine/ChannelType.h"
#include "storyloom/host/engine/HostExport.h"

// A declared child position's record, one copy for every channel declaring the same: all the
// channels of one mode declare alike, and a record is 264 bytes, more than a small channel's
// whole bookkeeping. Records are compared byte for byte; the copy lives while any channel
// declares it.
class A3D_API SharedChildCreation {
public:
    // The default record.
    SharedChildCreation();
    explicit SharedChildCreation(const ChildCreation& record);
    SharedChildCreation(const SharedChildCreation& other);
    SharedChildCreation& operator=(const SharedChildCreation& other);
    // A moved-from record may only be destroyed or assigned to.
    SharedChildCreation(SharedChildCreation&& other) noexcept : _entry(other._entry) { other._entry = nullptr; }
    SharedChildCreation& operator=(SharedChildCreation&& other) noexcept;
    ~SharedChildCreation();

    const ChildCreation& Get() const;
    // How many records are kept, for the whole process.
    static std::size_t KeptCount();

    struct Entry;

private:
    Entry* _entry;
};
