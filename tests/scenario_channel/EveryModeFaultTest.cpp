// Every catalogued mode, read from the mode records, evaluated against the faults a designer
// can build: nothing linked, empty channels of each link's kind, an object of the wrong class
// behind each reference, and a linked child destroyed before the evaluation. Each answers a
// status of the dispatch with the report that belongs to it, and nothing crashes (run it
// under AddressSanitizer). A link left empty while the rest is linked right stops the mode
// with 105 exactly when its record says the mode needs it.
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "ScenarioModesFixture.h"
#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/core/AreaEntity.h"
#include "storyloom/host/core/Camera.h"
#include "storyloom/host/core/SphereAreaComponent.h"
#include "storyloom/host/core/VirtualScenarioEntity.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"
#include "storyloom/scenario_channel/ModeSupport.h"

namespace {

using Core::StaticMeshEntity;

enum class Fill { Nothing, Empty, Plausible };

class EveryModeFaultTest : public ScenarioModeTest {
protected:
    void SetUp() override {
        ScenarioModeTest::SetUp();
        scenario = Manager().CreateScenario();
        scenario->AddEntity(&entity);
        scenario->AddEntity(&beacon);
        camp.AddComponent(new Core::SphereAreaComponent({}, 2.0f));
    }

    // "Scenario_Destroy" and "Scenario_RemoveEntity" undo what the next mode needs.
    void Revive() {
        const auto& alive = Manager().GetScenarios();
        if (std::none_of(alive.begin(), alive.end(), [&](const auto& s) { return s.get() == scenario; }))
            scenario = Manager().CreateScenario();
        for (Core::EntityBase* member : {static_cast<Core::EntityBase*>(&entity), static_cast<Core::EntityBase*>(&beacon)})
            if (scenario->GetEntityID(member) == Core::Scenario::NoID) scenario->AddEntity(member);
    }

    static bool NamesScenario(const LinkRecord& link) { return std::string(link.name).find("Scenario") != std::string::npos; }

    // The object a reference link's name asks for. Only "Entity_IsInArea" reads a plain
    // "Entity", and it takes static meshes; every other entity link takes the virtual one.
    Core::RefSupport* TargetFor(const LinkRecord& link) {
        const std::string name = link.name;
        if (NamesScenario(link)) return scenario;
        if (name.find("Area") != std::string::npos) return &camp;
        if (name == "CoreCamera") return &eye;
        if (name == "Entity") return &entity;
        return &beacon;
    }

    // A channel of the link's own kind: empty, or holding what the link's name asks for.
    std::unique_ptr<A3d_Channel> ChildFor(const LinkRecord& link, Fill fill) {
        switch (link.kind) {
            case LinkKind::Vector: return std::make_unique<Aco_VectorChannel>();
            case LinkKind::Text: {
                auto text = std::make_unique<Aco_StringChannel>();
                if (fill == Fill::Plausible) text->SetString("text");
                return text;
            }
            case LinkKind::Matrix: return std::make_unique<Aco_MatrixChannel>();
            case LinkKind::CoreRef: {
                auto ref = std::make_unique<Aco_CoreRef>();
                if (fill == Fill::Plausible) ref->SetRef(TargetFor(link));
                return ref;
            }
            case LinkKind::CustomEnum: return std::make_unique<Aco_CustomEnum>();
            case LinkKind::Generic:
            case LinkKind::Value: return std::make_unique<Aco_FloatChannel>();
        }
        return nullptr;
    }

    // A channel in `record`'s mode with every link filled as asked; `change` may replace or
    // remove the child of one link before it is linked.
    std::unique_ptr<Aco_Storyloom> Build(const ModeRecord& record, Fill fill,
                                         const std::function<void(unsigned, std::unique_ptr<A3d_Channel>&)>& change = {}) {
        Revive();
        auto channel = std::make_unique<Aco_Storyloom>();
        channel->SetCurrentMode(record.id);
        channel->SetChannelName("Probe");
        if (fill == Fill::Nothing) return channel;
        for (unsigned i = 0; i < record.LinkCount(); ++i) {
            std::unique_ptr<A3d_Channel> child = ChildFor(record.links[i], fill);
            if (change) change(i, child);
            if (!child) continue;
            EXPECT_TRUE(channel->LinkChild(i, child.get())) << record.links[i].name;
            children.push_back(std::move(child));
        }
        return channel;
    }

    static bool EndsWith(const std::string& line, const std::string& end) {
        return line.size() >= end.size() && line.compare(line.size() - end.size(), end.size(), end) == 0;
    }

