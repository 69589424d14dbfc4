#include <typeinfo>

#include "QuestTestSupport.h"

namespace {

using ::testing::ElementsAre;
using FloatVar = Core::TVariable<float>;
using Vec3Var = Core::TVariable<VelmMathLib::Vec3>;

class VariableSlotTest : public QuestTest {
protected:
    void SetUp() override {
        QuestTest::SetUp();
        construct = &Storyloom(MODE_OnConstruct_Action, "Open Gate");
    }
    // The slot the construct channel's only slot child declares, or null.
    std::unique_ptr<Core::VariableSlotBase> SlotFrom(A3d_Channel& child) {
        construct->UnlinkChild(0);
        Link(*construct, 0, child);
        std::unique_ptr<QuestVarFactory> factory(construct->CreateVarFactoryFromLink(0));
        return std::unique_ptr<Core::VariableSlotBase>(factory ? factory->CreateSlot(*scenario) : nullptr);
    }
    Aco_Storyloom* construct = nullptr;
};

// The child's class (and mode) gives the kind, its name the slot's name and flags: "!" and
// "@" are dropped always but applied to float, text, vector and objective slots only.
TEST_F(VariableSlotTest, ChildDeclaresKindNameAndFlags) {
    struct Case {
        std::function<A3d_Channel&()> child;
        const std::type_info* slotClass;  // null: no slot
        const char* name = nullptr;
        bool selectOnly = false, insertOnly = false;
        const char* enumType = nullptr;
    } cases[] = {
        {[&]() -> A3d_Channel& { return Value("!Result"); }, &typeid(TQuestVariableSlot<FloatVar>), "Result", true, false},
        {[&]() -> A3d_Channel& { return Value("!@Both"); }, &typeid(TQuestVariableSlot<FloatVar>), "@Both", true, false},
        {[&]() -> A3d_Channel& { return Value(nullptr); }, &typeid(TQuestVariableSlot<FloatVar>),
         "Error: Channel has no name!", false, false},
        {[&]() -> A3d_Channel& { return Text("@Label"); }, &typeid(TQuestVariableSlot<Core::StringVar>), "Label", false, true},
        {[&]() -> A3d_Channel& { return Make<Aco_VectorChannel>("@Where"); }, &typeid(TQuestVariableSlot<Vec3Var>), "Where",
         false, true},
        {[&]() -> A3d_Channel& { return Objective("!Goal", Text("Short"), Text("Long")); },
         &typeid(TQuestVariableSlot<Core::ObjectiveVar>), "Goal", true, false},
        {[&]() -> A3d_Channel& { return Make<Aco_CoreRef>("!Target"); }, &typeid(QuestEntityVariableSlot), "Target", false,
         false},
        {[&]() -> A3d_Channel& { return Enum("!Choice", "Door"); }, &typeid(QuestEnumVariableSlot), "Choice", false, false,
         "Door"},
        {[&]() -> A3d_Channel& {
             Aco_Storyloom& pick = Storyloom(MODE_StringSelectVar, "@Pick");
             Link(pick, 0, Text("Type", "Colour"));
             return pick;
         },
         &typeid(QuestEnumVariableSlot), "Pick", false, false, "Colour"},
        {[&]() -> A3d_Channel& { return Make<Aco_MatrixChannel>("Pose"); }, nullptr},
        {[&]() -> A3d_Channel& { return Storyloom(MODE_Scenario_Create, "Create"); }, nullptr},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Core::VariableSlotBase> slot = SlotFrom(c.child());
        SCOPED_TRACE(c.name ? c.name : "no slot");
        if (!c.slotClass) {
            EXPECT_EQ(slot, nullptr);
            continue;
        }
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(typeid(*slot), *c.slotClass);
        EXPECT_EQ(slot->GetName(), c.name);
        EXPECT_EQ(slot->GetIsSelectOnly(), c.selectOnly);
        EXPECT_EQ(slot->GetIsInsertOnly(), c.insertOnly);
        if (c.enumType) {
            EXPECT_EQ(dynamic_cast<Core::EnumVarSlot&>(*slot).GetEnumType(), c.enumType);
        }
    }
    EXPECT_THAT(ErrorLog(), ::testing::IsEmpty());
}

// Unsupported enumeration and list types give no slot; the extension reads the list type
// through the string-select channel and is pointed back at its own channel.
TEST_F(VariableSlotTest, UnsupportedTypesAreLogged) {
    Aco_Storyloom& untyped = Storyloom(MODE_StringSelectVar, "Pick");
    Aco_Storyloom& unknownList = Storyloom(MODE_StringSelectVar, "Pick");
    Link(unknownList, 0, Text("Type", "Nope"));
    EXPECT_EQ(SlotFrom(Enum("Choice", "Nope")), nullptr);
    EXPECT_EQ(SlotFrom(untyped), nullptr);
    EXPECT_EQ(SlotFrom(unknownList), nullptr);
    EXPECT_THAT(ErrorLog(), ElementsAre("Enum type Nope not supported", "No Stringlist Type defined",
                                        "StringList type Nope not supported"));
    EXPECT_EQ(construct->CE_GetSelf(), construct);
}

// Every kind names its child's class when the child is missing or of another class; output
// kinds also report a pull asked of a slot that is not an output, and carry on.
TEST_F(VariableSlotTest, MissingOrWrongChildIsReportedPerKind) {
    const std::string missing = "Error: Child S at index 1 was not linked or was of the wrong type (";
    struct Case {
        std::function<Core::VariableSlotBase*()> slot;
        const char* expected;
        const char* pullReport;  // null: the kind is never pulled
    } cases[] = {
        {[] { return new TQuestVariableSlot<FloatVar>("S"); }, "Aco_FloatChannel expected)!",
         "TQuestVariableSlot<class Core::TVariable<float> >::SyncFromQuest().GetIsSelectOnly()"},
        {[] { return new TQuestVariableSlot<Vec3Var>("S"); }, "Aco_VectorChannel expected)!",
         "TQuestVariableSlot<class Core::TVariable<struct VelmMathLib::Vec3> >::SyncFromQuest().GetIsSelectOnly()"},
        {[] { return new TQuestVariableSlot<Core::StringVar>("S"); }, "Aco_StringChannel expected)!",
         "TQuestVariableSlot<class Core::StringVar>::SyncFromQuest().GetIsSelectOnly()"},
        {[&] { return new QuestEntityVariableSlot(*scenario, "S"); }, "Aco_CoreRef expected)!",
         "QuestEntityVariableSlot::SyncFromQuest().GetIsSelectOnly()"},
        {[] { return new QuestEnumVariableSlot("S", "Door"); }, "Aco_CustomEnum expected)!",
         "QuestEnumVariableSlot::SyncFromQuest().GetIsSelectOnly()"},
        {[] { return new TQuestVariableSlot<Core::ObjectiveVar>("S"); },
         "Aco_Storyloom with mode \"VariableSlot :: Objective\" expected)!", nullptr},
    };
    Link(*construct, 1, Make<Aco_MatrixChannel>("Pose"));  // child 1: no slot's class
    for (const Case& c : cases) {
        globalEngine.ClearDebugMessages();
        std::unique_ptr<Core::VariableSlotBase> slot(c.slot());
        auto& quest = dynamic_cast<QuestVariableSlot&>(*slot);
        quest.SyncToQuest(construct, 1);
        quest.SyncFromQuest(construct, 1);
        if (c.pullReport)
            EXPECT_THAT(DebugMessages(), ElementsAre(missing + c.expected, c.pullReport, missing + c.expected));
        else
            EXPECT_THAT(DebugMessages(), ElementsAre(missing + c.expected));
    }
    // An objective needs a channel in the objective mode, not just any scenario channel.
    Link(*construct, 1, Storyloom(MODE_Scenario_Create, "Create"));
    TQuestVariableSlot<Core::ObjectiveVar> objective("S");
    globalEngine.ClearDebugMessages();
    objective.SyncToQuest(construct, 1);
    EXPECT_THAT(DebugMessages(), ElementsAre(missing + cases[5].expected));
}

// Enumeration indices go out as values and come back truncated, with the slot's type; an
// empty entity slot empties its reference.
TEST_F(VariableSlotTest, ValuesTravelBetweenSlotAndChild) {
    auto& choice = Enum("!Choice", "Door");
    auto& target = Make<Aco_CoreRef>("Target");
    Aco_Storyloom& pick = Storyloom(MODE_StringSelectVar, "Pick");
    Link(pick, 0, Text("Type", "Colour"));
    for (A3d_Channel* child : std::vector<A3d_Channel*>{&choice, &target, &pick}) Link(*construct, 0, *child);
    auto& run = Make<Probe>("Run");
    run.onEvaluate = [&] {
        choice.SetFloat(2.7f);
        return 0.0f;
    };
    Link(*construct, 1, run);
    construct->GetFloat();
    Core::EventNode* node = scenario->AddEventNode();
    Core::Action* action = node->AddAction("Open Gate");
    ASSERT_TRUE(action);
    auto *door = new Core::EnumVar("door"), *colour = new Core::EnumVar("colour", {"Colour", 1});
    ASSERT_TRUE(scenario->AddVariable(door) && scenario->AddVariable(colour));
    auto& choiceSlot = SlotAt<QuestEnumVariableSlot>(*action, 0);
    choiceSlot.SetConstValue({"Door", 3});
    choiceSlot.SetIsSelectOnly(true);
    choiceSlot.Bind(door);
    auto& pickSlot = SlotAt<QuestEnumVariableSlot>(*action, 2);
    pickSlot.SetIsSelectOnly(true);
    pickSlot.Bind(colour);
    target.SetRef(scenario);

    door->SetValue({"Door", 3});
    choiceSlot.SyncToQuest(construct, 0);
    SlotAt<QuestEntityVariableSlot>(*action, 1).SyncToQuest(construct, 1);
    EXPECT_EQ(StoredValue(choice), 3.0f);
    EXPECT_EQ(target.GetRef(), nullptr);

    action->Execute();  // a string-select child evaluates to 0.0: index 0 comes back
    EXPECT_EQ(door->GetValue().type, "Door");
    EXPECT_EQ(door->GetValue().index, 2u);
    EXPECT_EQ(colour->GetValue().type, "Colour");
    EXPECT_EQ(colour->GetValue().index, 0u);
    EXPECT_THAT(DebugMessages(), ::testing::IsEmpty());
}

// A parameter of another kind than the child is named with the child and the event.
TEST_F(VariableSlotTest, ParameterOfAnotherKindIsReported) {
    Aco_Storyloom& started = Storyloom(MODE_OnConstruct_Event, "Mission - Started");
    Link(started, 2, Value("Reward"));
    Link(started, 2, Objective("Goal", Text("Short"), Text("Long")));
    std::unique_ptr<QuestVarFactory> reward(started.CreateVarFactoryFromLink(2));
    std::unique_ptr<QuestVarFactory> goal(started.CreateVarFactoryFromLink(3));
    Core::StringVar briefing("Briefing");
    reward->SendParameter(&briefing, &started, 2);
    goal->SendParameter(&briefing, &started, 3);
    EXPECT_THAT(DebugMessages(),
                ElementsAre("Error: Send parameter Briefing at index 2(Reward) was of the incorrect type for Event "
                            "Mission - Started (Aco_FloatChannel expected)!",
                            "Error: Send parameter Briefing at index 3(Goal) was of the incorrect type for Event "
                            "Mission - Started (Aco_Storyloom with mode \"VariableSlot :: Objective\" expected)!"));
}

}  // namespace
