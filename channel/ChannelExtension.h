#pragma once
#include <string>
#include <vector>

#include "storyloom/channel/Export.h"
#include "storyloom/coreframework/VelmMathLib.h"
#include "storyloom/host/d3d9/d3dx9math.h"
#include "storyloom/host/engine/A3dFile.h"
#include "storyloom/host/engine/A3d_Channel.h"
#include "storyloom/host/engine/Aco_FloatChannel.h"
#include "storyloom/host/engine/ChannelType.h"
#include "storyloom/host/engine/Guid.h"

// The base-type GUID of `ch` equals `type`. A null channel is reported and does not match.
STORYLOOM_API bool ChannelBaseGuidMatch(A3d_Channel* ch, const _GUID& type);
// The name of the group of `ch`: "" without a group, else the group's name (may be null).
STORYLOOM_API const char* GetChannelGroupName(A3d_Channel* ch);

// Named, typed child links for a channel class, with checked typed access to its children.
// A link index is the host's child index. Failed access answers false, null, a fallback or
// leaves its output untouched; only bad indices and null arguments are reported.
template <class Base>
class STORYLOOM_API ChannelExtension {
public:
    ChannelExtension();
    ChannelExtension(const ChannelExtension& other);
    ChannelExtension& operator=(const ChannelExtension& other);
    virtual ~ChannelExtension();

    virtual void CE_ExecuteTrigger(unsigned int trigger, void* data);
    // TypeName and Name are spelt as the report keys of a null argument are.
    virtual void CreateLink(_GUID type, const char* TypeName, const char* Name, int hostValue, bool repeatable);
    virtual void SetChildLinkName(unsigned int link, const char* name);
    virtual const char* GetChildLinkName(unsigned int link);

    // Own channel.
    void CE_SetSelf(A3d_Channel* self);
    A3d_Channel* CE_GetSelf() const { return _self; }
    const char* CE_GetOwnName() const;
    const char* CE_GetOwnCGRName() const;

    // Link declaration helpers, one per kind.
    void CreateGenericLink(const char* Name, int hostValue, bool repeatable);
    void CreateValueLink(const char* Name, int hostValue, bool repeatable);
    void CreateVectorLink(const char* Name, int hostValue, bool repeatable);
    void CreateStringLink(const char* Name, int hostValue, bool repeatable);
    void CreateMatrixLink(const char* Name, int hostValue, bool repeatable);

    std::string GetChildLinkErrorText(unsigned int link);
    std::string GetChildLinkInvalidText(unsigned int link);

    // Checks.
    bool VerifyLink(unsigned int link, const _GUID& type) const;
    bool VerifyLink(unsigned int link) const;
    bool CE_IsChildLinked(unsigned int link) const;
    const char* CE_GetLinkedChildName(unsigned int link);

    // Typed access.
    bool CE_CallChild(unsigned int link);
    bool CE_GetValue(int& out, unsigned int link);
    bool CE_GetValue(float& out, unsigned int link);
    bool CE_SetValue(float value, unsigned int link);

    bool CE_GetVector(D3DXVECTOR3& out, unsigned int link);
    D3DXVECTOR3 CE_GetVector(unsigned int link, const D3DXVECTOR3& fallback);
    bool CE_GetVectorXZ(VelmMathLib::Vec2& out, unsigned int link);
    VelmMathLib::Vec2 CE_GetVectorXZ(unsigned int link, const VelmMathLib::Vec2& fallback);
    bool CE_SetVector(D3DXVECTOR3& v, unsigned int link);
    bool CE_SetVector(const D3DXVECTOR3& v, unsigned int link);
    bool CE_SetVector(VelmMathLib::Vec3& v, unsigned int link);
    bool CE_SetVector(const VelmMathLib::Vec3& v, unsigned int link);

