#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "ModeTestSupport.h"
#include "storyloom/host/EngineHost.h"
#include "storyloom/host/ScenarioCore.h"

namespace {

using Log = std::vector<std::string>;

// The editor, its graph and the registries are process-wide: every test starts from a
// known editor and an empty error log, and destroys the scenarios it made.
class EditorModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor.SetListener(nullptr);
        graph.SetListener(nullptr);
        editor.SetScenario(nullptr);
        editor.SetTesting(false, "");
        editor.NotifyEntitySelectCanceled();
        editor.Hide();
        Core::ClearErrorLog();
    }
    void TearDown() override {
        for (Core::Scenario* scenario : scenarios) manager.DestroyScenario(scenario);
    }
    Core::Scenario* NewScenario() { return scenarios.emplace_back(manager.CreateScenario()); }

    Core::ScenarioEditor& editor = Core::CoreEngine::Instance().GetScenarioEditor();
    Core::ScenarioGraph& graph = editor.GetScenarioGraph();
    Core::ScenarioManager& manager = Core::CoreEngine::Instance().GetScenarioManager();
    std::vector<Core::Scenario*> scenarios;
};

// The first mode that reaches the editor builds its GUI (no window, default skin and font);
// no later evaluation builds it again.
TEST_F(EditorModesTest, GuiInitialisedOnceWithDefaults) {
    const unsigned expected = editor.GetInitializeCount() + (editor.IsInitialized() ? 0 : 1);
    for (unsigned mode : {MODE_ScenarioEditor_Show, MODE_ScenarioEditor_RenderGraph, MODE_ScenarioEditor_GetRoot,
                          MODE_ScenarioEditor_OnGraphSized, MODE_ScenarioEditor_HandleSelectEntity}) {
        Aco_Storyloom channel;
        BuildChannel(channel, mode);
        channel.GetFloat();
        channel.GetFloat();
    }
    EXPECT_EQ(editor.GetInitializeCount(), expected);
    EXPECT_EQ(editor.GetParentWindow(), nullptr);
    EXPECT_EQ(editor.GetSkin(), Core::GUIBase::DefaultSkin);
    EXPECT_EQ(editor.GetFont(), Core::GUIBase::DefaultFont);
}

// The modes without links always succeed.
TEST_F(EditorModesTest, ShowHideAndRenderGraph) {
    Aco_Storyloom show, hide, render;
    BuildChannel(show, MODE_ScenarioEditor_Show);
    BuildChannel(hide, MODE_ScenarioEditor_Hide);
    BuildChannel(render, MODE_ScenarioEditor_RenderGraph);
    const unsigned renders = graph.GetRenderCount();
    EXPECT_EQ(show.GetFloat(), 0.0f);
    EXPECT_TRUE(editor.IsVisible());
    EXPECT_EQ(hide.GetFloat(), 0.0f);
    EXPECT_FALSE(editor.IsVisible());
    EXPECT_EQ(render.GetFloat(), 0.0f);
    EXPECT_EQ(graph.GetRenderCount(), renders + 1);
    EXPECT_EQ(Core::GetErrorLog(), Log{});
}

// The root name is asked of the GUI first; a missing "RootName" fails only afterwards.
TEST_F(EditorModesTest, GetRootStoresTheRootName) {
    Aco_Storyloom channel;
    Aco_StringChannel rootName;
    BuildChannel(channel, MODE_ScenarioEditor_GetRoot, {&rootName});
    EXPECT_EQ(channel.GetFloat(), 0.0f);
    ASSERT_NE(rootName.GetString(), nullptr);
    EXPECT_NE(std::string(rootName.GetString()), "");
    EXPECT_EQ(rootName.GetString(), editor.GetRootName());

    channel.UnlinkChild(0);
    EXPECT_EQ(channel.GetFloat(), 105.0f);
    EXPECT_EQ(Core::GetErrorLog(), Log{EvaluationReport("ScenarioEditor_GetRoot", "ChildLinkError[RootName]")});
}

