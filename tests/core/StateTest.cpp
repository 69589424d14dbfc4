#include <memory>

#include "CoreTestSupport.h"

namespace {

using namespace Core;
using State = CustomEnums::SerializerFlag::State;
using VelmMathLib::Vec3;

class CoreState : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        source = Manager().CreateScenario();
        for (const char* name : {"crate", "<odd> \"name\" & 100%", ""})
            entities.push_back(std::make_unique<StaticMeshEntity>(name, Vec3(), 1.0f));
        source->AddEntityAtID(entities[0].get(), 4);
        source->AddEntityAtID(entities[1].get(), 0);
        source->AddEntityAtID(entities[2].get(), 9);
        source->Update(12.25f);
        source->Pause();
        source->AddVariable(new TVariable<float>("Speed", 2.5f));
        source->AddVariable(new TVariable<Vec3>("Spot", Vec3(1, -2, 0.125f)));
        source->AddVariable(new StringVar("Line\nbreak", "a <b>\tc"));
        auto* goal = new EntityVar("Goal", *source);
        goal->SetValue(entities[1].get());
        source->AddVariable(goal);
        source->AddVariable(new EntityVar("Nobody", *source));
        source->AddVariable(new EnumVar("Weather", EnumValue{"Sky type", 3}));
        source->AddVariable(new ObjectiveVar("Task", Objective{"", "Find the key"}));
    }
    static std::string Export(Scenario& scenario, State state = State(4)) {
        std::string text;
        EXPECT_EQ(scenario.ExportState(state, text, 1), 0);
        return text;
    }

    Scenario* source = nullptr;
    std::vector<std::unique_ptr<StaticMeshEntity>> entities;
};

// Whatever the flag, an export imports back into the same state, and the text it is read
// from stays as it was.
TEST_F(CoreState, RoundTripForEveryFlag) {
    for (int flag = 0; flag <= 4; ++flag) {
        SCOPED_TRACE(flag);
        std::string text = Export(*source, State(flag));
        EXPECT_EQ(text.find("<ScenarioState>") != std::string::npos, flag <= 1);
        Scenario* target = Manager().CreateScenario();
        std::string copy = text;
        ASSERT_EQ(target->ImportState(State(flag), copy), 0) << text;
        EXPECT_EQ(copy, text);
        EXPECT_EQ(Export(*target, State(flag)), text);
        EXPECT_EQ(target->GetEntity(0), entities[1].get());
        EXPECT_EQ(target->GetEntity(9), entities[2].get());
        EXPECT_TRUE(target->IsPaused());
        EXPECT_FLOAT_EQ(target->GetPlayTime(), 12.25f);
        auto* goal = dynamic_cast<EntityVar*>(target->FindVariable("Goal"));
        ASSERT_NE(goal, nullptr);
        EXPECT_EQ(goal->GetValue(), entities[1].get());
        EXPECT_EQ(static_cast<StringVar*>(target->FindVariable("Line\nbreak"))->GetValue(), "a <b>\tc");
        Manager().DestroyScenario(target);
    }
    EXPECT_TRUE(GetErrorLog().empty());
}

// The designer's road: export, destroy, recreate, import, and the same entities are found by id.
TEST_F(CoreState, StateSurvivesTheScenario) {
    std::string text = Export(*source);
    Manager().DestroyScenario(source);
    Scenario* again = Manager().CreateScenario();
    ASSERT_EQ(again->ImportState(State(4), text), 0);
    EXPECT_EQ(again->GetEntity(4), entities[0].get());
    EXPECT_EQ(again->GetEntitiesCount(), 3u);
    again->RemoveEntity(entities[0].get());
    EXPECT_EQ(again->AddEntity(entities[0].get()), 1u);  // gaps were collected on import
}

// An import keeps variables of the same name and kind, so slots bound to them stay bound;
// the others are replaced or dropped to match the state.
TEST_F(CoreState, ImportKeepsMatchingVariables) {
    std::string text = Export(*source);
    Scenario* target = Manager().CreateScenario();
    auto* speed = new TVariable<float>("Speed", 9.0f);
    target->AddVariable(speed);
    target->AddVariable(new StringVar("Goal"));  // same name, other kind
    target->AddVariable(new StringVar("Extra"));
    TVariableSlot<TVariable<float>> slot("s");
    slot.Bind(speed);
    ASSERT_EQ(target->ImportState(State(4), text), 0);
    EXPECT_EQ(target->FindVariable("Speed"), speed);
    EXPECT_EQ(slot.GetValue(), 2.5f);
    EXPECT_NE(dynamic_cast<EntityVar*>(target->FindVariable("Goal")), nullptr);
    EXPECT_EQ(target->FindVariable("Extra"), nullptr);
    EXPECT_EQ(target->GetVariables().size(), source->GetVariables().size());
}

