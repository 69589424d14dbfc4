// The editor modes, and the editor's calls back into the channels that registered for them.
#include <cmath>
#include <optional>

#include "support/ModeTestSupport.h"

namespace {

// A child the callbacks call.
struct CallCounter : A3d_Channel {
    int calls = 0;
    bool CallChannel() override { return ++calls > 0; }
};

// The editor, its graph and the registries are process-wide: every test starts from a
// known editor.
class EditorModes : public ModeTest {
protected:
    void SetUp() override {
        ModeTest::SetUp();
        editor.SetListener(nullptr);
        graph.SetListener(nullptr);
        editor.SetScenario(nullptr);
        editor.SetTesting(false, "");
        editor.NotifyEntitySelectCanceled();
        editor.Hide();
    }
    Core::ScenarioEditor& editor = Core::CoreEngine::Instance().GetScenarioEditor();
    Core::ScenarioGraph& graph = editor.GetScenarioGraph();
};

// The first mode that reaches the editor builds its GUI (no window, default skin and font);
// no later evaluation builds it again. The modes without links always succeed. (The root's
// name is examples/editor_road.json's.)
TEST_F(EditorModes, ShowHideAndRender) {
    const unsigned initialised = editor.GetInitializeCount() + (editor.IsInitialized() ? 0 : 1);
    const unsigned renders = graph.GetRenderCount();
    EXPECT_EQ(Mode(MODE_ScenarioEditor_Show).GetFloat(), 0.0f);
    EXPECT_TRUE(editor.IsVisible());
    EXPECT_EQ(Mode(MODE_ScenarioEditor_Hide).GetFloat(), 0.0f);
    EXPECT_FALSE(editor.IsVisible());
    EXPECT_EQ(Mode(MODE_ScenarioEditor_RenderGraph).GetFloat(), 0.0f);
    EXPECT_EQ(graph.GetRenderCount(), renders + 1);

    EXPECT_EQ(editor.GetInitializeCount(), initialised);
    EXPECT_EQ(editor.GetParentWindow(), nullptr);
    EXPECT_EQ(editor.GetSkin(), Core::GUIBase::DefaultSkin);
    EXPECT_EQ(editor.GetFont(), Core::GUIBase::DefaultFont);
}

// Any "bTesting" but 0.0 means testing; an unreadable "Message [\"\"]" is the empty text;
// without "bTesting" the editor is not called.
TEST_F(EditorModes, SetTesting) {
    const struct {
        std::optional<float> testing;  // none: nothing linked
        const char* message;           // null: nothing linked; "<none>": a channel holding no text
        bool flag;
        const char* expected;
    } cases[] = {
        {0.0f, nullptr, false, ""},  {0.5f, nullptr, true, ""},       {std::nanf(""), nullptr, true, ""},
        {0.0f, "<none>", false, ""}, {-2.0f, "Ready", true, "Ready"}, {std::nullopt, "Ready", true, "before"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.testing.value_or(-99.0f) << " " << (c.message ? c.message : "-"));
        editor.SetTesting(true, "before");
        Aco_StringChannel& message =
            Text("Message", c.message && std::string(c.message) != "<none>" ? c.message : nullptr);
        Aco_Storyloom& channel =
            Mode(MODE_ScenarioEditor_SetTesting,
                 {c.testing ? &Value("bTesting", *c.testing) : nullptr, c.message ? &message : nullptr});
        EXPECT_EQ(channel.GetFloat(), c.testing ? 0.0f : 105.0f);
        EXPECT_EQ(editor.IsTesting(), c.flag);
        EXPECT_EQ(editor.GetTestingMessage(), c.expected);
    }
    ExpectLog({EvaluationReport("ScenarioEditor_SetTesting", "ChildLinkError[bTesting]")});
}

// The pick-an-entity dialogue, run by channels: the editor asks, a channel names the entity,
// the editor's verdict comes back through the listener channel. (Which verdict "bNeedToPickEntity"
// then holds is examples/editor_road.json's; the listener's registration is ComponentTest's.)
TEST_F(EditorModes, PickEntityDialogue) {
    Core::Scenario *edited = Manager().CreateScenario(), *other = Manager().CreateScenario();
    Core::StaticMeshEntity chosen("chosen", {1.0f, 0.0f, 0.0f}, 1.0f), stranger("stranger", {2.0f, 0.0f, 0.0f}, 1.0f);
    edited->AddEntity(&chosen);
    other->AddEntity(&stranger);
    ASSERT_EQ(Mode(MODE_ScenarioEditor_SetScenario, {&Ref("edited", edited)}).GetFloat(), 0.0f);
    ASSERT_EQ(editor.GetScenario(), edited);

    Aco_FloatChannel& needToPick = Value("bNeedToPickEntity", 7.0f);
    CallCounter& callback = Make<CallCounter>();
    Aco_Storyloom& listener = Mode(MODE_ScenarioEditor_HandleSelectEntity, {&needToPick, &callback});
    EXPECT_EQ(listener.GetFloat(), 0.0f);
    EXPECT_EQ(StoredValue(needToPick), 7.0f);  // evaluation writes nothing
    EXPECT_EQ(callback.calls, 0);

    ASSERT_TRUE(editor.RequestEntitySelection());
    EXPECT_EQ(StoredValue(needToPick), 1.0f);
    EXPECT_EQ(callback.calls, 1);

    Aco_CoreRef& picked = Ref("picked", &stranger);
    Aco_Storyloom& notify = Mode(MODE_ScenarioEditor_NotifyEntitySelected, {&picked});
    EXPECT_EQ(notify.GetFloat(), 0.0f);  // refused: not in the edited scenario
    EXPECT_EQ(callback.calls, 2);
    picked.SetRef(&chosen);
    EXPECT_EQ(notify.GetFloat(), 0.0f);
    EXPECT_EQ(callback.calls, 3);
    EXPECT_EQ(editor.GetSelectedEntity(), &chosen);

    ASSERT_TRUE(editor.RequestEntitySelection());
    EXPECT_EQ(Mode(MODE_ScenarioEditor_NotifyEntitySelectCanceled).GetFloat(), 0.0f);
    EXPECT_FALSE(editor.IsAwaitingEntity());

    // Without "Callback" the request marks the channel with 105.0, without a report; in another
    // mode the request is reported and still answered.
    listener.UnlinkChild(1);
    listener.SetFloat(0.0f);
    listener.HandleSelectEntity();
    EXPECT_EQ(StoredValue(listener), 105.0f);
    listener.SetCurrentMode(MODE_Scenario_Create);
    listener.HandleSelectEntity();
    ExpectLog({"Aco_Storyloom::HandleSelectEntity().GetCurrentMode() == MODE_ScenarioEditor_HandleSelectEntity"});
    EXPECT_EQ(DebugMessages().back(), "InvalidlLinkIndex.Link[1]");
}

// Once registered, the channel receives graph sizes while it stays in its mode: each step
// runs after a failed one, and a missing link marks the channel with 105.0. After a mode
// change the graph may still call it, but nothing is written or called.
TEST_F(EditorModes, GraphSizeRoad) {
    Aco_FloatChannel &width = Value("fWidth", 7.0f), &height = Value("fHeight", 7.0f);
    CallCounter& call = Make<CallCounter>();
    Aco_Storyloom& sized = Mode(MODE_ScenarioEditor_OnGraphSized, {nullptr, &height});
    EXPECT_EQ(sized.GetFloat(), 0.0f);
    EXPECT_EQ(graph.GetListener(), static_cast<Core::ScenarioGraphListener*>(&sized));
    EXPECT_EQ(StoredValue(height), 7.0f);
    ASSERT_TRUE(graph.Resize(640.0f, 480.0f));
    EXPECT_EQ(StoredValue(height), 480.0f);
    EXPECT_EQ(StoredValue(sized), 105.0f);

    Link(sized, 0, width);
    Link(sized, 2, call);
    sized.SetFloat(0.0f);
    ASSERT_TRUE(graph.Resize(800.0f, 600.0f));
    EXPECT_EQ(StoredValue(width), 800.0f);
    EXPECT_EQ(StoredValue(height), 600.0f);
    EXPECT_EQ(call.calls, 1);
    EXPECT_EQ(StoredValue(sized), 0.0f);

    // The new mode has a value link and a callable link at the same positions.
    sized.SetCurrentMode(MODE_ScenarioEditor_HandleSelectEntity);
    Link(sized, 0, width);
    Link(sized, 1, call);
    ASSERT_TRUE(graph.Resize(1.0f, 1.0f));
    EXPECT_EQ(StoredValue(width), 800.0f);
    EXPECT_EQ(call.calls, 1);
}

// Options register in link order, a channel holding no text as the empty text; every
// evaluation registers the list linked at that moment.
TEST_F(EditorModes, StringSelectVarTypeRegistersOptions) {
    const struct {
        const char* typeName;  // null: the channel holds no text
        std::vector<const char*> options;
        std::vector<std::string> expected;
    } cases[] = {
        {"Fruit", {"a", "b", ""}, {"a", "b", ""}},
        {"Fruit", {"x"}, {"x"}},
        {"Plain", {}, {}},
        {nullptr, {nullptr}, {""}},
    };
    Core::StringListVarSupport::Clear();
    for (const auto& c : cases) {
        Aco_Storyloom& channel = Mode(MODE_StringSelectVarType_Add, {&Text("VariableTypeName", c.typeName)});
        for (const char* option : c.options) Link(channel, 1, Text("StringValueOption", option));
        const std::string type = c.typeName ? c.typeName : "";
        EXPECT_EQ(channel.GetFloat(), 0.0f) << type;
        EXPECT_TRUE(Core::StringListVarSupport::IsTypeSupported(type)) << type;
        EXPECT_EQ(Core::StringListVarSupport::GetList(type), c.expected) << type;
    }
    Core::StringListVarSupport::Clear();
}

// All four messages are emptied first; a link that cannot be read leaves its message and the
// ones after it empty, the ones before it set.
TEST_F(EditorModes, SetTranslatedMessages) {
    std::string* const messages[] = {
        &Core::UberIsEntityInAreaSpeedTime::MessageWaitTime,
        &Core::UberIsEntityInAreaSpeedTime::MessageAdjustSpeed,
        &Core::UberIsEntityInAreaSpeedTime::MessageLeftArea,
        &Core::StartDisplayTimerAction::MessageTimeLeft,
    };
    for (unsigned missing : {4u, 2u}) {
        for (std::string* message : messages) *message = "stale";
        Aco_Storyloom& channel = Mode(MODE_SetTranslatedMessages);
        const char* texts[] = {"Wait", "Adjust", "Left", "Time"};
        for (unsigned i = 0; i < 4; ++i)
            if (i != missing) Link(channel, i, Text("message", texts[i]));
        EXPECT_EQ(channel.GetFloat(), missing < 4 ? 105.0f : 0.0f);
        for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(*messages[i], i < missing ? texts[i] : "") << "message " << i;
    }
    ExpectLog({EvaluationReport("SetTranslatedMessages", "ChildLinkError[Left area message]")});
    for (std::string* message : messages) message->clear();
}

}  // namespace
