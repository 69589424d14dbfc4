#include <typeinfo>

#include "QuestTestSupport.h"

namespace {

using ::testing::ElementsAre;
using FloatVar = Core::TVariable<float>;
using Vec3Var = Core::TVariable<VelmMathLib::Vec3>;

class VariableSlotTest : public QuestTest {
protected:
    // The slot the construct channel's only slot child declares, or null.
    std::unique_ptr<Core::VariableSlotBase> SlotFrom(A3d_Channel& child) {
        construct.UnlinkChild(0);
        Link(construct, 0, child);
        std::unique_ptr<QuestVarFactory> factory(construct.CreateVarFactoryFromLink(0));
        return std::unique_ptr<Core::VariableSlotBase>(factory ? factory->CreateSlot(*scenario) : nullptr);
    }
    Aco_Storyloom& construct = Storyloom(MODE_OnConstruct_Action, "Open Gate");
};

// The child's class (and mode) gives the kind, its name the slot's name and flags: "!" and
// "@" are dropped always but applied to float, text, vector and objective slots only.
TEST_F(VariableSlotTest, ChildDeclaresKindNameAndFlags) {
    const struct {
        A3d_Channel* child;
        const std::type_info* slotClass;  // null: no slot
        const char* name;
        bool selectOnly, insertOnly;
        const char* enumType;
    } cases[] = {
        {&Value("!Result"), &typeid(TQuestVariableSlot<FloatVar>), "Result", true, false, nullptr},
        {&Value("!@Both"), &typeid(TQuestVariableSlot<FloatVar>), "@Both", true, false, nullptr},
        {&Value(nullptr), &typeid(TQuestVariableSlot<FloatVar>), "Error: Channel has no name!", false, false, nullptr},
        {&Text("@Label"), &typeid(TQuestVariableSlot<Core::StringVar>), "Label", false, true, nullptr},
        {&Make<Aco_VectorChannel>("@Where"), &typeid(TQuestVariableSlot<Vec3Var>), "Where", false, true, nullptr},
        {&Objective("!Goal", Text("Short"), Text("Long")), &typeid(TQuestVariableSlot<Core::ObjectiveVar>), "Goal",
         true, false, nullptr},
        {&Ref("!Target"), &typeid(QuestEntityVariableSlot), "Target", false, false, nullptr},
        {&Enum("!Choice", "Door"), &typeid(QuestEnumVariableSlot), "Choice", false, false, "Door"},
        {&StringSelect("@Pick", "Colour"), &typeid(QuestEnumVariableSlot), "Pick", false, false, "Colour"},
        {&Make<Aco_MatrixChannel>("Pose"), nullptr, "Pose", false, false, nullptr},
        {&Storyloom(MODE_Scenario_Create, "Create"), nullptr, "Create", false, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Core::VariableSlotBase> slot = SlotFrom(*c.child);
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
}

// Unsupported enumeration and list types give no slot; the extension reads the list type
// through the string-select channel and is pointed back at its own channel.
TEST_F(VariableSlotTest, UnsupportedTypesAreLogged) {
    EXPECT_EQ(SlotFrom(Enum("Choice", "Nope")), nullptr);
    EXPECT_EQ(SlotFrom(Storyloom(MODE_StringSelectVar, "Pick")), nullptr);
    EXPECT_EQ(SlotFrom(StringSelect("Pick", "Nope")), nullptr);
    ExpectLog({"Enum type Nope not supported", "No Stringlist Type defined", "StringList type Nope not supported"});
    EXPECT_EQ(construct.CE_GetSelf(), &construct);
}

// Every kind names its child's class when the child is missing or of another class; output
// kinds also report a pull asked of a slot that is not an output, and carry on. An objective
// needs a channel in the objective mode, not just any channel of the class.
TEST_F(VariableSlotTest, MissingOrWrongChildIsReportedPerKind) {
    const std::string missing = "Error: Child S at index 1 was not linked or was of the wrong type (";
    const std::string pull = "::SyncFromQuest().GetIsSelectOnly()";
    const struct {
        std::function<Core::VariableSlotBase*()> slot;
        const char* expected;
        const char* puller;  // null: the kind is never pulled
    } cases[] = {
        {[] { return new TQuestVariableSlot<FloatVar>("S"); }, "Aco_FloatChannel",
         "TQuestVariableSlot<class Core::TVariable<float> >"},
        {[] { return new TQuestVariableSlot<Vec3Var>("S"); }, "Aco_VectorChannel",
         "TQuestVariableSlot<class Core::TVariable<struct VelmMathLib::Vec3> >"},
        {[] { return new TQuestVariableSlot<Core::StringVar>("S"); }, "Aco_StringChannel",
         "TQuestVariableSlot<class Core::StringVar>"},
        {[&] { return new QuestEntityVariableSlot(*scenario, "S"); }, "Aco_CoreRef", "QuestEntityVariableSlot"},
        {[] { return new QuestEnumVariableSlot("S", "Door"); }, "Aco_CustomEnum", "QuestEnumVariableSlot"},
        {[] { return new TQuestVariableSlot<Core::ObjectiveVar>("S"); },
         "Aco_Storyloom with mode \"VariableSlot :: Objective\"", nullptr},
    };
    Link(construct, 1, Make<Aco_MatrixChannel>("Pose"));  // child 1: no slot's class
    for (const auto& c : cases) {
        globalEngine.ClearDebugMessages();
        std::unique_ptr<Core::VariableSlotBase> slot(c.slot());
        auto& quest = dynamic_cast<QuestVariableSlot&>(*slot);
        quest.SyncToQuest(&construct, 1);
        quest.SyncFromQuest(&construct, 1);
        const std::string report = missing + c.expected + " expected)!";
        if (c.puller)
            EXPECT_THAT(DebugMessages(), ElementsAre(report, c.puller + pull, report));
        else
            EXPECT_THAT(DebugMessages(), ElementsAre(report));
    }
    construct.UnlinkChild(1);
    Link(construct, 1, Mode(MODE_Scenario_Create));
    TQuestVariableSlot<Core::ObjectiveVar> objective("S");
    globalEngine.ClearDebugMessages();
    objective.SyncToQuest(&construct, 1);
    EXPECT_THAT(DebugMessages(), ElementsAre(missing + cases[5].expected + " expected)!"));
}

// Values go out to the children before the run and come back after it: an enumeration's
// index as a value, truncated on the way back and with the slot's type; an entity as the
// reference, none emptying it; an objective as its two texts.
TEST_F(VariableSlotTest, ValuesTravelBetweenSlotAndChild) {
    Core::StaticMeshEntity gate("Gate", {}, 2.0f);
    scenario->AddEntity(&gate);
    auto& choice = Enum("!Choice", "Door");
    auto& target = Ref("Target", scenario);
    auto &goalShort = Text("Short"), &goalLong = Text("Long");
    for (A3d_Channel* child : std::vector<A3d_Channel*>{&choice, &target, &StringSelect("Pick", "Colour"),
                                                        &Objective("Goal", goalShort, goalLong)})
        Link(construct, 0, *child);
    auto& run = Make<Probe>("Run");
    run.onEvaluate = [&] { return choice.SetFloat(2.7f), 0.0f; };
    Link(construct, 1, run);
    construct.GetFloat();
    Core::Action* action = scenario->AddEventNode()->AddAction("Open Gate");
    ASSERT_TRUE(action);
    auto *door = new Core::EnumVar("door", {"Door", 3}), *colour = new Core::EnumVar("colour", {"Colour", 1});
    ASSERT_TRUE(scenario->AddVariable(door) && scenario->AddVariable(colour));
    for (auto [index, variable] : {std::pair{0, door}, {2, colour}}) {
        auto& slot = SlotAt<QuestEnumVariableSlot>(*action, index);
        slot.SetIsSelectOnly(true);
        slot.Bind(variable);
    }
    SlotAt<QuestEnumVariableSlot>(*action, 0).SyncToQuest(&construct, 0);
    SlotAt<QuestEntityVariableSlot>(*action, 1).SyncToQuest(&construct, 1);
    EXPECT_EQ(StoredValue(choice), 3.0f);
    EXPECT_EQ(target.GetRef(), nullptr);

    SlotAt<QuestEntityVariableSlot>(*action, 1).SetConstValue(&gate);
    SlotAt<Core::TVariableSlot<Core::ObjectiveVar>>(*action, 3).SetConstValue({"Open", "Open the north gate"});
    action->Execute();  // a string-select child evaluates to 0.0: index 0 comes back
    EXPECT_EQ(target.GetRef(), static_cast<Core::RefSupport*>(&gate));
    EXPECT_EQ(TextOf(goalShort), "Open");
    EXPECT_EQ(TextOf(goalLong), "Open the north gate");
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
    Core::StringVar briefing("Briefing");
    for (unsigned link : {2u, 3u}) started.CreateVarFactoryFromLink(link)->SendParameter(&briefing, &started, link);
    EXPECT_THAT(DebugMessages(),
                ElementsAre("Error: Send parameter Briefing at index 2(Reward) was of the incorrect type for Event "
                            "Mission - Started (Aco_FloatChannel expected)!",
                            "Error: Send parameter Briefing at index 3(Goal) was of the incorrect type for Event "
                            "Mission - Started (Aco_Storyloom with mode \"VariableSlot :: Objective\" expected)!"));
}

}  // namespace
