#include <memory>
#include <vector>

#include "CoreTestSupport.h"

namespace {

using VelmMathLib::Vec3;
using CoreEditor = CoreTest;

struct RecordingListener : Core::ScenarioEditorListener, Core::ScenarioGraphListener {
    void HandleSelectEntity() override { calls.push_back("pick"); }
    void SelectedEntityVerified(bool accepted) override { calls.push_back(accepted ? "accepted" : "refused"); }
    void OnGraphSized(float width, float height) override {
        calls.push_back("sized " + std::to_string(int(width)) + "x" + std::to_string(int(height)));
    }
    std::vector<std::string> calls;
};

// The GUI counts every initialisation; its root exists and it can be shown only once initialised.
TEST_F(CoreEditor, GuiInitialisation) {
    Core::GUIBase gui("Test/Root");
    EXPECT_EQ(gui.GetRootName(), "");
    gui.Show();
    EXPECT_FALSE(gui.IsVisible());
    EXPECT_FALSE(gui.Initialize(nullptr, "", Core::GUIBase::DefaultFont));
    EXPECT_FALSE(gui.IsInitialized());
    EXPECT_TRUE(gui.Initialize(nullptr, Core::GUIBase::DefaultSkin, Core::GUIBase::DefaultFont));
    EXPECT_EQ(gui.GetInitializeCount(), 2u);
    EXPECT_EQ(gui.GetRootName(), "Test/Root");
    gui.Show();
    EXPECT_TRUE(gui.IsVisible());
    gui.Hide();
    EXPECT_FALSE(gui.IsVisible());
    EXPECT_EQ(Core::GetErrorLog().size(), 2u);

    // Show and Hide are the editor's first two operations after its destructor, reached virtually.
    Core::ScenarioEditor editor;
    Core::GUIBase& base = editor;
    editor.Initialize(nullptr, Core::GUIBase::DefaultSkin, Core::GUIBase::DefaultFont);
    base.Show();
    EXPECT_TRUE(editor.IsVisible());
    base.Hide();
    EXPECT_FALSE(editor.IsVisible());
}

// The pick-an-entity dialogue: only an entity of the edited scenario is accepted.
TEST_F(CoreEditor, PickAnEntityDialogue) {
    Core::ScenarioEditor editor;
    RecordingListener listener;
    Core::Scenario* edited = Manager().CreateScenario();
    Core::Scenario* other = Manager().CreateScenario();
    Core::StaticMeshEntity inside("inside", Vec3(), 1.0f), outside("outside", Vec3(), 1.0f);
    edited->AddEntity(&inside);
    other->AddEntity(&outside);
    editor.SetScenario(edited);

    EXPECT_FALSE(editor.RequestEntitySelection());  // nobody to ask yet
    editor.SetListener(&listener);
    EXPECT_TRUE(editor.RequestEntitySelection());
    EXPECT_TRUE(editor.IsAwaitingEntity());
    EXPECT_FALSE(editor.NotifyEntitySelected(&outside));
    EXPECT_FALSE(editor.NotifyEntitySelected(nullptr));
    EXPECT_TRUE(editor.IsAwaitingEntity());
    EXPECT_TRUE(editor.NotifyEntitySelected(&inside));
    EXPECT_FALSE(editor.IsAwaitingEntity());
    EXPECT_EQ(editor.GetSelectedEntity(), &inside);
    editor.RequestEntitySelection();
    editor.NotifyEntitySelectCanceled();
    EXPECT_FALSE(editor.IsAwaitingEntity());
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"pick", "refused", "refused", "accepted", "pick"}));

    Manager().DestroyScenario(edited);
    EXPECT_EQ(editor.GetScenario(), nullptr);
    EXPECT_FALSE(editor.NotifyEntitySelected(&inside));  // no scenario: nothing is accepted
}

// Editor and graph hold their listeners weakly: a dead listener is simply not called.
TEST_F(CoreEditor, ListenersMayDieWhileRegistered) {
    Core::ScenarioEditor editor;
    Core::ScenarioGraph& graph = editor.GetScenarioGraph();
    auto listener = std::make_unique<RecordingListener>();
    editor.SetListener(listener.get());
    graph.SetListener(listener.get());
    EXPECT_TRUE(graph.Resize(640.0f, 480.0f));
    EXPECT_FALSE(graph.Resize(-1.0f, 480.0f));
    EXPECT_EQ(listener->calls, (std::vector<std::string>{"sized 640x480"}));
    EXPECT_EQ(graph.GetWidth(), 640.0f);

    listener.reset();
    EXPECT_EQ(editor.GetListener(), nullptr);
    EXPECT_EQ(graph.GetListener(), nullptr);
    EXPECT_TRUE(graph.Resize(800.0f, 600.0f));
    EXPECT_FALSE(editor.RequestEntitySelection());
    graph.RenderGraph();
    graph.RenderGraph();
    EXPECT_EQ(graph.GetRenderCount(), 2u);
}

}  // namespace
