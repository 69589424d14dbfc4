#include <memory>

#include "CoreTestSupport.h"
#include "ScriptedNodes.h"

namespace {

using Core::ActionFactoryManager;
using CoreFramework::Singleton;

class CoreFactory : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        scenario = Manager().CreateScenario();
        owner = std::make_unique<Core::VariableSlotSetOwner>(*scenario);
    }
    static ActionFactoryManager& Actions() { return Singleton<ActionFactoryManager>::Instance(); }

    NodeScript script;
    Core::Scenario* scenario = nullptr;
    std::unique_ptr<Core::VariableSlotSetOwner> owner;
};

// A factory serves its type while it lives; of two with one name the newer serves, and the
// older takes over again when the newer dies.
TEST_F(CoreFactory, RegistrationFollowsLifetime) {
    EXPECT_EQ(Actions().FindFactory("Open Gate"), nullptr);
    auto older = std::make_unique<ScriptedActionFactory>("Open Gate", script);
    EXPECT_EQ(Actions().FindFactory("Open Gate"), older.get());
    {
        ScriptedActionFactory newer("Open Gate", script);
        EXPECT_EQ(Actions().FindFactory("Open Gate"), &newer);
    }
    EXPECT_EQ(Actions().FindFactory("Open Gate"), older.get());
    older.reset();
    EXPECT_EQ(Actions().FindFactory("Open Gate"), nullptr);
    EXPECT_EQ(Actions().CreateProduct("Open Gate", *owner), nullptr);
    ScriptedActionFactory unnamed("", script);
    EXPECT_EQ(Actions().FindFactory(""), nullptr);
    EXPECT_EQ(Core::GetErrorLog().size(), 2u);
}

// Nodes outlive their factory in every destruction order: a factory's death reaches each
// live node once, and a node's death takes it off its factory's list.
TEST_F(CoreFactory, NodesAndFactoriesDieInAnyOrder) {
    enum Order { FactoryFirst, NodesFirst, OneNodeThenFactory };
    for (Order order : {FactoryFirst, NodesFirst, OneNodeThenFactory}) {
        SCOPED_TRACE(order);
        script.factoryDeaths = 0;
        auto factory = std::make_unique<ScriptedActionFactory>("Ring Bell", script);
        std::unique_ptr<Core::Action> first(Actions().CreateProduct("Ring Bell", *owner));
        std::unique_ptr<Core::Action> second(Actions().CreateProduct("Ring Bell", *owner));
        ASSERT_EQ(factory->GetProducts().size(), 2u);
        EXPECT_EQ(first->GetType(), factory.get());

        if (order == NodesFirst) {
            first.reset();
            second.reset();
            EXPECT_TRUE(factory->GetProducts().empty());
        } else if (order == OneNodeThenFactory) {
            first.reset();
            EXPECT_EQ(factory->GetProducts().size(), 1u);
        }
        factory.reset();
        EXPECT_EQ(script.factoryDeaths, order == NodesFirst ? 0u : order == FactoryFirst ? 2u : 1u);
        if (second) {
            EXPECT_EQ(second->GetType(), nullptr);
            EXPECT_EQ(second->GetTypeName(), "Ring Bell");
            second->Execute();  // still runs without its factory
            EXPECT_EQ(script.log.back(), "action Ring Bell");
        }
    }
}

// A copy is made by the source's factory, or by whichever factory serves its type now; it
// has the source's slot state and is listed with the factory that made it.
TEST_F(CoreFactory, CloneFindsAFactoryByTypeOnceTheOriginalDied) {
    auto original = std::make_unique<ScriptedActionFactory>("Open Gate", script);
    std::unique_ptr<Core::Action> node(Actions().CreateProduct("Open Gate", *owner));
    static_cast<Core::TVariableSlot<Core::TVariable<float>>*>(node->GetVariableSlots()[0])->SetConstValue(4.0f);
    original.reset();
    EXPECT_EQ(Actions().CloneProduct(*node), nullptr);
    EXPECT_EQ(Core::GetErrorLog().size(), 1u);

    ScriptedActionFactory successor("Open Gate", script);
    std::unique_ptr<Core::Action> copy(Actions().CloneProduct(*node));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetType(), &successor);
    EXPECT_EQ(copy->GetOwner(), owner.get());
    ASSERT_EQ(copy->GetVariableSlots().size(), 1u);
    EXPECT_EQ(copy->GetVariableSlots()[0]->GetValueText(), "4");
    EXPECT_EQ(successor.GetProducts().size(), 1u);
}

// An event node asks the managers for its nodes and owns them; a node's owner and scenario
// read null once they are gone.
TEST_F(CoreFactory, EventNodesMakeAndOwnTheirNodes) {
    ScriptedEventFactory events("Mission - Started", script);
    ScriptedActionFactory actions("Open Gate", script);
    Core::EventNode* node = scenario->AddEventNode();
    Core::Event* first = node->SetEvent("Mission - Started");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetOwner(), node);
    EXPECT_EQ(first->GetScenario(), scenario);
    EXPECT_NE(node->SetEvent("Mission - Started"), first);
    EXPECT_EQ(events.GetProducts().size(), 1u);  // the replaced event is gone
    EXPECT_EQ(node->SetEvent("Unknown"), nullptr);
    EXPECT_NE(node->GetEvent(), nullptr);  // a failed replacement keeps the event
    EXPECT_EQ(node->AddCondition("Open Gate"), nullptr);  // an action type is no condition
    ASSERT_NE(node->AddAction("Open Gate"), nullptr);

    std::unique_ptr<Core::Action> loose(Singleton<ActionFactoryManager>::Instance().CreateProduct("Open Gate", *owner));
    owner.reset();
    EXPECT_EQ(loose->GetOwner(), nullptr);
    EXPECT_EQ(loose->GetScenario(), nullptr);
    Manager().DestroyScenario(scenario);
    EXPECT_EQ(actions.GetProducts().size(), 1u);  // only the loose one is left
    EXPECT_TRUE(events.GetProducts().empty());
}

}  // namespace
