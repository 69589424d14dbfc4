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

// Every kind shows its constant, and a bound variable's value while that lives.
TEST_F(CoreVariableSlot, ValueTextOfEveryKind) {
    EnumVarSupport::RegisterType("Weather", {"Sun", "Rain"});
    StringListVarSupport::RegisterSupportedListVar("Colour", {"red", "green"});
    StaticMeshEntity gate("Gate", Vec3(), 1.0f);

    struct Case {
        std::function<VariableSlotBase*()> makeSlot;    // with its constant set
        std::function<VariableBase*()> makeVariable;    // of the slot's kind, with a value
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
        {[] { return new EnumVarSlot("w", "Weather"); }, [] { return new EnumVar("v", EnumValue{"Colour", 1}); },
         "Sun", "green"},
        {[] { auto* s = new EnumVarSlot("x", "Unknown"); s->SetConstValue({"Unknown", 7}); return s; },
         [] { return new EnumVar("v", EnumValue{"Weather", 9}); }, "7", "9"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<VariableSlotBase> slot(c.makeSlot());
        SCOPED_TRACE(slot->GetName());
        EXPECT_EQ(slot->GetValueText(), c.constantText);
        auto variable = std::unique_ptr<VariableBase>(c.makeVariable());
        ASSERT_TRUE(slot->Bind(variable.get()));
        EXPECT_EQ(slot->GetValueText(), c.variableText);
        variable.reset();  // the binding is weak: back to the constant
        EXPECT_EQ(slot->GetVariable(), nullptr);
        EXPECT_EQ(slot->GetValueText(), c.constantText);
    }
}

// A slot takes only variables of its own kind; a refusal keeps the binding it had.
TEST_F(CoreVariableSlot, BindingIsTypedAndWeak) {
    TVariableSlot<TVariable<float>> slot("Speed");
    slot.SetConstValue(1.0f);
    TVariable<float> speed("Speed", 7.0f);
    StringVar text("Text");
    ASSERT_TRUE(slot.Bind(&speed));
    EXPECT_EQ(slot.GetValue(), 7.0f);
    EXPECT_FALSE(slot.Bind(&text));
    EXPECT_EQ(slot.GetVariable(), &speed);
    EXPECT_EQ(Core::GetErrorLog().size(), 1u);
    speed.SetValue(8.0f);
    EXPECT_EQ(slot.GetValue(), 8.0f);
    EXPECT_TRUE(slot.Bind(nullptr));
    EXPECT_EQ(slot.GetValue(), 1.0f);

    TVariableSlot<StringVar> textSlot("T");
    TVariable<std::string> plainText("P");
    EXPECT_FALSE(textSlot.Bind(&plainText));  // a text variable that is not a StringVar
}

TEST_F(CoreVariableSlot, SelectOnlyAndInsertOnlyExcludeEachOther) {
    struct Step {
        bool select;  // else insert
        bool value;
        bool selectAfter, insertAfter;
    };
    const Step steps[] = {
        {true, true, true, false}, {false, true, false, true}, {true, true, true, false},
        {true, false, false, false}, {false, false, false, false},
    };
    TVariableSlot<StringVar> slot("s");
    for (const Step& s : steps) {
        s.select ? slot.SetIsSelectOnly(s.value) : slot.SetIsInsertOnly(s.value);
        EXPECT_EQ(slot.GetIsSelectOnly(), s.selectAfter);
        EXPECT_EQ(slot.GetIsInsertOnly(), s.insertAfter);
    }
}

// A copy of slot state carries name, flags, constant and binding, between slots of one class only.
TEST_F(CoreVariableSlot, CopyStateAndSlotClasses) {
    EntityVarSlot source(*scenario, "Target");
    StaticMeshEntity gate("Gate", Vec3(), 1.0f);
    EntityVar bound("Bound", *scenario);
    source.SetConstValue(&gate);
    source.SetIsSelectOnly(true);
    source.Bind(&bound);

    EntityVarSlot copy(*scenario, "other");
    ASSERT_TRUE(copy.CopyStateFrom(source));
    EXPECT_EQ(copy.GetName(), "Target");
    EXPECT_TRUE(copy.GetIsSelectOnly());
    EXPECT_EQ(copy.GetVariable(), &bound);
    EXPECT_EQ(copy.GetConstVariable().GetValue(), &gate);
    TVariableSlot<StringVar> text("t");
    EXPECT_FALSE(text.CopyStateFrom(source));
    EXPECT_FALSE(copy.CopyStateFrom(text));

    EXPECT_TRUE(source.IsOfType(typeid(EntityVarSlot)));
    EXPECT_TRUE(source.IsOfType(typeid(TVariableSlot<EntityVar>)));
    EXPECT_FALSE(source.IsOfType(typeid(EnumVarSlot)));
    EXPECT_TRUE(text.IsOfType(typeid(TVariableSlot<StringVar>)));
    EXPECT_FALSE(text.IsOfType(typeid(TVariableSlot<ObjectiveVar>)));
}

TEST_F(CoreVariableSlot, SlotSetsOwnTheirSlotsAndScenariosTheirVariables) {
    VariableSlotSet set;
    auto* slot = new TVariableSlot<TVariable<float>>("a");
    EXPECT_TRUE(set.AddVariableSlot(slot));
    EXPECT_TRUE(set.AddVariableSlot(new EnumVarSlot("b", "Weather")));
    EXPECT_FALSE(set.AddVariableSlot(slot));
    EXPECT_FALSE(set.AddVariableSlot(nullptr));
    ASSERT_EQ(set.GetVariableSlots().size(), 2u);
    EXPECT_EQ(set.GetVariableSlots()[1]->GetName(), "b");

    auto* speed = new TVariable<float>("Speed");
    EXPECT_TRUE(scenario->AddVariable(speed));
    // A refused twin is deleted: the scenario took it over with the call.
    WeakRef<TVariable<float>> twin(new TVariable<float>("Speed"));
    EXPECT_FALSE(scenario->AddVariable(twin.Get()));
    EXPECT_EQ(twin.Get(), nullptr) << "the refused variable leaks";
    EXPECT_FALSE(scenario->AddVariable(nullptr));
    EXPECT_EQ(scenario->FindVariable("Speed"), speed);
    EXPECT_EQ(scenario->FindVariable("speed"), nullptr);
    EXPECT_EQ(Core::GetErrorLog().size(), 4u);

    EXPECT_FALSE(EnumVarSupport::RegisterType("", {"x"}));
    EXPECT_FALSE(StringListVarSupport::IsTypeSupported("Empty"));
    StringListVarSupport::RegisterSupportedListVar("Empty", {});
    EXPECT_TRUE(StringListVarSupport::IsTypeSupported("Empty"));
    StringListVarSupport::RegisterSupportedListVar("Empty", {"a", "b", ""});
    EXPECT_EQ(StringListVarSupport::GetList("Empty"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_TRUE(StringListVarSupport::GetList("Missing").empty());
}

}  // namespace
