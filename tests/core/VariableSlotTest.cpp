#include <functional>
#include <memory>

#include "CoreTestSupport.h"

namespace {

using namespace Core;
using VelmMathLib::Vec3;

class CoreVariableSlot : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        scenario = Manager().CreateScenario();
    }
    void TearDown() override {
        EnumVarSupport::Clear();
        StringListVarSupport::Clear();
        CoreTest::TearDown();
    }
    Scenario* scenario = nullptr;
};

// Every kind shows its constant, and a bound variable's value while that lives (the binding is
// weak); a slot takes only variables of its own kind, and a refusal keeps the binding it had.
TEST_F(CoreVariableSlot, ValueTextAndBindingOfEveryKind) {
    EnumVarSupport::RegisterType("Weather", {"Sun", "Rain"});
    StringListVarSupport::RegisterSupportedListVar("Colour", {"red", "green"});
    StaticMeshEntity gate("Gate", Vec3(), 1.0f);
    struct Case {
        std::function<VariableSlotBase*()> makeSlot;  // with its constant set
        std::function<VariableBase*()> makeVariable;  // of the slot's kind, with a value
        std::string constantText, variableText;
    };
    const Case cases[] = {
        {[] { auto* s = new TVariableSlot<TVariable<float>>("f"); s->SetConstValue(2.5f); return s; },
         [] { return new TVariable<float>("v", -1.0f); }, "2.5", "-1"},
        {[] { auto* s = new TVariableSlot<TVariable<Vec3>>("v"); s->SetConstValue(Vec3(1, 2, 3)); return s; },
         [] { return new TVariable<Vec3>("v", Vec3(0, 0.5f, 0)); }, "1 2 3", "0 0.5 0"},
        {[] { auto* s = new TVariableSlot<StringVar>("s"); s->SetConstValue("the gate"); return s; },
         [] { return new StringVar("v", "a key"); }, "the gate", "a key"},
        {[] { auto* s = new TVariableSlot<ObjectiveVar>("o"); s->SetConstValue({"Find", "Find it"}); return s; },
         [] { return new ObjectiveVar("v", Objective{"Flee", "Run"}); }, "Find", "Flee"},
        {[&] { auto* s = new EntityVarSlot(*scenario, "e"); s->SetConstValue(&gate); return s; },
         [&] { return new EntityVar("v", *scenario); }, "Gate", ""},
        {[] { return new EnumVarSlot("w", "Weather"); }, [] { return new EnumVar("v", EnumValue{"Colour", 1}); }, "Sun", "green"},
        {[] { auto* s = new EnumVarSlot("x", "Unknown"); s->SetConstValue({"Unknown", 7}); return s; },
         [] { return new EnumVar("v", EnumValue{"Weather", 9}); }, "7", "9"},
    };
    TVariable<std::string> plainText("P");  // a text variable that is not a StringVar
    for (const Case& c : cases) {
        std::unique_ptr<VariableSlotBase> slot(c.makeSlot());
        SCOPED_TRACE(slot->GetName());
        EXPECT_EQ(slot->GetValueText(), c.constantText);
        auto variable = std::unique_ptr<VariableBase>(c.makeVariable());
        ASSERT_TRUE(slot->Bind(variable.get()));
        EXPECT_FALSE(slot->Bind(&plainText));
        EXPECT_TRUE(slot->GetVariable() == variable.get() && slot->GetValueText() == c.variableText);
        variable.reset();
        EXPECT_TRUE(slot->GetVariable() == nullptr && slot->GetValueText() == c.constantText);
    }
    EXPECT_EQ(Core::GetErrorLog().size(), std::size(cases));
}

// Select-only and insert-only exclude each other; a copy of slot state carries name, flags,
// constant and binding, between slots of one class only.
TEST_F(CoreVariableSlot, FlagsCopyStateAndSlotClasses) {
    EntityVarSlot source(*scenario, "Target");
    const bool steps[][4] = {{true, true, true, false}, {false, true, false, true}, {true, true, true, false},
                             {true, false, false, false}, {false, false, false, false}};  // select?, value, select, insert
    for (const auto& step : steps) {
        step[0] ? source.SetIsSelectOnly(step[1]) : source.SetIsInsertOnly(step[1]);
        EXPECT_TRUE(source.GetIsSelectOnly() == step[2] && source.GetIsInsertOnly() == step[3]);
    }
    StaticMeshEntity gate("Gate", Vec3(), 1.0f);
    EntityVar bound("Bound", *scenario);
    source.SetConstValue(&gate);
    source.SetIsSelectOnly(true);
    source.Bind(&bound);
    EntityVarSlot copy(*scenario, "other");
    TVariableSlot<StringVar> text("t");
    ASSERT_TRUE(copy.CopyStateFrom(source));
    EXPECT_TRUE(copy.GetName() == "Target" && copy.GetIsSelectOnly() && copy.GetVariable() == &bound);
    EXPECT_EQ(copy.GetConstVariable().GetValue(), &gate);
    EXPECT_FALSE(text.CopyStateFrom(source) || copy.CopyStateFrom(text));
    EXPECT_TRUE(source.IsOfType(typeid(EntityVarSlot)) && source.IsOfType(typeid(TVariableSlot<EntityVar>)));
    EXPECT_FALSE(source.IsOfType(typeid(EnumVarSlot)) || text.IsOfType(typeid(TVariableSlot<ObjectiveVar>)));
}

// Slot sets own their slots and scenarios their variables: a refused twin is deleted, since
// the scenario took it over with the call. An enumeration type needs a name. (The text list
// registry is with the editor's string-select mode.)
TEST_F(CoreVariableSlot, SlotSetsVariablesAndRegistries) {
    VariableSlotSet set;
    auto* slot = new TVariableSlot<TVariable<float>>("a");
    EXPECT_TRUE(set.AddVariableSlot(slot) && set.AddVariableSlot(new EnumVarSlot("b", "Weather")));
    EXPECT_FALSE(set.AddVariableSlot(slot) || set.AddVariableSlot(nullptr));
    ASSERT_EQ(set.GetVariableSlots().size(), 2u);
    EXPECT_EQ(set.GetVariableSlots()[1]->GetName(), "b");
    auto* speed = new TVariable<float>("Speed");
    EXPECT_TRUE(scenario->AddVariable(speed));
    WeakRef<TVariable<float>> twin(new TVariable<float>("Speed"));
    EXPECT_FALSE(scenario->AddVariable(twin.Get()) || scenario->AddVariable(nullptr));
    EXPECT_EQ(twin.Get(), nullptr) << "the refused variable leaks";
    EXPECT_TRUE(scenario->FindVariable("Speed") == speed && scenario->FindVariable("speed") == nullptr);
    EXPECT_FALSE(EnumVarSupport::RegisterType("", {"x"}));
    EXPECT_EQ(Core::GetErrorLog().size(), 5u);
}

}  // namespace
