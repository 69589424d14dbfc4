// Every catalogued mode, read from the mode records, evaluated against the faults a designer
// can build: nothing linked, empty channels of each link's kind, plausible channels, an object
// of the wrong class behind each reference, and each link destroyed or left empty. Each fault
// answers an exact status with exactly its reports, and nothing crashes (run it under
// AddressSanitizer). The group tests check what the modes do with good links.
#include <algorithm>
#include <map>
#include <sstream>

#include "storyloom/host/core/AreaEntity.h"
#include "storyloom/host/core/Camera.h"
#include "storyloom/host/core/SphereAreaComponent.h"
#include "storyloom/host/core/VirtualScenarioEntity.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "support/ModeTestSupport.h"

namespace {

enum class Fill { Nothing, Empty, Plausible };

// What an evaluation answers: "-" is 0.0 with no report; "E<i>" and "I<i>" are 105.0 and 106.0
// with the one error-log line ChildLinkError or ChildLinkInvalid of link i; anything else is
// spelled out as the status and each report. "wrong" and "missing" hold one outcome per link,
// separated by " / ": a wrong object there, and nothing (or a destroyed channel) there.
struct Expected {
    std::string nothing, empty, plausible, wrong, missing;
};
// Plausible channels still hand the core what it refuses: the beacon is in the scenario
// already, and "text" is no state.
const std::string kTaken = "0 | Scenario::AddEntityAtID: Beacon is already in the scenario at id 1";
const std::string kUnreadable = "0 | Scenario::ImportState: state text rejected: unreadable (109)";
const std::string kNoFormat = "0 | Scenario::ImportState: state text rejected: StateFormat missing";
const std::map<std::string, Expected> kExpected = {
    {"SphereAreaEntity_GetRadius", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"SphereAreaEntity_SetRadius", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"EventSystem_FireEvent", {"E0", "I0", "-", "I0 / I1 / - / -", "E0 / E1 / - / E3"}},
    {"Action <Rename me please!>", {"-", "-", "-", "- / - / -", "- / - / -"}},
    {"Condition <Rename me please!>", {"-", "-", "-", "- / - / -", "- / - / -"}},
    {"Event <Rename me please!>", {"-", "-", "-", "- / - / - / - / -", "- / - / - / - / -"}},
    {"Scenario_AddEntity", {"E0", "I0", "-", "I0 / I1 / -", "E0 / E1 / E2"}},
    {"Scenario_AddEntityAtID", {"E0", "I0", kTaken, "I0 / I1 / " + kTaken, "E0 / E1 / E2"}},
    {"Scenario_Create", {"E0", "-", "-", "-", "E0"}},
    {"Scenario_Destroy", {"E0", "I0", "-", "I0", "E0"}},
    {"Scenario_GetEntity", {"E0", "I0", "-", "I0 / - / -", "E0 / E1 / E2"}},
    {"Scenario_GetEntityID", {"E0", "I0", "-", "I0 / I1 / -", "E0 / E1 / E2"}},
    {"Scenario_GetEntityCount", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"Scenario_GetFirstEntity", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"Scenario_GetNextEntity", {"E0", "I0", "I1", "I0 / I1 / I1", "E0 / E1 / E1"}},
    {"GetIsEntityInUse", {"E0", "I0", "-", "I0 / I1 / -", "E0 / E1 / E2"}},
    {"Scenario_GetPlayTime", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"Scenario_InitForEditing", {"E0", "I0", "-", "I0", "E0"}},
    {"Scenario_IsEntityInScenario", {"E0", "I0", "-", "I0 / - / - / -", "E0 / E1 / E2 / -"}},
    {"Scenario_IsIDInScenario", {"E0", "I0", "-", "I0 / - / -", "E0 / E1 / -"}},
    {"Scenario_RemoveEntity", {"E0", "I0", "-", "I0 / I1", "E0 / E1"}},
    {"Scenario_RenderVirtualEntities", {"E0", "I0", "-", "I0", "E0"}},
    {"Scenario_State_Export", {"E0", "I0", "-", "I0 / - / - / -", "E0 / E1 / - / E3"}},
    {"Scenario_State_Import",
     {"E0", "I0", kUnreadable, "I0 / " + kUnreadable + " / " + kUnreadable, "E0 / E1 / " + kNoFormat}},
    {"Scenario_Translation_AddItem", {"E0", "I0", "-", "I0 / - / - / -", "E0 / E1 / E2 / E3"}},
    {"Scenario_Translation_Clear", {"E0", "I0", "-", "I0", "E0"}},
    {"Scenario_Translation_Export", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"Scenario_Translation_GetPrefixSuffix", {"E0", "I0", "-", "I0 / - / -", "E0 / E1 / E2"}},
    {"Scenario_Translation_Import", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"Scenario_Translation_Translate", {"E0", "I0", "-", "I0 / -", "E0 / E1"}},
    {"Scenario_Update_Pause", {"E0", "I0", "-", "I0", "E0"}},
    {"Scenario_Update_Resume", {"E0", "I0", "-", "I0", "E0"}},
    {"ScenarioEditor_GetRoot", {"E0", "-", "-", "-", "E0"}},
    {"ScenarioEditor_NotifyEntitySelected", {"E0", "I0", "-", "I0", "E0"}},
    {"ScenarioEditor_NotifyEntitySelectCanceled", {"-", "-", "-", "", ""}},
    {"ScenarioEditor_OnGraphSized", {"-", "-", "-", "- / - / -", "- / - / -"}},
    {"ScenarioEditor_RenderGraph", {"-", "-", "-", "", ""}},
    {"ScenarioEditor_SetScenario", {"E0", "I0", "-", "I0", "E0"}},
    {"ScenarioEditor_SetTesting", {"E0", "-", "-", "- / -", "E0 / -"}},
    {"ScenarioEditor_Show", {"-", "-", "-", "", ""}},
    {"ScenarioEditor_HandleSelectEntity", {"-", "-", "-", "- / -", "- / -"}},
    {"ScenarioEditor_Hide", {"-", "-", "-", "", ""}},
    {"StringSelectVarType_Add", {"E0", "-", "-", "- / -", "E0 / -"}},
    {"SetTranslatedMessages", {"E0", "E0", "-", "- / - / - / -", "E0 / E1 / E2 / E3"}},
    {"StringSelectVar", {"-", "-", "-", "-", "-"}},
    {"VariableSlot_Objective", {"-", "-", "-", "- / -", "- / -"}},
    {"VirtualEntity_Render", {"E0", "I0", "-", "I0", "E0"}},
    {"VirtualEntity_MousePicking", {"E0", "I0", "-", "I0 / I1 / - / - / - / - / -", "E0 / E1 / E2 / E3 / E4 / - / -"}},
    {"Entity_IsInArea", {"E0", "I0", "-", "I0 / I1 / -", "E0 / E1 / -"}},
};

class EveryModeFaultTest : public ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        scenario = Manager().CreateScenario();
        camp.AddComponent(new Core::SphereAreaComponent({}, 2.0f));
    }

    // "Scenario_Destroy" and "Scenario_RemoveEntity" undo what the next mode needs.
    void Revive() {
        const auto& alive = Manager().GetScenarios();
        if (std::none_of(alive.begin(), alive.end(), [&](const auto& s) { return s.get() == scenario; }))
            scenario = Manager().CreateScenario();
        for (Core::EntityBase* member :
             {static_cast<Core::EntityBase*>(&crate), static_cast<Core::EntityBase*>(&beacon)})
            if (scenario->GetEntityID(member) == Core::Scenario::NoID) scenario->AddEntity(member);
    }

    static bool NamesScenario(const LinkRecord& link) {
        return std::string(link.name).find("Scenario") != std::string::npos;
    }

    // The object a reference link's name asks for. Only "Entity_IsInArea" reads a plain
    // "Entity", and it takes static meshes; every other entity link takes the virtual one.
    Core::RefSupport* TargetFor(const LinkRecord& link) {
        const std::string name = link.name;
        if (NamesScenario(link)) return scenario;
        if (name.find("Area") != std::string::npos) return &camp;
        if (name == "CoreCamera") return &eye;
        if (name == "Entity") return &crate;
        return &beacon;
    }

    // A channel of the link's own kind: empty, or holding what the link's name asks for.
    A3d_Channel* ChildFor(const LinkRecord& link, Fill fill) {
        const bool plausible = fill == Fill::Plausible;
        switch (link.kind) {
            case LinkKind::Vector:
                return &Make<Aco_VectorChannel>();
            case LinkKind::Text:
                return &Text(nullptr, plausible ? "text" : nullptr);
            case LinkKind::Matrix:
                return &Make<Aco_MatrixChannel>();
            case LinkKind::CoreRef:
                return &Ref(nullptr, plausible ? TargetFor(link) : nullptr);
            case LinkKind::CustomEnum:
                return &Make<Aco_CustomEnum>();
            case LinkKind::Generic:
            case LinkKind::Value:
                return &Value(nullptr);
        }
        return nullptr;
    }

    // A channel in `record`'s mode with every link filled as asked; `change` may replace the
    // child of one link, or leave it empty, before it is linked.
    Aco_Storyloom& Build(const ModeRecord& record, Fill fill,
                         const std::function<void(unsigned, A3d_Channel*&)>& change = {}) {
        Revive();
        Aco_Storyloom& channel = Storyloom(record.id, "Probe");
        for (unsigned i = 0; fill != Fill::Nothing && i < record.LinkCount(); ++i) {
            A3d_Channel* child = ChildFor(record.links[i], fill);
            if (change) change(i, child);
            if (child) Link(channel, i, *child);
        }
        return channel;
    }

    // The first link of `record` that has the name of link `link`: the one its report names.
    static unsigned ReportedLink(const ModeRecord& record, unsigned link) {
        unsigned first = 0;
        while (std::string(record.links[first].name) != record.links[link].name) ++first;
        return first;
    }

    // Evaluates the channel and spells out what it answered and reported.
    static std::string Evaluate(const ModeRecord& record, Aco_Storyloom& channel) {
        Core::ClearErrorLog();
        globalEngine.ClearDebugMessages();
        const float status = channel.GetFloat();
        const std::string prefix = EvaluationReport(record.shortName, "", "Probe");
        if (DebugMessages().empty()) {
            if (status == 0.0f && ErrorLog().empty()) return "-";
            for (unsigned i = 0; ErrorLog().size() == 1 && i < record.LinkCount(); ++i) {
                const std::string link = std::string("[") + record.links[i].name + "]";
                if (status == 105.0f && ErrorLog()[0] == prefix + "ChildLinkError" + link)
                    return "E" + std::to_string(i);
                if (status == 106.0f && ErrorLog()[0] == prefix + "ChildLinkInvalid" + link)
                    return "I" + std::to_string(i);
            }
        }
        std::ostringstream text;
        text << status;
        for (const std::string& line : ErrorLog()) text << " | " << line;
        for (const std::string& line : DebugMessages()) text << " | debug: " << line;
        return text.str();
    }

    Core::Scenario* scenario = nullptr;
    Core::StaticMeshEntity crate{"Crate", {}, 1.0f};
    Core::VirtualScenarioEntity beacon{"Beacon", {}, 1.0f};
    Core::AreaEntity camp{"Camp"};
    Core::Camera eye{{0.0f, 0.0f, -10.0f}, {}, 1.0f, 8, 6};
};