// Any "bTesting" but 0.0 means testing; an unreadable "Message [\"\"]" is the empty text;
// without "bTesting" the editor is not called.
TEST_F(EditorModesTest, SetTesting) {
    enum class Message { NotLinked, HoldsNoText, HoldsText };
    struct Case {
        const char* what;
        std::optional<float> testing;  // none: nothing linked
        Message message;
        bool expectedFlag;
        std::string expectedMessage;
    };
    const Case cases[] = {
        {"0.0 without message", 0.0f, Message::NotLinked, false, ""},
        {"0.5 is testing", 0.5f, Message::NotLinked, true, ""},
        {"not a number is testing", std::nanf(""), Message::NotLinked, true, ""},
        {"message without text", 0.0f, Message::HoldsNoText, false, ""},
        {"message passed", -2.0f, Message::HoldsText, true, "Ready"},
        {"nothing at bTesting", std::nullopt, Message::HoldsText, true, "before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor.SetTesting(true, "before");
        Core::ClearErrorLog();
        Aco_Storyloom channel;
        Aco_FloatChannel testing;
        Aco_StringChannel message;
        testing.SetFloat(c.testing.value_or(0.0f));
        if (c.message == Message::HoldsText) message.SetString("Ready");
        BuildChannel(channel, MODE_ScenarioEditor_SetTesting,
                     {c.testing ? &testing : nullptr, c.message == Message::NotLinked ? nullptr : &message});

        EXPECT_EQ(channel.GetFloat(), c.testing ? 0.0f : 105.0f);
        EXPECT_EQ(editor.IsTesting(), c.expectedFlag);
        EXPECT_EQ(editor.GetTestingMessage(), c.expectedMessage);
        EXPECT_EQ(Core::GetErrorLog(),
                  c.testing ? Log{} : Log{EvaluationReport("ScenarioEditor_SetTesting", "ChildLinkError[bTesting]")});
    }
}

// A reference that is missing or of the wrong kind stops the mode before the editor: its
// scenario stays, and the pick listener hears no verdict.
TEST_F(EditorModesTest, ReferenceFailuresLeaveTheEditor) {
    struct Case {
        unsigned mode;
        const char* shortName;
        bool linked;
        float status;
        const char* report;
    };
    const Case cases[] = {
        {MODE_ScenarioEditor_SetScenario, "ScenarioEditor_SetScenario", false, 105.0f, "ChildLinkError[CoreScenario]"},
        {MODE_ScenarioEditor_SetScenario, "ScenarioEditor_SetScenario", true, 106.0f, "ChildLinkInvalid[CoreScenario]"},
        {MODE_ScenarioEditor_NotifyEntitySelected, "ScenarioEditor_NotifyEntitySelected", false, 105.0f,
         "ChildLinkError[CoreEntity]"},
        {MODE_ScenarioEditor_NotifyEntitySelected, "ScenarioEditor_NotifyEntitySelected", true, 106.0f,
         "ChildLinkInvalid[CoreEntity]"},
    };
    Core::Scenario* kept = NewScenario();
    Core::StaticMeshEntity entity("crate", {0.0f, 0.0f, 0.0f}, 1.0f);
    kept->AddEntity(&entity);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        editor.SetScenario(kept);
        Aco_Storyloom listener;
        Aco_FloatChannel needToPick;
        needToPick.SetFloat(5.0f);
        BuildChannel(listener, MODE_ScenarioEditor_HandleSelectEntity, {&needToPick});
        Core::ClearErrorLog();

        // The wrong kind: an entity where a scenario belongs, and the other way round.
        Aco_CoreRef ref;
        ref.SetRef(c.mode == MODE_ScenarioEditor_SetScenario ? static_cast<Core::RefSupport*>(&entity) : kept);
        Aco_Storyloom channel;
        BuildChannel(channel, c.mode, {c.linked ? &ref : nullptr});

        EXPECT_EQ(channel.GetFloat(), c.status);
        EXPECT_EQ(editor.GetScenario(), kept);
        EXPECT_EQ(needToPick.GetFloat(), 5.0f);
        EXPECT_EQ(Core::GetErrorLog(), Log{EvaluationReport(c.shortName, c.report)});
    }
}

