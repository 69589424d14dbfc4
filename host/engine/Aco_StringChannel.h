#pragma once
#include "storyloom/host/engine/HostExport.h"
#include <string>

#include "storyloom/host/engine/A3d_Channel.h"

// A channel holding a text, readable narrow and wide, or no text at all. Narrow and wide
// forms are kept in step: characters above 0xFF become '?' in the narrow form.
class A3D_API Aco_StringChannel : public A3d_Channel {
public:
    ChannelType GetChannelType() override;
    bool SaveChannel(A3dFileSaver& saver) override;
    bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

    // Added operations, in slot order.
    virtual char* GetString();                  // null when the channel holds no text
    virtual void SetString(const char* text);   // null: hold no text
    virtual unsigned GetStringLength();
    virtual bool HasString();
    virtual void ClearString();                 // hold no text
    virtual void AppendString(const char* text);
    virtual unsigned GetWStringLength();
    virtual wchar_t* GetWString();              // null when the channel holds no text
    virtual void SetWString(const wchar_t* text);

private:
    std::string _narrow;
    std::wstring _wide;
    bool _hasText = false;
};