TEST_F(EveryModeFaultTest, EveryModeAnswersEveryFault) {
    ASSERT_EQ(ModeCatalogue::InDisplayOrder().size(), 49u);
    for (const ModeRecord* record : ModeCatalogue::InDisplayOrder()) {
        const std::string name = record->shortName;
        std::string wrong, missing;
        for (unsigned link = 0; link < record->LinkCount(); ++link) {
            // The object of the other class behind a reference; any channel at a generic link.
            wrong += (link ? " / " : "") +
                     Evaluate(*record, Build(*record, Fill::Plausible, [&](unsigned i, A3d_Channel*& child) {
                         if (i != link) return;
                         if (auto* ref = dynamic_cast<Aco_CoreRef*>(child))
                             ref->SetRef(NamesScenario(record->links[i]) ? static_cast<Core::RefSupport*>(&crate)
                                                                         : scenario);
                         else if (record->links[i].kind == LinkKind::Generic)
                             child = &Text(nullptr, "text");
                     }));
            // A child destroyed after linking leaves its link as if nothing had been linked.
            A3d_Channel* doomed = nullptr;
            Aco_Storyloom& withDestroyed = Build(*record, Fill::Plausible, [&](unsigned i, A3d_Channel*& child) {
                if (i == link) doomed = child;
            });
            Destroy(*doomed);
            const std::string destroyed = Evaluate(*record, withDestroyed);
            const std::string unlinked =
                Evaluate(*record, Build(*record, Fill::Plausible, [&](unsigned i, A3d_Channel*& child) {
                    if (i == link) child = nullptr;
                }));
            EXPECT_EQ(destroyed, unlinked) << name << " " << record->links[link].name;
            missing += (link ? " / " : "") + unlinked;
            // Only checkers read "needed"; the mode itself must agree with it.
            EXPECT_EQ(unlinked == "E" + std::to_string(ReportedLink(*record, link)), record->links[link].needed)
                << name << " " << record->links[link].name;
        }
        auto expected = kExpected.find(name);
        ASSERT_NE(expected, kExpected.end()) << name;
        const Expected& e = expected->second;
        EXPECT_EQ(Evaluate(*record, Build(*record, Fill::Nothing)), e.nothing) << name << ": nothing linked";
        EXPECT_EQ(Evaluate(*record, Build(*record, Fill::Empty)), e.empty) << name << ": empty channels";
        EXPECT_EQ(Evaluate(*record, Build(*record, Fill::Plausible)), e.plausible) << name << ": plausible channels";
        EXPECT_EQ(wrong, e.wrong) << name << ": a wrong object at each link";
        EXPECT_EQ(missing, e.missing) << name << ": each link empty";
    }
}

}  // namespace