// Texts the scenario cannot take whole are reported and change nothing.
TEST_F(CoreState, DamagedTextsAreRejected) {
    const std::string good = Export(*source);
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::string damaged[] = {
        "",
        "hello",
        "\t<Language>\n\t\t<ID>1</ID>\n\t</Language>\n",
        replaced("<StateFormat>1<", "<StateFormat>2<"),
        replaced("<PlayTime>12.25<", "<PlayTime>soon<"),
        replaced("<PlayTime>12.25<", "<PlayTime>-1<"),
        replaced("<Paused>true<", "<Paused>yes<"),
        replaced("<Entity>4 crate<", "<Entity>4 nobody-alive<"),
        replaced("<Entity>4 crate<", "<Entity>0 crate<"),      // id given twice
        replaced("<Entity>4 crate<", "<Entity>x crate<"),
        replaced("<Entity>4 crate<", "<Entity>4294967295 crate<"),
        replaced("<Variable>float Speed 2.5<", "<Variable>double Speed 2.5<"),
        replaced("<Variable>float Speed 2.5<", "<Variable>float Speed fast<"),
        replaced("<Variable>float Speed 2.5<", "<Variable>float Task 2.5<"),  // name given twice
        replaced("<Variable>float Speed 2.5<", "<Variable>float Speed<"),
        replaced("<Variable>float Speed 2.5<", "<Variable>float Speed 2.5%<"),
        replaced("<StateEnd>", "<Mystery>x</Mystery><StateEnd>"),
        replaced("<StateEnd>10<", "<StateEnd>9<"),
        good + good,  // every line twice
    };
    const std::string before = Export(*source);
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        ClearErrorLog();
        std::string copy = text;
        EXPECT_NE(source->ImportState(State(4), copy), 0);
        ASSERT_EQ(GetErrorLog().size(), 1u);
        EXPECT_NE(GetErrorLog()[0].find("rejected"), std::string::npos);
        EXPECT_EQ(Export(*source), before);
    }
}

// A text cut short anywhere before its end record is rejected; one that holds the end record
// (a wrapped text missing only its closing tag) still carries the whole state.
TEST_F(CoreState, EveryTruncatedPrefixIsRejectedOrWhole) {
    for (int flag : {0, 4}) {
        const std::string text = Export(*source, State(flag));
        const size_t endRecord = text.find("</StateEnd>") + std::string("</StateEnd>").size();
        Scenario* target = Manager().CreateScenario();
        for (size_t length = 0; length < text.size(); ++length) {
            SCOPED_TRACE(testing::Message() << "flag " << flag << ", length " << length);
            std::string prefix = text.substr(0, length);
            int result = target->ImportState(State(flag), prefix);
            EXPECT_EQ(result == 0, length >= endRecord);
            EXPECT_EQ(target->GetEntitiesCount(), result == 0 ? 3u : 0u);
            if (result == 0) {
                Manager().DestroyScenario(target);
                target = Manager().CreateScenario();
            }
        }
    }
}

// Records may come in any id order. An entity is taken once: two live entities of one name,
// the older at id 5 here, fill the text's ids 3 and 5 differently depending on which record
// comes first, since the one at its own id is taken first only when nothing took it before.
TEST_F(CoreState, RecordsInAnyOrderTakeEachEntityOnce) {
    StaticMeshEntity older("twin", Vec3(), 1.0f), newer("twin", Vec3(), 1.0f);
    Scenario* writer = Manager().CreateScenario();
    writer->AddEntityAtID(&older, 3);
    writer->AddEntityAtID(&newer, 5);
    const std::string ascending = Export(*writer);
    std::string descending = ascending;
    const std::string first = "<Entity>3 twin</Entity>", second = "<Entity>5 twin</Entity>";
    descending.replace(descending.find(first), first.size(), second);
    descending.replace(descending.rfind(second), second.size(), first);
    ASSERT_NE(descending, ascending);
    struct Case {
        const std::string* text;
        StaticMeshEntity* at3;
        StaticMeshEntity* at5;
    };
    for (const Case& c : {Case{&ascending, &older, &newer}, Case{&descending, &newer, &older}}) {
        Scenario* target = Manager().CreateScenario();
        target->AddEntityAtID(&older, 5);
        target->AddEntityAtID(&newer, 7);
        std::string text = *c.text;
        ASSERT_EQ(target->ImportState(State(4), text), 0);
        EXPECT_EQ(target->GetEntitiesCount(), 2u);
        EXPECT_EQ(target->GetEntity(3), c.at3);
        EXPECT_EQ(target->GetEntity(5), c.at5);
        EXPECT_EQ(target->GetFirstEntity(), c.at3);
        EXPECT_EQ(target->GetNextEntity(c.at3), c.at5);
        EXPECT_EQ(Export(*target), ascending);
    }
    EXPECT_TRUE(GetErrorLog().empty());
}

// The dictionary's messages stay with the scenario instead of the error log.
TEST_F(CoreState, DictionaryOfTheScenario) {
    LanguageDictionary& dictionary = source->GetLanguageDictionary();
    dictionary.AddItem("door", "Tor", "door");
    std::string text = "[[door]] and [[gate]]";
    dictionary.Translate(text);
    EXPECT_EQ(text.substr(0, 8), "Tor and ");
    ASSERT_EQ(source->GetDictionaryMessages().size(), 1u);
    EXPECT_NE(source->GetDictionaryMessages()[0].find("gate"), std::string::npos);
    EXPECT_TRUE(GetErrorLog().empty());
    EXPECT_NE(&Manager().CreateScenario()->GetLanguageDictionary(), &dictionary);
}

}  // namespace
