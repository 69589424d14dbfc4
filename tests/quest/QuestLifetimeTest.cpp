#include <algorithm>
#include <array>

#include "QuestTestSupport.h"

namespace {

// Construct channels, their factories and their nodes die in every order. Whatever is left
// keeps answering, or reports that its channel is gone, and never touches freed memory
// (this test is the one to run under AddressSanitizer).
class QuestLifetimeTest : public QuestTest {
protected:
    enum Part { Channels, Factories, Nodes };

    void BuildRule() {
        openGate = &Storyloom(MODE_OnConstruct_Action, "Open Gate");
        hasKey = &Storyloom(MODE_OnConstruct_Condition, "Has Key");
        started = &Storyloom(MODE_OnConstruct_Event, "Mission - Started");
        for (A3d_Channel* slot :
             std::vector<A3d_Channel*>{&Value("!Result"), &Text("@Label"), &Ref("Hero"), &Enum("State", "Door"),
                                       &Objective("Goal", Text("Short"), Text("Long"))})
            Link(*openGate, 0, *slot);
        Link(*openGate, 2, Text("DisplayText", "Open $1$"));
        Link(*hasKey, 0, StringSelect("Key", "Colour"));
        Link(*hasKey, 1, Value("Holds", 1.0f));
        Link(*started, 0, Ref("Hero"));
        Link(*started, 1, Ref("Who"));
        Link(*started, 3, activate);
        for (Aco_Storyloom* construct : {openGate, hasKey, started}) construct->GetFloat();

        rules = Manager().CreateScenario();
        auto* heroVar = new Core::EntityVar("hero", *rules);
        heroVar->SetValue(&hero);
        ASSERT_TRUE(rules->AddVariable(heroVar) && rules->AddVariable(new Core::TVariable<float>("opened")));
        Core::EventNode* node = rules->AddEventNode();
        ASSERT_TRUE(node->SetEvent("Mission - Started") && node->AddCondition("Has Key") &&
                    node->AddAction("Open Gate"));
        SlotAt<Core::VariableSlotBase>(*node->GetActions()[0], 0).Bind(rules->FindVariable("opened"));
        SlotAt<Core::VariableSlotBase>(*node->GetActions()[0], 2).Bind(heroVar);
        SlotAt<Core::VariableSlotBase>(*node->GetEvent(), 0).Bind(heroVar);
        actionClone.reset(Actions().CloneProduct(*node->GetActions()[0]));
        eventClone.reset(Events().CloneProduct(*node->GetEvent()));
        ASSERT_TRUE(actionClone && eventClone);
    }

    void Kill(Part part) {
        switch (part) {
            case Channels:
                for (Aco_Storyloom* construct : {openGate, hasKey, started}) Destroy(*construct);
                channelsAlive = false;
                break;
            case Factories:
                if (channelsAlive)
                    for (Aco_Storyloom* construct : {openGate, hasKey, started}) construct->DeleteFactory();
                break;
            case Nodes:
                Manager().DestroyScenario(rules);
                rules = nullptr;
                actionClone.reset();
                eventClone.reset();
                break;
        }
    }

    // Runs whatever nodes are left, by hand and by firing their event type.
    void RunSurvivors() {
        const int before = activate.reads;
        Core::EventParams params(&hero);
        Events().FireEvent("Mission - Started", params);
        if (actionClone) {
            actionClone->Execute();
            eventClone->CheckActivate(params);
            EXPECT_EQ(actionClone->GetDisplayText(), channelsAlive ? "Open " : "Channel Open Gate was deleted!");
        }
        EXPECT_EQ(activate.reads > before, channelsAlive && (rules || actionClone));
    }

    Core::StaticMeshEntity hero{"Hero", {}, 1.0f};
    Probe& activate = Make<Probe>("Activate");
    Aco_Storyloom *openGate = nullptr, *hasKey = nullptr, *started = nullptr;
    Core::Scenario* rules = nullptr;
    std::unique_ptr<Core::Action> actionClone;
    std::unique_ptr<Core::Event> eventClone;
    bool channelsAlive = true;
};

TEST_F(QuestLifetimeTest, PartsDieInEveryOrder) {
    std::array<Part, 3> order{Channels, Factories, Nodes};
    do {
        SCOPED_TRACE(::testing::Message() << order[0] << order[1] << order[2]);
        channelsAlive = true;
        BuildRule();
        for (Part part : order) {
            Kill(part);
            RunSurvivors();
        }
    } while (std::next_permutation(order.begin(), order.end()));
}

}  // namespace
