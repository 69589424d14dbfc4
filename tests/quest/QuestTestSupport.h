#pragma once
// Construct channels and the scenario nodes built from them.
#include "storyloom/coreframework/Singleton.h"
#include "support/ModeTestSupport.h"

// Each test starts with one scenario, the enumeration type "Door" and the string list
// "Colour", and leaves neither registered.
class QuestTest : public ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        Core::EnumVarSupport::RegisterType("Door", {"Closed", "Open", "Locked", "Broken"});
        Core::StringListVarSupport::RegisterSupportedListVar("Colour", {"red", "green"});
        scenario = Manager().CreateScenario();
    }
    void TearDown() override {
        ModeTest::TearDown();
        Core::EnumVarSupport::Clear();
        Core::StringListVarSupport::Clear();
    }

    // A "VariableSlot :: Objective" channel with its "Short" and "Long" texts.
    Aco_Storyloom& Objective(const char* name, Aco_StringChannel& shortText, Aco_StringChannel& longText) {
        Aco_Storyloom& channel = Storyloom(MODE_VariableSlot_Objective, name);
        Link(channel, 0, shortText);
        Link(channel, 1, longText);
        return channel;
    }
    // A "StringSelectVar" channel declaring a slot of the string list `type`.
    Aco_Storyloom& StringSelect(const char* name, const char* type) {
        Aco_Storyloom& channel = Storyloom(MODE_StringSelectVar, name);
        Link(channel, 0, Text("Type", type));
        return channel;
    }
    // Fires "Mission - Started" from the graph in the test's scenario.
    Aco_Storyloom& Fire(Core::EntityBase& instigator, float type = 0.0f) {
        Aco_Storyloom& fire = Storyloom(MODE_EventSystem_FireEvent, "Fire");
        Link(fire, 0, Ref("Scenario", scenario));
        Link(fire, 1, Ref("Instigator", &instigator));
        Link(fire, 3, Enum("EventType", "EventType", type));
        return fire;
    }

    template <class Slot>
    static Slot& SlotAt(const Core::VariableSlotSet& node, size_t index) {
        return dynamic_cast<Slot&>(*node.GetVariableSlots().at(index));
    }
    static Core::ActionFactoryManager& Actions() {
        return CoreFramework::Singleton<Core::ActionFactoryManager>::Instance();
    }
    static Core::ConditionFactoryManager& Conditions() {
        return CoreFramework::Singleton<Core::ConditionFactoryManager>::Instance();
    }
    static Core::EventFactoryManager& Events() {
        return CoreFramework::Singleton<Core::EventFactoryManager>::Instance();
    }

    Core::Scenario* scenario = nullptr;
};
