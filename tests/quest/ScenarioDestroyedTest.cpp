#include "QuestTestSupport.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A scenario destroyed from the graph while a reference channel, the editor, an owner of its
// own and copies of its nodes still point at it: every pointer reads empty, the copies keep
// running against their channel, and new nodes for it come without slots (checked under
// AddressSanitizer).
TEST_F(QuestTest, ScenarioDestroyedWhileOthersPointAtIt) {
    Core::StaticMeshEntity hero("Hero", {}, 1.0f);
    scenario->AddEntity(&hero);

    Aco_Storyloom& openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate");
    Link(openGate, 0, Value("!Result"));
    Link(openGate, 0, Make<Aco_CoreRef>("Who"));
    int opened = 0;
    auto& open = Make<Probe>("Open");
    open.onEvaluate = [&] { return float(++opened); };
    Link(openGate, 1, open);
    ASSERT_EQ(openGate.GetFloat(), 0.0f);

    Core::EventNode* node = scenario->AddEventNode();
    Core::Action* action = node->AddAction("Open Gate");
    ASSERT_TRUE(action);
    std::unique_ptr<Core::Action> copy(Actions().CloneProduct(*action));
    ASSERT_TRUE(copy);
    auto owner = std::make_unique<Core::VariableSlotSetOwner>(*scenario);
    auto& editor = Core::CoreEngine::Instance().GetScenarioEditor();
    editor.SetScenario(scenario);

    auto& scenarioRef = Make<Aco_CoreRef>("Scenario");
    scenarioRef.SetRef(scenario);
    Aco_Storyloom& destroy = Storyloom(MODE_Scenario_Destroy, "Destroy");
    Link(destroy, 0, scenarioRef);
    ASSERT_EQ(destroy.GetFloat(), 0.0f);
    scenario = nullptr;

    EXPECT_EQ(scenarioRef.GetRef(), nullptr);
    EXPECT_EQ(editor.GetScenario(), nullptr);
    EXPECT_EQ(owner->GetScenario(), nullptr);
    EXPECT_EQ(destroy.GetFloat(), 106.0f);

    copy->Execute();
    EXPECT_EQ(opened, 1);
    // A copy of a node whose scenario is gone: no slot can be made to match its own.
    EXPECT_EQ(Actions().CloneProduct(*copy), nullptr);
    EXPECT_THAT(ErrorLog(), ElementsAre(::testing::HasSubstr("ChildLinkInvalid[CoreScenario]"),
                                        "VariableSlot type/size mismatch in Open Gate while attempting to clone!"));
    // A new node for an owner that outlived its scenario has no slots and no report.
    Core::ClearErrorLog();
    std::unique_ptr<Core::Action> late(Actions().CreateProduct("Open Gate", *owner));
    ASSERT_TRUE(late);
    EXPECT_THAT(late->GetVariableSlots(), IsEmpty());
    late->Execute();
    EXPECT_EQ(opened, 2);
    EXPECT_THAT(ErrorLog(), IsEmpty());
    editor.SetScenario(nullptr);
}

}  // namespace
