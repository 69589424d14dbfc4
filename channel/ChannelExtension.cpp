#include "storyloom/channel/ChannelExtension.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "storyloom/channel/ChannelBlocks.h"
#include "storyloom/channel/KindCast.h"
#include "storyloom/channel/ReportFacility.h"
#include "storyloom/host/engine/A3d_ChannelGroup.h"
#include "storyloom/host/engine/Aco_MatrixChannel.h"
#include "storyloom/host/engine/Aco_StringChannel.h"
#include "storyloom/host/engine/Aco_VectorChannel.h"

namespace {
#define CE_FUNCTION(name) "ChannelExtension<class Aco_FloatChannel>::" name

const char kNoName[] = "[no-name]";

// Truncation toward zero that stays defined for every float.
int TruncateToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return 2147483647;
    if (value <= -2147483648.0f) return -2147483647 - 1;
    return static_cast<int>(value);
}

// The narrow or wide text of a text channel, so that one routine serves both widths.
template <class Char>
Char* TextOf(Aco_StringChannel& channel);
template <>
char* TextOf<char>(Aco_StringChannel& channel) {
    return channel.GetString();
}
template <>
wchar_t* TextOf<wchar_t>(Aco_StringChannel& channel) {
    return channel.GetWString();
}
void SetTextOf(Aco_StringChannel& channel, const char* text) { channel.SetString(text); }
void SetTextOf(Aco_StringChannel& channel, const wchar_t* text) { channel.SetWString(text); }

// Every channel of exactly class C has the base kind of C's type record. It is read once per
// class, out of line: the record is large, and building it, or a guarded static, inline gave
// every accessor a stack frame and saved registers for a first call only. Each class is
// asked about one kind, its accessors' own, so once that kind has matched the usual check is
// a compare of its address with the one remembered.
template <class C>
struct ClassKind {
    static inline _GUID kind{};
    static inline std::atomic<const _GUID*> matched{nullptr};
};

template <class C>
[[gnu::cold, gnu::noinline]] bool LearnClassKind(A3d_Channel& exactlyC, const _GUID& kind) {
    static std::once_flag once;
    std::call_once(once, [&] { ClassKind<C>::kind = exactlyC.GetChannelType().baseTypeGuid; });
    if (ClassKind<C>::kind != kind) return false;
    ClassKind<C>::matched.store(&kind, std::memory_order_relaxed);
    return true;
}

template <class C>
bool IsOfClassKind(A3d_Channel& exactlyC, const _GUID& kind) {
    if (ClassKind<C>::matched.load(std::memory_order_relaxed) == &kind) return true;
    return LearnClassKind<C>(exactlyC, kind);
}

[[gnu::cold, gnu::noinline]] void ReportInvalidIndex(unsigned int link) {
    // "Invalidl" is the report text's own spelling.
    ReportToDebugSink(FormatText("InvalidlLinkIndex.Link[%d]", static_cast<int>(link)).c_str());
}
}  // namespace

bool ChannelBaseGuidMatch(A3d_Channel* ch, const _GUID& type) {
    if (!ch) {
        ReportToDebugSink(FormatFailedCondition("ChannelBaseGuidMatch", "ch"));
        return false;
    }
    return ch->GetChannelType().baseTypeGuid == type;
}

const char* GetChannelGroupName(A3d_Channel* ch) {
    if (!ch) {
        ReportToDebugSink(FormatFailedCondition("GetChannelGroupName", "ch"));
        return "";
    }
    A3d_ChannelGroup* group = ch->GetChannelGroup();
    return group ? group->GetGroupName() : "";
}

template <class Base>
ChannelExtension<Base>::ChannelExtension() = default;

template <class Base>
ChannelExtension<Base>::ChannelExtension(const ChannelExtension& other) = default;

template <class Base>
ChannelExtension<Base>& ChannelExtension<Base>::operator=(const ChannelExtension& other) = default;

template <class Base>
ChannelExtension<Base>::~ChannelExtension() {
    _self = nullptr;
    _lastGeneric = _lastValue = _lastVector = _lastText = _lastMatrix = nullptr;
}

