#include "QuestTestSupport.h"

namespace {

using ::testing::ElementsAre;

class QuestFactoryTest : public QuestTest {
protected:
    Core::Action* NewAction(const char* type) { return scenario->AddEventNode()->AddAction(type); }
    Core::ActionFactory* Registered(const char* type) { return Actions().FindFactory(type); }
    static Core::ActionFactory* AsRegistered(Aco_Storyloom& channel) {
        return dynamic_cast<Core::ActionFactory*>(channel.GetQuestFactory());
    }
};

// A child no slot is made from is logged with its index; the others still give slots.
// Built lazily by the first product, it leaves 3.0 in the channel.
TEST_F(QuestFactoryTest, UnsupportedSlotChildGivesFewerSlots) {
    Aco_Storyloom& openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate");
    Link(openGate, 0, Value("!Result"));
    Link(openGate, 0, Make<Aco_MatrixChannel>("Pose"));
    Link(openGate, 0, Text("@Label"));
    EXPECT_EQ(openGate.TryCreateFactory(), 0.0f);
    EXPECT_FALSE(openGate.IsFactoryInitialized());
    Core::Action* action = NewAction("Open Gate");
    ASSERT_TRUE(action);
    EXPECT_TRUE(openGate.IsFactoryInitialized());
    EXPECT_EQ(action->GetVariableSlots().size(), 2u);
    EXPECT_EQ(StoredValue(openGate), 3.0f);
    EXPECT_EQ(openGate.GetFloat(), 0.0f);  // an evaluation ends through its success exit
    ExpectLog({"QuestFactory: Type not supported at 1 for Open Gate", "QuestFactory: Type not supported at 1 for Open Gate"});
}

// A construct channel without a name registers nothing, whatever its kind.
TEST_F(QuestFactoryTest, UnnamedConstructChannelRegistersNothing) {
    const std::pair<unsigned int, const char*> cases[] = {
        {MODE_OnConstruct_Action, "Error: Trying to add unnamed QuestActionFactory factory!"},
        {MODE_OnConstruct_Condition, "Error: Trying to add unnamed QuestConditionFactory factory!"},
        {MODE_OnConstruct_Event, "Error: Trying to add unnamed QuestEventFactory factory!"},
    };
    for (const auto& [mode, text] : cases) {
        Aco_Storyloom& channel = Storyloom(mode, nullptr);
        EXPECT_EQ(channel.TryCreateFactory(), 1.0f);
        EXPECT_EQ(channel.GetFloat(), 0.0f);
        EXPECT_EQ(channel.GetQuestFactory(), nullptr);
        EXPECT_EQ(channel.GetQuestFactoryType(), 3);
        EXPECT_FALSE(channel.IsFactoryInitialized());
        ExpectLog({text, text});
    }
}

// A clone copies its source's slots, state and name; slots that no longer match the
// channel's children in count or kind refuse the clone.
TEST_F(QuestFactoryTest, CloneCopiesSlotsOrRefusesMismatches) {
    Aco_Storyloom& openGate = Storyloom(MODE_OnConstruct_Action, "Open Gate");
    Link(openGate, 0, Value("!Result"));
    openGate.GetFloat();
    Core::Action* action = NewAction("Open Gate");
    auto* opened = new Core::TVariable<float>("opened");
    ASSERT_TRUE(action && scenario->AddVariable(opened));
    SlotAt<Core::VariableSlotBase>(*action, 0).Bind(opened);

    openGate.SetChannelName("Open Door");
    std::unique_ptr<Core::Action> clone(Actions().CloneProduct(*action));
    ASSERT_TRUE(clone);
    auto& slot = SlotAt<TQuestVariableSlot<Core::TVariable<float>>>(*clone, 0);
    EXPECT_NE(&slot, action->GetVariableSlots()[0]);
    EXPECT_EQ(slot.GetName(), "Result");
    EXPECT_TRUE(slot.GetIsSelectOnly());
    EXPECT_EQ(slot.GetVariable(), opened);
    EXPECT_EQ(dynamic_cast<QuestAction&>(*clone).GetQuestName(), "Open Gate");

    openGate.SetChannelName("Open Gate");
    Link(openGate, 0, Value("Extra"));
    openGate.GetFloat();
    EXPECT_EQ(Actions().CloneProduct(*action), nullptr);
    openGate.UnlinkChild(0);
    Link(openGate, 0, Text("!Result"));
    openGate.GetFloat();
    EXPECT_EQ(Actions().CloneProduct(*action), nullptr);
    ExpectLog({"VariableSlot count mismatch in Open Gate while attempting to clone!",
               "VariableSlot type/size mismatch in Open Gate while attempting to clone!"});
}

// Each evaluation registers a fresh factory under the current name; a rename or relink
// takes effect only then. Leaving the construct modes unregisters the kind at once; its
// nodes keep running against the channel's current links.
TEST_F(QuestFactoryTest, RegistrationFollowsNameAndMode) {
    Aco_Storyloom& channel = Storyloom(MODE_OnConstruct_Action, "A");
    channel.GetFloat();
    Core::Action* action = NewAction("A");
    ASSERT_TRUE(action);
    channel.SetChannelName("B");
    EXPECT_EQ(Registered("A"), AsRegistered(channel));
    EXPECT_EQ(Registered("B"), nullptr);
    channel.GetFloat();
    EXPECT_EQ(Registered("A"), nullptr);
    EXPECT_EQ(Registered("B"), AsRegistered(channel));
    EXPECT_EQ(action->GetType(), nullptr);  // told its factory died; it still runs
    channel.GetFloat();
    EXPECT_EQ(Registered("B"), AsRegistered(channel));

    channel.SetCurrentMode(MODE_OnConstruct_Condition);
    channel.SetChannelName("B");
    EXPECT_EQ(Registered("B"), nullptr);
    EXPECT_EQ(Conditions().FindFactory("B"), nullptr);
    Probe& called = Make<Probe>("Evaluate");
    Link(channel, 1, called);
    action->Execute();
    EXPECT_EQ(called.reads, 1);
}

// A loaded construct channel registers at once; its slots come from the children linked
// when the first node is made.
TEST_F(QuestFactoryTest, LoadRegistersBeforeChildrenAreLinked) {
    A3dFileSaver saver;
    Storyloom(MODE_OnConstruct_Action, "Open Gate").SaveChannel(saver);
    Aco_Storyloom& loaded = Make<Aco_Storyloom>();
    A3dFileLoader loader(saver.GetBytes());
    ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
    EXPECT_EQ(Registered("Open Gate"), AsRegistered(loaded));
    EXPECT_FALSE(loaded.IsFactoryInitialized());
    Link(loaded, 0, Value("!Result"));
    Core::Action* action = NewAction("Open Gate");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->GetVariableSlots().size(), 1u);
    EXPECT_TRUE(loaded.IsFactoryInitialized());
}

}  // namespace
