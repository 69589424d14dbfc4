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
// from stays as it was. (Export, destroy, recreate and import is the state modes' road.) A
// text cut short anywhere before its end record is rejected; one that holds the end record (a
// wrapped text missing only its closing tag) still carries the whole state.
TEST_F(CoreState, RoundTripForEveryFlagAndEveryTruncatedPrefix) {
    for (int flag = 0; flag <= 4; ++flag) {
        SCOPED_TRACE(flag);
        const std::string text = Export(*source, State(flag));
        EXPECT_EQ(text.find("<ScenarioState>") != std::string::npos, flag <= 1);
        const size_t endRecord = text.find("</StateEnd>") + std::string("</StateEnd>").size();
        Scenario* target = Manager().CreateScenario();
        for (size_t length = (flag % 4 ? text.size() : 0); length <= text.size(); ++length) {
            std::string prefix = text.substr(0, length);
            const int result = target->ImportState(State(flag), prefix);
            ASSERT_EQ(result == 0, length >= endRecord) << length;
            EXPECT_EQ(prefix, text.substr(0, length));
            if (result != 0) {
                EXPECT_EQ(target->GetEntitiesCount(), 0u) << length;  // nothing of a rejected prefix stays
                continue;
            }
            // The export matching shows clock, pause and variables; these are what it cannot show.
            EXPECT_TRUE(Export(*target, State(flag)) == text && target->GetEntitiesCount() == 3u);
            EXPECT_TRUE(target->GetEntity(0) == entities[1].get() && target->GetEntity(9) == entities[2].get());
            EXPECT_EQ(static_cast<StringVar*>(target->FindVariable("Line\nbreak"))->GetValue(), "a <b>\tc");
            Manager().DestroyScenario(target);
            target = Manager().CreateScenario();
        }
    }
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
    EXPECT_TRUE(target->FindVariable("Speed") == speed && slot.GetValue() == 2.5f);
    EXPECT_TRUE(dynamic_cast<EntityVar*>(target->FindVariable("Goal")) && !target->FindVariable("Extra"));
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
    const std::pair<const char*, const char*> edits[] = {
        {"<StateFormat>1<", "<StateFormat>2<"}, {"<PlayTime>12.25<", "<PlayTime>soon<"}, {"<PlayTime>12.25<", "<PlayTime>-1<"},
        {"<Paused>true<", "<Paused>yes<"}, {"<Entity>4 crate<", "<Entity>4 nobody-alive<"},
        {"<Entity>4 crate<", "<Entity>0 crate<"},  // id given twice
        {"<Entity>4 crate<", "<Entity>x crate<"}, {"<Entity>4 crate<", "<Entity>4294967295 crate<"},
        {"<Variable>float Speed 2.5<", "<Variable>double Speed 2.5<"}, {"<Variable>float Speed 2.5<", "<Variable>float Speed fast<"},
        {"<Variable>float Speed 2.5<", "<Variable>float Task 2.5<"},  // name given twice
        {"<Variable>float Speed 2.5<", "<Variable>float Speed<"}, {"<Variable>float Speed 2.5<", "<Variable>float Speed 2.5%<"},
        {"<StateEnd>", "<Mystery>x</Mystery><StateEnd>"}, {"<StateEnd>10<", "<StateEnd>9<"},
    };
    std::vector<std::string> damaged = {"", "hello", "\t<Language>\n\t\t<ID>1</ID>\n\t</Language>\n", good + good};
    for (auto [from, to] : edits) damaged.push_back(replaced(from, to));
    const std::string before = Export(*source);
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        ClearErrorLog();
        std::string copy = text;
        EXPECT_NE(source->ImportState(State(4), copy), 0);
        ASSERT_EQ(GetErrorLog().size(), 1u);
        EXPECT_TRUE(GetErrorLog()[0].find("rejected") != std::string::npos && Export(*source) == before);
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
        EXPECT_TRUE(target->GetEntitiesCount() == 2u && target->GetEntity(3) == c.at3 && target->GetEntity(5) == c.at5);
        EXPECT_TRUE(target->GetFirstEntity() == c.at3 && target->GetNextEntity(c.at3) == c.at5);
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
    EXPECT_TRUE(source->GetDictionaryMessages()[0].find("gate") != std::string::npos && GetErrorLog().empty());
    EXPECT_NE(&Manager().CreateScenario()->GetLanguageDictionary(), &dictionary);
}

}  // namespace