    // Every catalogued mode is available, so a fault ends in 105 or 106 with one report naming
    // one of the mode's links, and answers that report.
    static std::string ExpectPartOutcome(const ModeRecord& record, float status, size_t logBefore) {
        const std::vector<std::string>& log = Core::GetErrorLog();
        std::vector<std::string> linkReports;
        for (size_t i = logBefore; i < log.size(); ++i)
            if (log[i].find("ChildLink") != std::string::npos) linkReports.push_back(log[i]);
        auto namesALink = [&](const std::string& line, const char* text) {
            for (unsigned i = 0; i < record.LinkCount(); ++i)
                if (EndsWith(line, std::string("Channel[Probe].") + text + "[" + record.links[i].name + "]")) return true;
            return false;
        };
        if (status == ModeResult::Done) {
            EXPECT_THAT(linkReports, ::testing::IsEmpty());
        } else if (status == ModeResult::LinkError || status == ModeResult::LinkInvalid) {
            if (linkReports.size() != 1u) {
                ADD_FAILURE() << linkReports.size() << " link reports";
                return "";
            }
            EXPECT_TRUE(namesALink(linkReports[0], status == ModeResult::LinkError ? "ChildLinkError" : "ChildLinkInvalid"))
                << linkReports[0];
            return linkReports[0];
        } else {
            ADD_FAILURE() << "status " << status;
        }
        return "";
    }

    float Evaluate(const ModeRecord& record, Aco_Storyloom& channel, std::string* linkReport = nullptr) {
        const size_t before = Core::GetErrorLog().size();
        const float status = channel.GetFloat();
        std::string report = ExpectPartOutcome(record, status, before);
        if (linkReport) *linkReport = report;
        return status;
    }

    Core::Scenario* scenario = nullptr;
    StaticMeshEntity entity{"Crate", {}, 1.0f};
    Core::VirtualScenarioEntity beacon{"Beacon", {}, 1.0f};
    Core::AreaEntity camp{"Camp"};
    Core::Camera eye{{0.0f, 0.0f, -10.0f}, {}, 1.0f, 8, 6};
    std::vector<std::unique_ptr<A3d_Channel>> children;
};

TEST_F(EveryModeFaultTest, EveryModeAnswersEveryFault) {
    ASSERT_GE(ModeCatalogue::InDisplayOrder().size(), 49u);
    for (const ModeRecord* record : ModeCatalogue::InDisplayOrder()) {
        SCOPED_TRACE(record->shortName);
        Evaluate(*record, *Build(*record, Fill::Nothing));
        Evaluate(*record, *Build(*record, Fill::Empty));
        Evaluate(*record, *Build(*record, Fill::Plausible));

        for (unsigned link = 0; link < record->LinkCount(); ++link) {
            SCOPED_TRACE(record->links[link].name);
            // The object of the other class behind a reference; any channel at a generic link.
            auto wrong = Build(*record, Fill::Plausible, [&](unsigned i, std::unique_ptr<A3d_Channel>& child) {
                if (i != link) return;
                if (auto* ref = dynamic_cast<Aco_CoreRef*>(child.get()))
                    ref->SetRef(NamesScenario(record->links[i]) ? static_cast<Core::RefSupport*>(&entity) : scenario);
                else if (record->links[i].kind == LinkKind::Generic)
                    child = std::make_unique<Aco_StringChannel>();
            });
            Evaluate(*record, *wrong);

            // A child destroyed after linking leaves its link as if nothing had been linked.
            A3d_Channel* doomed = nullptr;
            auto withDestroyed = Build(*record, Fill::Plausible, [&](unsigned i, std::unique_ptr<A3d_Channel>& child) {
                if (i == link) doomed = child.get();
            });
            auto withUnlinked = Build(*record, Fill::Plausible, [&](unsigned i, std::unique_ptr<A3d_Channel>& child) {
                if (i == link) child.reset();
            });
            children.erase(std::find_if(children.begin(), children.end(), [&](auto& c) { return c.get() == doomed; }));
            const float destroyedStatus = Evaluate(*record, *withDestroyed);
            std::string report;
            const float unlinkedStatus = Evaluate(*record, *withUnlinked, &report);
            EXPECT_EQ(destroyedStatus, unlinkedStatus);
            const bool stoppedHere = unlinkedStatus == ModeResult::LinkError &&
                                     EndsWith(report, std::string("ChildLinkError[") + record->links[link].name + "]");
            EXPECT_EQ(stoppedHere, record->links[link].needed) << "stopped at the empty link; " << report;
        }
    }
}

// A typed link takes no channel of another kind, so a mode never meets one there.
TEST_F(EveryModeFaultTest, TypedLinksRefuseOtherKinds) {
    for (const ModeRecord* record : ModeCatalogue::InDisplayOrder()) {
        for (unsigned link = 0; link < record->LinkCount(); ++link) {
            const LinkKind kind = record->links[link].kind;
            if (kind == LinkKind::Generic || kind == LinkKind::Value) continue;  // a value link takes any value channel
            Aco_Storyloom channel;
            channel.SetCurrentMode(record->id);
            Aco_StringChannel text;
            Aco_CoreRef ref;
            A3d_Channel* other = kind == LinkKind::Text ? static_cast<A3d_Channel*>(&ref) : &text;
            EXPECT_FALSE(channel.LinkChild(link, other)) << record->shortName << " " << record->links[link].name;
        }
    }
}

}  // namespace