// The pick-an-entity dialogue, run by channels: the editor asks, a channel names the entity,
// the editor's verdict comes back through the listener channel.
TEST_F(EditorModesTest, PickEntityDialogue) {
    Core::Scenario* edited = NewScenario();
    Core::Scenario* other = NewScenario();
    Core::StaticMeshEntity chosen("chosen", {1.0f, 0.0f, 0.0f}, 1.0f);
    Core::StaticMeshEntity stranger("stranger", {2.0f, 0.0f, 0.0f}, 1.0f);
    edited->AddEntity(&chosen);
    other->AddEntity(&stranger);

    Aco_Storyloom setScenario;
    Aco_CoreRef editedRef;
    editedRef.SetRef(edited);
    BuildChannel(setScenario, MODE_ScenarioEditor_SetScenario, {&editedRef});
    ASSERT_EQ(setScenario.GetFloat(), 0.0f);
    ASSERT_EQ(editor.GetScenario(), edited);

    // The callback draws the graph, so the graph's render count counts its calls.
    Aco_Storyloom listener, callback;
    Aco_FloatChannel needToPick;
    needToPick.SetFloat(7.0f);
    BuildChannel(callback, MODE_ScenarioEditor_RenderGraph);
    BuildChannel(listener, MODE_ScenarioEditor_HandleSelectEntity, {&needToPick, &callback});
    const unsigned calls = graph.GetRenderCount();
    EXPECT_EQ(listener.GetFloat(), 0.0f);
    EXPECT_EQ(editor.GetListener(), static_cast<Core::ScenarioEditorListener*>(&listener));
    EXPECT_EQ(needToPick.GetFloat(), 7.0f);  // evaluation writes nothing
    EXPECT_EQ(graph.GetRenderCount(), calls);

    ASSERT_TRUE(editor.RequestEntitySelection());
    EXPECT_EQ(needToPick.GetFloat(), 1.0f);
    EXPECT_EQ(graph.GetRenderCount(), calls + 1);

    Aco_Storyloom notify;
    Aco_CoreRef pickedRef;
    BuildChannel(notify, MODE_ScenarioEditor_NotifyEntitySelected, {&pickedRef});
    pickedRef.SetRef(&stranger);
    EXPECT_EQ(notify.GetFloat(), 0.0f);
    EXPECT_EQ(needToPick.GetFloat(), 1.0f);  // refused: not in the edited scenario
    EXPECT_EQ(graph.GetRenderCount(), calls + 2);

    pickedRef.SetRef(&chosen);
    EXPECT_EQ(notify.GetFloat(), 0.0f);
    EXPECT_EQ(needToPick.GetFloat(), 0.0f);
    EXPECT_EQ(graph.GetRenderCount(), calls + 3);
    EXPECT_EQ(editor.GetSelectedEntity(), &chosen);

    ASSERT_TRUE(editor.RequestEntitySelection());
    Aco_Storyloom cancel;
    BuildChannel(cancel, MODE_ScenarioEditor_NotifyEntitySelectCanceled);
    EXPECT_EQ(cancel.GetFloat(), 0.0f);
    EXPECT_FALSE(editor.IsAwaitingEntity());
    EXPECT_EQ(Core::GetErrorLog(), Log{});
}

// Once registered, the channel receives graph sizes while it stays in its mode; after a mode
// change the graph may still call it, but nothing is written or called.
TEST_F(EditorModesTest, GraphSizeRoad) {
    Aco_Storyloom sized, callback;
    Aco_FloatChannel width, height;
    width.SetFloat(7.0f);
    height.SetFloat(7.0f);
    BuildChannel(callback, MODE_ScenarioEditor_RenderGraph);
    BuildChannel(sized, MODE_ScenarioEditor_OnGraphSized, {&width, &height, &callback});
    const unsigned calls = graph.GetRenderCount();
    EXPECT_EQ(sized.GetFloat(), 0.0f);
    EXPECT_EQ(graph.GetListener(), static_cast<Core::ScenarioGraphListener*>(&sized));
    EXPECT_EQ(width.GetFloat(), 7.0f);
    EXPECT_EQ(height.GetFloat(), 7.0f);
    EXPECT_EQ(graph.GetRenderCount(), calls);

    ASSERT_TRUE(graph.Resize(640.0f, 480.0f));
    EXPECT_EQ(width.GetFloat(), 640.0f);
    EXPECT_EQ(height.GetFloat(), 480.0f);
    EXPECT_EQ(graph.GetRenderCount(), calls + 1);

    // The new mode has a value link and a callable link at the same positions.
    BuildChannel(sized, MODE_ScenarioEditor_HandleSelectEntity, {&width, &callback});
    ASSERT_TRUE(graph.Resize(800.0f, 600.0f));
    EXPECT_EQ(width.GetFloat(), 640.0f);
    EXPECT_EQ(graph.GetRenderCount(), calls + 1);
    EXPECT_EQ(Core::GetErrorLog(), Log{});
}