template <class Base>
void ChannelExtension<Base>::CE_ExecuteTrigger(unsigned int, void*) {}

template <class Base>
void ChannelExtension<Base>::CreateLink(_GUID type, const char* TypeName, const char* Name, int hostValue,
                                        bool repeatable) {
    ChildCreation record = BuildLinkRecord(CE_FUNCTION("CreateLink"), type, TypeName, Name, hostValue);
    unsigned index = _self ? _self->GetChildCount() : 0;
    SetChildLinkName(index, Name ? Name : "");
    record.position = repeatable ? -1 : static_cast<int32_t>(index);
    if (_self) _self->SetChildCreateType(record, index);
}

template <class Base>
ChildCreation ChannelExtension<Base>::BuildLinkRecord(const char* function, const _GUID& type, const char* TypeName,
                                                      const char* Name, int hostValue) {
    if (!TypeName) ReportToDebugSink(FormatFailedCondition(function, "TypeName"));
    if (!Name) ReportToDebugSink(FormatFailedCondition(function, "Name"));
    ChildCreation record;
    record.type.SetTypeName(TypeName ? TypeName : "");
    record.type.typeGuid = type;
    record.SetLinkName(Name ? Name : "");
    record.hostValue = hostValue;
    return record;
}

template <class Base>
void ChannelExtension<Base>::SetChildLinkName(unsigned int link, const char* name) {
    if (!name) {
        ReportToDebugSink(FormatFailedCondition(CE_FUNCTION("SetChildLinkName"), "name"));
        return;
    }
    if (_linkNames.size() <= link) _linkNames.resize(size_t(link) + 1, "[none]");
    _linkNames[link] = name;
}

template <class Base>
const char* ChannelExtension<Base>::GetChildLinkName(unsigned int link) {
    if (link >= _linkNames.size()) SetChildLinkName(link, "");
    return _linkNames[link].c_str();
}

