#include "storyloom/host/engine/Aco_StringChannel.h"

#include <vector>

namespace {
std::wstring Widen(const std::string& text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (unsigned char c : text) wide.push_back(static_cast<wchar_t>(c));
    return wide;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text) narrow.push_back(c >= 0 && c <= 0xFF ? static_cast<char>(c) : '?');
    return narrow;
}
}  // namespace

ChannelType Aco_StringChannel::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type("Text", ChannelGuids::Text, ChannelGuids::Text);
    return type;
}

bool Aco_StringChannel::SaveChannel(A3dFileSaver& saver) {
    // Size 0 is "no text"; a held text always carries its NUL.
    uint32_t size = _hasText ? static_cast<uint32_t>(_narrow.size() + 1) : 0;
    return A3d_Channel::SaveChannel(saver) && saver.SaveBlock("TEXT", _narrow.c_str(), size);
}

bool Aco_StringChannel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    if (!A3d_Channel::LoadChannel(loader, group)) return false;
    if (loader.GetInfoIfTag("TEXT")) {
        std::vector<char> text(loader.GetSizeDataBlock(false) + 1, '\0');
        bool hasText = text.size() > 1;
        loader.CopyTagDataToPointer(text.data());
        SetString(hasText ? text.data() : nullptr);
    }
    return true;
}

char* Aco_StringChannel::GetString() { return _hasText ? _narrow.data() : nullptr; }

void Aco_StringChannel::SetString(const char* text) {
    _hasText = text != nullptr;
    _narrow = text ? text : "";
    _wide = Widen(_narrow);
}

unsigned Aco_StringChannel::GetStringLength() { return static_cast<unsigned>(_narrow.size()); }
bool Aco_StringChannel::HasString() { return _hasText; }
void Aco_StringChannel::ClearString() { SetString(nullptr); }

void Aco_StringChannel::AppendString(const char* text) {
    if (!text) return;
    SetString((_narrow + text).c_str());
}

unsigned Aco_StringChannel::GetWStringLength() { return static_cast<unsigned>(_wide.size()); }
wchar_t* Aco_StringChannel::GetWString() { return _hasText ? _wide.data() : nullptr; }

void Aco_StringChannel::SetWString(const wchar_t* text) {
    _hasText = text != nullptr;
    _wide = text ? text : L"";
    _narrow = Narrow(_wide);
}