    bool CE_GetStringPointer(char** out, unsigned int link);
    char* CE_GetStringPointer(unsigned int link, char* fallback);
    bool CE_CopyString(char* dest, unsigned int size, unsigned int link);
    bool CE_CopyString(std::string& out, unsigned int link, bool acceptEmpty);
    bool CE_SetString(const char* text, unsigned int link);
    bool CE_SetString(const std::string& text, unsigned int link);
    bool CE_GetStringPointer(wchar_t** out, unsigned int link);
    wchar_t* CE_GetWStringPointer(unsigned int link, wchar_t* fallback);
    bool CE_CopyString(wchar_t* dest, unsigned int size, unsigned int link);
    bool CE_CopyString(std::wstring& out, unsigned int link);
    bool CE_SetString(const wchar_t* text, unsigned int link);
    bool CE_SetString(const std::wstring& text, unsigned int link);

    bool CE_GetMatrix(D3DXMATRIX& out, unsigned int link);
    D3DXMATRIX CE_GetMatrix(unsigned int link, const D3DXMATRIX& fallback);
    bool CE_SetMatrix(D3DXMATRIX& m, unsigned int link);

protected:
    // One tagged block in the channel file: 4 bytes little-endian, or a NUL-ended text.
    bool SaveChannelValue(A3dFileSaver& saver, const char* tag, unsigned long value);
    bool SaveChannelValue(A3dFileSaver& saver, const char* tag, unsigned int value);
    bool SaveChannelValue(A3dFileSaver& saver, const char* tag, long value);
    bool SaveChannelValue(A3dFileSaver& saver, const char* tag, int value);
    bool SaveChannelValue(A3dFileSaver& saver, const char* tag, std::string value);
    bool ReadChannelValue(A3dFileLoader& loader, const char* tag, unsigned long& value);
    bool ReadChannelValue(A3dFileLoader& loader, const char* tag, unsigned int& value);
    bool ReadChannelValue(A3dFileLoader& loader, const char* tag, long& value);
    bool ReadChannelValue(A3dFileLoader& loader, const char* tag, int& value);
    bool ReadChannelValue(A3dFileLoader& loader, const char* tag, std::string& value);

    // A link declaration record; a null text is reported under `function` and taken as "".
    static ChildCreation BuildLinkRecord(const char* function, const _GUID& type, const char* TypeName,
                                         const char* Name, int hostValue);

private:
    // The child at `link` when it passes the kind check and is of class C, else null.
    template <class C>
    C* TypedChild(unsigned int link, const _GUID& kind, A3d_Channel*& lastReached) const;
    // TypedChild in full, for the children its shortcut does not decide.
    template <class C>
    C* UncommonChild(unsigned int link, const _GUID& kind, A3d_Channel*& lastReached) const;
    // The same after the kind check has passed.
    template <class C>
    C* CheckedChild(unsigned int link, A3d_Channel*& lastReached) const;
    // Runs `access` on the typed child at `link`; false, without running it, when there is none.
    template <class C, class Access>
    bool WithChild(unsigned int link, const _GUID& kind, A3d_Channel*& lastReached, Access access) const;
    // The narrow and wide text operations, one routine for both widths.
    template <class Char>
    bool TextPointerInto(Char** out, unsigned int link);
    template <class Char>
    bool CopyTextInto(Char* dest, unsigned int size, unsigned int link);
    template <class Char>
    bool SetText(const Char* text, unsigned int link);
    template <class Word>
    bool ReadWordInto(A3dFileLoader& loader, const char* tag, Word& value);

    A3d_Channel* _self = nullptr;
    // The last child reached per kind: fields of the channel contract's layout; nothing reads them back.
    mutable A3d_Channel* _lastGeneric = nullptr;
    mutable A3d_Channel* _lastValue = nullptr;
    mutable A3d_Channel* _lastVector = nullptr;
    mutable A3d_Channel* _lastText = nullptr;
    mutable A3d_Channel* _lastMatrix = nullptr;
    std::vector<std::string> _linkNames;
    std::string _groupName;
};

extern template class ChannelExtension<Aco_FloatChannel>;
