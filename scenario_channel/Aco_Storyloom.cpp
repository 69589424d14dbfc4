#include "storyloom/scenario_channel/StoryloomChannel.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "storyloom/host/core/CoreEngine.h"
#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/ScenarioEditor.h"
#include "storyloom/quest/QuestProductFactory.h"
#include "storyloom/scenario_channel/EditorCallbacks.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"

namespace {
constexpr _GUID kStoryloomGuid = {0xB676ADA3, 0x7551, 0x433B, {0xA7, 0xFF, 0xA6, 0x68, 0xC0, 0x95, 0xB7, 0x13}};
// Host words the engine reads from a plug-in's type record: what they mean is the host's;
// these are the values it expects for a channel class like this one.
constexpr uint32_t kHostWordAt120 = 7;
constexpr uint32_t kHostWordAt128 = 0;

void FillTypeRecord(ChannelType& record) {
    std::memset(static_cast<void*>(&record), 0, sizeof(record));
    record.SetTypeName("Storyloom");
    record.typeGuid = kStoryloomGuid;
    record.baseTypeGuid = ChannelGuids::Value;  // every value link accepts the channel
    record.hostWords[2] = kHostWordAt120;
    record.hostWords[4] = kHostWordAt128;
}

Core::ScenarioEditor& Editor() { return Core::CoreEngine::Instance().GetScenarioEditor(); }

// These modes keep the name the designer gave them, so the file never renames them.
bool KeepsGivenName(unsigned int mode) { return IsConstructMode(mode) || mode == MODE_VariableSlot_Objective; }
}  // namespace

Aco_Storyloom::Aco_Storyloom() {
    SetChannelName("Storyloom");
    _namePrefix = "Storyloom_";
}

Aco_Storyloom::Aco_Storyloom(const Aco_Storyloom& other)
    : MultiModeChannel(other),
      MagicBase(other),
      Core::ScenarioGraphListener(other),
      Core::ScenarioEditorListener(other),
      _isFactoryInitialized(other._isFactoryInitialized),
      _questFactoryType(other._questFactoryType) {}

// A copy shares no factory: the factory is registered for its own channel only.
Aco_Storyloom& Aco_Storyloom::operator=(const Aco_Storyloom& other) {
    if (this == &other) return *this;
    MultiModeChannel::operator=(other);
    _isFactoryInitialized = other._isFactoryInitialized;
    _questFactoryType = other._questFactoryType;
    return *this;
}

Aco_Storyloom::~Aco_Storyloom() {
    if (IsEditorListener()) Editor().SetListener(nullptr);
    DeleteFactory();
}

ChannelType Aco_Storyloom::GetChannelType() {
    // Built once: kind checks ask for it on every child access.
    static const ChannelType type = *GetType();
    return type;
}

bool Aco_Storyloom::IsEditorListener() const {
    return Editor().GetListener() == static_cast<const Core::ScenarioEditorListener*>(this);
}

// The order in which engines have always seen the links declared. Modes 5, 7 and 16 have no
// links and are not declared; 30 has none either but is.
constexpr unsigned int kDeclarationOrder[] = {0,  1,  2,  3,  4,  6,  8,  9,  11, 12, 10, 45, 46, 47, 44, 13,
                                              14, 15, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30,
                                              32, 33, 34, 35, 42, 43, 36, 37, 38, 39, 40, 41, 48, 49};

// Two passes: every mode's links in declaration order, then the modes in display order.
void Aco_Storyloom::InitializeModes() {
    const std::vector<const ModeRecord*>& modes = ModeCatalogue::InDisplayOrder();
    for (unsigned int id : kDeclarationOrder) {
        auto mode = std::find_if(modes.begin(), modes.end(), [id](const ModeRecord* m) { return m->id == id; });
        if (mode == modes.end()) continue;
        InitMode(id);
        for (unsigned int i = 0; i < (*mode)->LinkCount(); ++i) {
            const LinkRecord& link = (*mode)->links[i];
            const LinkKindInfo& kind = GetLinkKindInfo(link.kind);
            CreateLink(kind.guid, kind.typeText, link.name, static_cast<int>(link.flow), link.repeatable);
        }
    }
    for (const ModeRecord* mode : modes) AddMode(mode->id, mode->shortName, mode->name);
}

void Aco_Storyloom::ModeIsSet() {
    DeleteFactory();
    if (IsEditorListener()) Editor().SetListener(nullptr);
    if (GetCurrentMode() == MODE_ScenarioEditor_HandleSelectEntity) Editor().SetListener(this);
}

bool Aco_Storyloom::SaveChannel(A3dFileSaver& saver) {
    _useAutoChannelName = !KeepsGivenName(GetCurrentMode());
    MultiModeChannel::SaveChannel(saver);
    _useAutoChannelName = true;
    return true;
}

bool Aco_Storyloom::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
    bool loaded = MultiModeChannel::LoadChannel(loader, group);
    TryCreateFactory();
    return loaded;
}

void Aco_Storyloom::DoDependencyInit(A3d_List* list) { Core::CoreEngine::Instance().DoDependencyInit(this, list); }

void Aco_Storyloom::ReportEvaluationFailure(const std::string& text) { ERRLOG(GetPrefixedMessage(text).c_str()); }

void Aco_Storyloom::OnGraphSized(float width, float height) {
    if (GetCurrentMode() == MODE_ScenarioEditor_OnGraphSized) EditorCallbacks::AnswerGraphSized(*this, width, height);
}

void Aco_Storyloom::HandleSelectEntity() {
    if (GetCurrentMode() != MODE_ScenarioEditor_HandleSelectEntity)
        ERRLOG(FormatFailedCondition("Aco_Storyloom::HandleSelectEntity",
                                     "GetCurrentMode() == MODE_ScenarioEditor_HandleSelectEntity"));
    EditorCallbacks::AnswerPickRequest(*this, 1.0f);
}

void Aco_Storyloom::SelectedEntityVerified(bool ok) {
    if (GetCurrentMode() != MODE_ScenarioEditor_HandleSelectEntity)
        ERRLOG(FormatFailedCondition("Aco_Storyloom::SelectedEntityVerified",
                                     "GetCurrentMode() == MODE_ScenarioEditor_HandleSelectEntity"));
    EditorCallbacks::AnswerPickRequest(*this, ok ? 0.0f : 1.0f);
}

extern "C" A3d_Channel* InitDLL() { return new (std::nothrow) Aco_Storyloom(); }

extern "C" ChannelType* GetType() {
    static ChannelType record;
    FillTypeRecord(record);
    return &record;
}