// Options register in link order, a channel holding no text as the empty text; every
// evaluation registers the list linked at that moment; without a type name, nothing.
TEST_F(EditorModesTest, StringSelectVarTypeRegistersOptions) {
    struct Case {
        const char* what;
        bool nameLinked;
        const char* typeName;  // null: the channel holds no text
        std::vector<const char*> options;
        std::vector<std::string> expectedList;
    };
    const Case cases[] = {
        {"no type name link", false, "", {"a"}, {}},
        {"options in link order", true, "Fruit", {"a", "b", ""}, {"a", "b", ""}},
        {"registered again", true, "Fruit", {"x"}, {"x"}},
        {"no options", true, "Plain", {}, {}},
        {"no text is the empty text", true, nullptr, {nullptr}, {""}},
    };
    Core::StringListVarSupport::Clear();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Core::ClearErrorLog();
        Aco_Storyloom channel;
        Aco_StringChannel typeName;
        typeName.SetString(c.typeName);
        std::vector<Aco_StringChannel> options(c.options.size());
        BuildChannel(channel, MODE_StringSelectVarType_Add, {c.nameLinked ? &typeName : nullptr});
        for (size_t i = 0; i < options.size(); ++i) {
            options[i].SetString(c.options[i]);
            ASSERT_TRUE(channel.LinkChild(1, &options[i]));
        }
        const std::string type = c.typeName ? c.typeName : "";
        EXPECT_EQ(channel.GetFloat(), c.nameLinked ? 0.0f : 105.0f);
        EXPECT_EQ(Core::StringListVarSupport::IsTypeSupported(type), c.nameLinked);
        EXPECT_EQ(Core::StringListVarSupport::GetList(type), c.expectedList);
        EXPECT_EQ(Core::GetErrorLog(),
                  c.nameLinked ? Log{}
                               : Log{EvaluationReport("StringSelectVarType_Add", "ChildLinkError[VariableTypeName]")});
    }
}

// All four messages are emptied first; a link that cannot be read leaves its message and the
// ones after it empty, the ones before it set.
TEST_F(EditorModesTest, SetTranslatedMessages) {
    enum class Fault { None, NotLinked, HoldsNoText };
    struct Case {
        Fault fault;
        unsigned link;
        std::vector<std::string> expected;
        const char* report;
    };
    const Case cases[] = {
        {Fault::None, 0, {"Wait", "Adjust", "Left", "Time"}, nullptr},
        {Fault::NotLinked, 2, {"Wait", "Adjust", "", ""}, "ChildLinkError[Left area message]"},
        {Fault::HoldsNoText, 0, {"", "", "", ""}, "ChildLinkError[Wait time message]"},
    };
    std::string* const messages[] = {
        &Core::UberIsEntityInAreaSpeedTime::MessageWaitTime,
        &Core::UberIsEntityInAreaSpeedTime::MessageAdjustSpeed,
        &Core::UberIsEntityInAreaSpeedTime::MessageLeftArea,
        &Core::StartDisplayTimerAction::MessageTimeLeft,
    };
    const char* const texts[] = {"Wait", "Adjust", "Left", "Time"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report ? c.report : "all linked");
        for (std::string* message : messages) *message = "stale";
        Core::ClearErrorLog();
        Aco_Storyloom channel;
        Aco_StringChannel links[4];
        BuildChannel(channel, MODE_SetTranslatedMessages);
        for (unsigned i = 0; i < 4; ++i) {
            const bool faulty = c.fault != Fault::None && i == c.link;
            links[i].SetString(faulty && c.fault == Fault::HoldsNoText ? nullptr : texts[i]);
            if (!(faulty && c.fault == Fault::NotLinked)) {
                ASSERT_TRUE(channel.LinkChild(i, &links[i]));
            }
        }
        EXPECT_EQ(channel.GetFloat(), c.report ? 105.0f : 0.0f);
        for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(*messages[i], c.expected[i]) << "message " << i;
        EXPECT_EQ(Core::GetErrorLog(), c.report ? Log{EvaluationReport("SetTranslatedMessages", c.report)} : Log{});
    }
    for (std::string* message : messages) message->clear();
}

}  // namespace
