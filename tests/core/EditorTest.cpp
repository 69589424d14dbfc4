#include <memory>
#include <vector>

#include "CoreTestSupport.h"

namespace {

using CoreEditor = CoreTest;

struct RecordingListener : Core::ScenarioEditorListener, Core::ScenarioGraphListener {
    void HandleSelectEntity() override { calls.push_back("pick"); }
    void SelectedEntityVerified(bool accepted) override { calls.push_back(accepted ? "accepted" : "refused"); }
    void OnGraphSized(float width, float height) override { calls.push_back(std::to_string(int(width * height))); }
    std::vector<std::string> calls;
};

// A GUI is shown only once initialised, which takes a skin; Show and Hide are the editor's first
// two operations after its destructor, reached virtually. (The editor modes run the dialogue.)
TEST_F(CoreEditor, GuiInitialisationAndShowing) {
    Core::GUIBase gui("Test/Root");
    gui.Show();
    EXPECT_FALSE(gui.IsVisible() || gui.Initialize(nullptr, "", Core::GUIBase::DefaultFont) || gui.IsInitialized());
    EXPECT_TRUE(gui.Initialize(nullptr, Core::GUIBase::DefaultSkin, Core::GUIBase::DefaultFont));
    EXPECT_TRUE(gui.GetInitializeCount() == 2u && gui.GetRootName() == "Test/Root");
    EXPECT_EQ(Core::GetErrorLog().size(), 2u);
    Core::ScenarioEditor editor;
    Core::GUIBase& base = editor;
    editor.Initialize(nullptr, Core::GUIBase::DefaultSkin, Core::GUIBase::DefaultFont);
    base.Show();
    EXPECT_TRUE(editor.IsVisible());
    base.Hide();
    EXPECT_FALSE(editor.IsVisible());
}

// Editor and graph hold their listeners weakly: a dead listener is simply not called. Without
// a listener nobody is asked; null and entities of no edited scenario are refused.
TEST_F(CoreEditor, ListenersMayDieWhileRegistered) {
    Core::ScenarioEditor editor;
    Core::ScenarioGraph& graph = editor.GetScenarioGraph();
    Core::StaticMeshEntity entity("e", VelmMathLib::Vec3(), 1.0f);
    auto listener = std::make_unique<RecordingListener>();
    EXPECT_FALSE(editor.RequestEntitySelection());
    editor.SetListener(listener.get());
    graph.SetListener(listener.get());
    EXPECT_TRUE(graph.Resize(640.0f, 480.0f) && !graph.Resize(-1.0f, 480.0f) && graph.GetWidth() == 640.0f);
    EXPECT_TRUE(editor.RequestEntitySelection() && !editor.NotifyEntitySelected(nullptr) && !editor.NotifyEntitySelected(&entity));
    EXPECT_EQ(listener->calls, (std::vector<std::string>{"307200", "pick", "refused", "refused"}));
    listener.reset();
    EXPECT_TRUE(editor.GetListener() == nullptr && graph.GetListener() == nullptr);
    EXPECT_TRUE(graph.Resize(800.0f, 600.0f) && !editor.RequestEntitySelection());
}

}  // namespace