template <class Base>
void ChannelExtension<Base>::CE_SetSelf(A3d_Channel* self) {
    if (!self) ReportToDebugSink(FormatFailedCondition(CE_FUNCTION("CE_SetSelf"), "self"));
    _self = self;
    const char* group = GetChannelGroupName(self);
    _groupName = group ? group : "[unknown]";
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetOwnName() const {
    const char* name = _self ? _self->GetChannelName() : nullptr;
    return name ? name : kNoName;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetOwnCGRName() const {
    return _groupName.empty() ? kNoName : _groupName.c_str();
}

template <class Base>
void ChannelExtension<Base>::CreateGenericLink(const char* Name, int hostValue, bool repeatable) {
    CreateLink(ChannelGuids::Generic, "all types are accepted", Name, hostValue, repeatable);
}
template <class Base>
void ChannelExtension<Base>::CreateValueLink(const char* Name, int hostValue, bool repeatable) {
    CreateLink(ChannelGuids::Value, "Value", Name, hostValue, repeatable);
}
template <class Base>
void ChannelExtension<Base>::CreateVectorLink(const char* Name, int hostValue, bool repeatable) {
    CreateLink(ChannelGuids::Vector, "Value Vector", Name, hostValue, repeatable);
}
template <class Base>
void ChannelExtension<Base>::CreateStringLink(const char* Name, int hostValue, bool repeatable) {
    CreateLink(ChannelGuids::Text, "Text", Name, hostValue, repeatable);
}
template <class Base>
void ChannelExtension<Base>::CreateMatrixLink(const char* Name, int hostValue, bool repeatable) {
    CreateLink(ChannelGuids::Matrix, "Matrix", Name, hostValue, repeatable);
}

template <class Base>
std::string ChannelExtension<Base>::GetChildLinkErrorText(unsigned int link) {
    return std::string("ChildLinkError[") + GetChildLinkName(link) + "]";
}

template <class Base>
std::string ChannelExtension<Base>::GetChildLinkInvalidText(unsigned int link) {
    return std::string("ChildLinkInvalid[") + GetChildLinkName(link) + "]";
}

template <class Base>
bool ChannelExtension<Base>::VerifyLink(unsigned int link, const _GUID& type) const {
    if (!VerifyLink(link)) return false;
    A3d_Channel* child = _self->GetChild(link);
    return child && ChannelBaseGuidMatch(child, type);
}

template <class Base>
bool ChannelExtension<Base>::VerifyLink(unsigned int link) const {
    if (_self && link < _self->GetChildCount()) return true;
    ReportInvalidIndex(link);
    return false;
}

template <class Base>
bool ChannelExtension<Base>::CE_IsChildLinked(unsigned int link) const {
    return VerifyLink(link) && _self->GetChild(link) != nullptr;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetLinkedChildName(unsigned int link) {
    _lastGeneric = VerifyLink(link) ? _self->GetChild(link) : nullptr;
    return _lastGeneric ? _lastGeneric->GetChannelName() : nullptr;
}

template <class Base>
template <class C>
C* ChannelExtension<Base>::TypedChild(unsigned int link, const _GUID& kind, A3d_Channel*& lastReached) const {
    // The usual child is exactly of the class: its kind is known without building its type
    // record, and no walk through the class graph is needed.
    // Comparing the type records' addresses decides most children without comparing names.
    A3d_Channel* child = _self ? _self->GetChild(link) : nullptr;
    if (child && &typeid(*child) == &typeid(C) && IsOfClassKind<C>(*child, kind)) {
        lastReached = child;
        return static_cast<C*>(child);
    }
    return UncommonChild<C>(link, kind, lastReached);
}

template <class Base>
template <class C>
[[gnu::noinline]] C* ChannelExtension<Base>::UncommonChild(unsigned int link, const _GUID& kind,
                                                          A3d_Channel*& lastReached) const {
    if (!VerifyLink(link)) return nullptr;
    A3d_Channel* child = _self->GetChild(link);
    if (!child) return nullptr;
    if (typeid(*child) == typeid(C)) {
        if (!IsOfClassKind<C>(*child, kind)) return nullptr;
        lastReached = child;
        return static_cast<C*>(child);
    }
    if (!ChannelBaseGuidMatch(child, kind)) return nullptr;
    return CheckedChild<C>(link, lastReached);
}

template <class Base>
template <class C>
C* ChannelExtension<Base>::CheckedChild(unsigned int link, A3d_Channel*& lastReached) const {
    lastReached = _self->GetChild(link);
    // A channel claiming the kind's GUID without being of its class is treated as absent.
    return KindCast<C>(lastReached);
}

template <class Base>
bool ChannelExtension<Base>::CE_CallChild(unsigned int link) {
    _lastGeneric = VerifyLink(link) ? _self->GetChild(link) : nullptr;
    if (!_lastGeneric) return false;
    _lastGeneric->CallChannel();
    return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_GetValue(int& out, unsigned int link) {
    float value = 0.0f;
    if (!CE_GetValue(value, link)) return false;
    out = TruncateToInt(value);
    return true;
}

template <class Base>
template <class C, class Access>
bool ChannelExtension<Base>::WithChild(unsigned int link, const _GUID& kind, A3d_Channel*& lastReached,
                                       Access access) const {
    C* child = TypedChild<C>(link, kind, lastReached);
    if (!child) return false;
    access(*child);
    return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_GetValue(float& out, unsigned int link) {
    return WithChild<Aco_FloatChannel>(link, ChannelGuids::Value, _lastValue,
                                       [&](Aco_FloatChannel& child) { out = child.GetFloat(); });
}

template <class Base>
bool ChannelExtension<Base>::CE_SetValue(float value, unsigned int link) {
    return WithChild<Aco_FloatChannel>(link, ChannelGuids::Value, _lastValue,
                                       [&](Aco_FloatChannel& child) { child.SetFloat(value); });
}

template <class Base>
bool ChannelExtension<Base>::CE_GetVector(D3DXVECTOR3& out, unsigned int link) {
    return WithChild<Aco_VectorChannel>(link, ChannelGuids::Vector, _lastVector,
                                        [&](Aco_VectorChannel& child) { out = child.GetVector(); });
}

template <class Base>
D3DXVECTOR3 ChannelExtension<Base>::CE_GetVector(unsigned int link, const D3DXVECTOR3& fallback) {
    D3DXVECTOR3 v = fallback;
    CE_GetVector(v, link);
    return v;
}

template <class Base>
bool ChannelExtension<Base>::CE_GetVectorXZ(VelmMathLib::Vec2& out, unsigned int link) {
    D3DXVECTOR3 v;
    if (!CE_GetVector(v, link)) return false;
    out.x = v.x;
    out.y = v.z;
    return true;
}

template <class Base>
VelmMathLib::Vec2 ChannelExtension<Base>::CE_GetVectorXZ(unsigned int link, const VelmMathLib::Vec2& fallback) {
    VelmMathLib::Vec2 v = fallback;
    CE_GetVectorXZ(v, link);
    return v;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetVector(const D3DXVECTOR3& v, unsigned int link) {
    return WithChild<Aco_VectorChannel>(link, ChannelGuids::Vector, _lastVector,
                                        [&](Aco_VectorChannel& child) { child.SetVector(v.x, v.y, v.z); });
}
template <class Base>
bool ChannelExtension<Base>::CE_SetVector(D3DXVECTOR3& v, unsigned int link) {
    return CE_SetVector(static_cast<const D3DXVECTOR3&>(v), link);
}
template <class Base>
bool ChannelExtension<Base>::CE_SetVector(const VelmMathLib::Vec3& v, unsigned int link) {
    return CE_SetVector(D3DXVECTOR3(v.x, v.y, v.z), link);
}
template <class Base>
bool ChannelExtension<Base>::CE_SetVector(VelmMathLib::Vec3& v, unsigned int link) {
    return CE_SetVector(static_cast<const VelmMathLib::Vec3&>(v), link);
}

template <class Base>
template <class Char>
bool ChannelExtension<Base>::TextPointerInto(Char** out, unsigned int link) {
    if (!out || !VerifyLink(link, ChannelGuids::Text)) return false;
    auto* child = CheckedChild<Aco_StringChannel>(link, _lastText);
    *out = child ? TextOf<Char>(*child) : nullptr;
    return child != nullptr;
}

template <class Base>
template <class Char>
bool ChannelExtension<Base>::CopyTextInto(Char* dest, unsigned int size, unsigned int link) {
    if (!dest || size == 0) return false;
    auto* child = TypedChild<Aco_StringChannel>(link, ChannelGuids::Text, _lastText);
    const Char* text = child ? TextOf<Char>(*child) : nullptr;
    if (!text) return false;
    // Beyond the buffer the text is cut, still NUL-ended, and the copy counts as failed.
    size_t length = std::char_traits<Char>::length(text);
    size_t copied = length < size ? length : size - 1;
    std::char_traits<Char>::copy(dest, text, copied);
    dest[copied] = Char();
    return copied == length;
}

template <class Base>
template <class Char>
bool ChannelExtension<Base>::SetText(const Char* text, unsigned int link) {
    return WithChild<Aco_StringChannel>(link, ChannelGuids::Text, _lastText,
                                        [&](Aco_StringChannel& child) { SetTextOf(child, text); });
}

template <class Base>
bool ChannelExtension<Base>::CE_GetStringPointer(char** out, unsigned int link) {
    return TextPointerInto(out, link);
}

template <class Base>
char* ChannelExtension<Base>::CE_GetStringPointer(unsigned int link, char* fallback) {
    auto* child = TypedChild<Aco_StringChannel>(link, ChannelGuids::Text, _lastText);
    char* text = child ? child->GetString() : nullptr;
    return text ? text : fallback;
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(char* dest, unsigned int size, unsigned int link) {
    return CopyTextInto(dest, size, link);
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(std::string& out, unsigned int link, bool acceptEmpty) {
    auto* child = TypedChild<Aco_StringChannel>(link, ChannelGuids::Text, _lastText);
    if (!child) return false;
    const char* text = child->GetString();
    if (!text) return acceptEmpty;
    out += text;
    return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const char* text, unsigned int link) {
    return SetText(text, link);
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const std::string& text, unsigned int link) {
    return SetText(text.c_str(), link);
}

template <class Base>
bool ChannelExtension<Base>::CE_GetStringPointer(wchar_t** out, unsigned int link) {
    return TextPointerInto(out, link);
}

// Unlike the narrow form, the fallback stands only for a failed kind check: a text child's
// null wide text is handed out as it is, so that a caller can tell "no text" from "no child".
template <class Base>
wchar_t* ChannelExtension<Base>::CE_GetWStringPointer(unsigned int link, wchar_t* fallback) {
    if (!VerifyLink(link, ChannelGuids::Text)) return fallback;
    auto* child = CheckedChild<Aco_StringChannel>(link, _lastText);
    return child ? child->GetWString() : nullptr;
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(wchar_t* dest, unsigned int size, unsigned int link) {
    return CopyTextInto(dest, size, link);
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(std::wstring& out, unsigned int link) {
    auto* child = TypedChild<Aco_StringChannel>(link, ChannelGuids::Text, _lastText);
    const wchar_t* text = child ? child->GetWString() : nullptr;
    if (!text) return false;
    out += text;
    return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const wchar_t* text, unsigned int link) {
    return SetText(text, link);
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const std::wstring& text, unsigned int link) {
    return SetText(text.c_str(), link);
}

template <class Base>
bool ChannelExtension<Base>::CE_GetMatrix(D3DXMATRIX& out, unsigned int link) {
    return WithChild<Aco_MatrixChannel>(link, ChannelGuids::Matrix, _lastMatrix,
                                        [&](Aco_MatrixChannel& child) { out = child.GetMatrix(); });
}

template <class Base>
D3DXMATRIX ChannelExtension<Base>::CE_GetMatrix(unsigned int link, const D3DXMATRIX& fallback) {
    D3DXMATRIX m = fallback;
    CE_GetMatrix(m, link);
    return m;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetMatrix(D3DXMATRIX& m, unsigned int link) {
    return WithChild<Aco_MatrixChannel>(link, ChannelGuids::Matrix, _lastMatrix,
                                        [&](Aco_MatrixChannel& child) { child.SetMatrix(m.Data()); });
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* tag, unsigned long value) {
    return ChannelBlocks::SaveWord(saver, tag, static_cast<uint32_t>(value));
}
template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* tag, unsigned int value) {
    return ChannelBlocks::SaveWord(saver, tag, value);
}
template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* tag, long value) {
    return ChannelBlocks::SaveWord(saver, tag, static_cast<uint32_t>(value));
}
template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* tag, int value) {
    return ChannelBlocks::SaveWord(saver, tag, static_cast<uint32_t>(value));
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* tag, std::string value) {
    return saver.SaveBlock(tag, value.c_str(), static_cast<uint32_t>(value.size() + 1));
}

template <class Base>
template <class Word>
bool ChannelExtension<Base>::ReadWordInto(A3dFileLoader& loader, const char* tag, Word& value) {
    uint32_t word = 0;
    if (!ChannelBlocks::ReadWord(loader, tag, word)) return false;
    // Signed words come back through their 32-bit two's complement form.
    value = std::is_signed<Word>::value ? static_cast<Word>(static_cast<int32_t>(word)) : static_cast<Word>(word);
    return true;
}

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* tag, unsigned long& value) {
    return ReadWordInto(loader, tag, value);
}
template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* tag, unsigned int& value) {
    return ReadWordInto(loader, tag, value);
}
template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* tag, long& value) {
    return ReadWordInto(loader, tag, value);
}
template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* tag, int& value) {
    return ReadWordInto(loader, tag, value);
}

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* tag, std::string& value) {
    if (!loader.GetInfoIfTag(tag)) return false;
    std::vector<char> block(loader.GetSizeDataBlock(false));
    loader.CopyTagDataToPointer(block.data());
    value.assign(block.data(), strnlen(block.data(), block.size()));
    return true;
}

template class ChannelExtension<Aco_FloatChannel>;
