#include <gtest/gtest.h>

#include <cstring>

#include "storyloom/scenario_channel/Aco_Storyloom.h"

namespace {

const char kSetCurrentMode[] = "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::SetCurrentMode()";

struct Component : testing::Test {
    void SetUp() override {
        globalEngine.ClearDebugMessages();
        Core::ClearErrorLog();
        Core::CoreEngine::Instance().GetScenarioEditor().SetListener(nullptr);
    }
    const std::vector<std::string>& Debug() { return globalEngine.GetDebugMessages(); }
};

// Counts the table builds while sharing the class's table.
struct CountingStoryloom : Aco_Storyloom {
    static int builds;
    void InitializeModes() override {
        ++builds;
        Aco_Storyloom::InitializeModes();
    }
};
int CountingStoryloom::builds = 0;

TEST_F(Component, ModeTableIsSharedAndRebuiltAfterTheLastChannel) {
    ASSERT_EQ(Aco_Storyloom::GetLiveChannelCount(), 0u) << "a test leaked a channel";
    CountingStoryloom::builds = 0;
    {
        CountingStoryloom first, second;
        EXPECT_EQ(first.GetModeCount(), 0u) << "construction builds nothing";
        first.SetCurrentMode(MODE_Scenario_Create);
        second.SetCurrentMode(MODE_Scenario_Destroy);
        EXPECT_EQ(CountingStoryloom::builds, 1);
        EXPECT_EQ(second.GetModeCount(), 49u);
    }
    CountingStoryloom third;
    EXPECT_EQ(third.GetModeCount(), 0u) << "the last channel emptied the table";
    third.SetCurrentMode(MODE_Scenario_Create);
    EXPECT_EQ(CountingStoryloom::builds, 2);
}

TEST_F(Component, DuplicateModeThrowsAndChangesNothing) {
    Aco_Storyloom ch;
    ch.BuildModesList(false);
    std::vector<std::string> before;
    ch.GetModeNames(before);
    EXPECT_THROW(ch.AddMode(MODE_Scenario_Create, "Again", "Again"), std::invalid_argument);
    std::vector<std::string> after;
    ch.GetModeNames(after);
    EXPECT_EQ(before, after);
    try {
        ch.AddMode(MODE_Scenario_Create, "Again", "Again");
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::AddMode()."
                               "ModeAlreadyExists.Mode[3]");
    }
    EXPECT_THROW(ch.CreateLink(ChannelGuids::Value, "Value", "x", 0, false), std::out_of_range)
        << "no declaration list outside the table build";
}

TEST_F(Component, FirstModeAddedToAnEmptyTableMakesModeZeroCurrent) {
    Aco_Storyloom ch;
    ch.AddMode(MODE_Scenario_Create, "", "");
    EXPECT_EQ(ch.GetCurrentMode(), 0u);
    EXPECT_EQ(ch.GetIndexFromMode(12345), 0u);
    ASSERT_EQ(Debug().size(), 2u);
    EXPECT_EQ(Debug()[0], "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::AddMode().shortName.size()>0");
    ch.ClearModes();
    EXPECT_EQ(ch.GetCurrentMode(), MODE_NONE);
}

TEST_F(Component, UnknownModeIsRefusedBehindThePrefix) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_Scenario_GetEntity);
    globalEngine.ClearDebugMessages();
    ch.SetCurrentMode(31);
    EXPECT_EQ(ch.GetCurrentMode(), MODE_Scenario_GetEntity);
    EXPECT_EQ(ch.GetChildCreationCount(), 3u);
    EXPECT_STREQ(ch.GetChannelName(), "Storyloom_Scenario_GetEntity");
    ASSERT_EQ(Debug().size(), 1u);
    EXPECT_EQ(Debug()[0], std::string("Storyloom_Scenario_GetEntity.CGR[].Channel[Storyloom_Scenario_GetEntity].") +
                              kSetCurrentMode + ".InvalidMode[31]");

    // Without a mode of its own the prefix first reports that, in a buffer of its own.
    Aco_Storyloom fresh;
    globalEngine.ClearDebugMessages();
    fresh.SetCurrentMode(0xFFFFFFFF);
    const std::vector<std::string> expected = {
        "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::GetModeDescription()."
        "ModeNotRecognized.Mode[4294967295]",
        std::string("CGR[].Channel[Storyloom].") + kSetCurrentMode + ".InvalidMode[4294967295]"};
    EXPECT_EQ(Debug(), expected);
}

TEST_F(Component, MessagePrefixWithAndWithoutAGroup) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_Scenario_GetEntity);
    EXPECT_EQ(ch.GetPrefixedMessage(ch.GetChildLinkErrorText(1)),
              "Storyloom_Scenario_GetEntity.CGR[].Channel[Storyloom_Scenario_GetEntity].ChildLinkError[iID]");
    A3d_ChannelGroup level("Level1"), unnamed(nullptr);
    ch.SetChannelGroup(&level);
    EXPECT_EQ(ch.GetPrefixedMessage("m"), "Storyloom_Scenario_GetEntity.CGR[Level1].Channel[Storyloom_Scenario_GetEntity].m");
    ch.SetChannelGroup(&unnamed);
    ch.SetChannelName(nullptr);
    EXPECT_EQ(ch.GetPrefixedMessage(std::string("m")), "Storyloom_Scenario_GetEntity.CGR[null].Channel[null].m");
}

// The links of a mode: a repeatable position is declared -1, the rest at their index.
TEST_F(Component, ModeDeclaresItsLinksOnTheChannel) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_OnConstruct_Action);
    ASSERT_EQ(ch.GetChildCreationCount(), 3u);
    EXPECT_EQ(ch.GetChildCreateType(0)->position, -1);
    EXPECT_EQ(ch.GetChildCreateType(1)->position, 1);
    EXPECT_EQ(ch.GetChildCreateType(2)->position, 2);
    EXPECT_STREQ(ch.GetChildCreateType(2)->linkName, "DisplayText");
    EXPECT_EQ(ch.GetChildCreateType(1)->hostValue, 1);
    EXPECT_STREQ(ch.GetChannelName(), "Storyloom_Action <Rename me please!>");
    ch.SetCurrentModeFromIndex(49);
    EXPECT_EQ(Debug().back(), "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::SetCurrentModeFromIndex()."
                              "orderIndex < _modeOrder.size()");
    ch.SetCurrentModeFromIndex(0);
    EXPECT_EQ(ch.GetCurrentMode(), static_cast<unsigned>(MODE_SphereAreaEntity_GetRadius));
}

std::vector<unsigned char> Save(Aco_Storyloom& ch) {
    A3dFileSaver saver;
    EXPECT_TRUE(ch.SaveChannel(saver));
    return saver.GetBytes();
}

// The byte after the "UACN" tag and its size.
int SavedAutoNameFlag(const std::vector<unsigned char>& bytes) {
    for (size_t i = 0; i + 8 < bytes.size(); ++i)
        if (std::memcmp(&bytes[i], "UACN", 4) == 0) return bytes[i + 8];
    return -1;
}

TEST_F(Component, ConstructAndObjectiveModesKeepTheirGivenNameInTheFile) {
    struct Case {
        unsigned mode;
        bool useAutoName;
        int savedFlag;
        const char* nameAfterLoad;
    } cases[] = {
        {MODE_OnConstruct_Event, true, 0, "Mission - Started"},
        {MODE_VariableSlot_Objective, true, 0, "Mission - Started"},
        {MODE_Scenario_GetEntity, false, 1, "Storyloom_Scenario_GetEntity"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Aco_Storyloom ch;
        ch.SetCurrentMode(c.mode);
        ch.SetChannelName("Mission - Started");
        ch.SetUseAutoChannelName(c.useAutoName);
        std::vector<unsigned char> bytes = Save(ch);
        EXPECT_EQ(SavedAutoNameFlag(bytes), c.savedFlag);
        EXPECT_TRUE(ch.GetUseAutoChannelName()) << "true after every save";

        Aco_Storyloom loaded;
        A3dFileLoader loader(bytes);
        ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
        EXPECT_EQ(loaded.GetCurrentMode(), c.mode);
        EXPECT_STREQ(loaded.GetChannelName(), c.nameAfterLoad);
    }
}

TEST_F(Component, LoadingWithoutModeBlocksOrWithoutApplyingTheMode) {
    Aco_Storyloom source;
    source.SetCurrentMode(MODE_Scenario_Destroy);
    std::vector<unsigned char> bytes = Save(source);

    Aco_Storyloom manual;
    manual.SetCurrentMode(MODE_Scenario_Create);
    manual.SetAutoSetModeOnLoad(false);
    A3dFileLoader loader(bytes);
    ASSERT_TRUE(manual.LoadChannel(loader, nullptr));
    EXPECT_EQ(manual.GetLoadedMode(), static_cast<unsigned>(MODE_Scenario_Destroy));
    EXPECT_EQ(manual.GetCurrentMode(), static_cast<unsigned>(MODE_Scenario_Create));

    A3dFileSaver nameOnly;
    A3d_Channel plain;
    plain.SetChannelName("plain");
    plain.SaveChannel(nameOnly);
    Aco_Storyloom bare;
    bare.SetUseAutoChannelName(false);
    A3dFileLoader bareLoader(nameOnly.GetBytes());
    ASSERT_TRUE(bare.LoadChannel(bareLoader, nullptr));
    EXPECT_EQ(bare.GetCurrentMode(), 0u);
    EXPECT_FALSE(bare.GetUseAutoChannelName());
    EXPECT_STREQ(bare.GetChannelName(), "plain");

    A3dFileLoader empty(std::vector<unsigned char>{});
    EXPECT_FALSE(bare.LoadChannel(empty, nullptr));
}

TEST_F(Component, EditorListenerFollowsTheMode) {
    Core::ScenarioEditor& editor = Core::CoreEngine::Instance().GetScenarioEditor();
    Aco_Storyloom picker, other;
    picker.SetCurrentMode(MODE_ScenarioEditor_HandleSelectEntity);
    EXPECT_EQ(editor.GetListener(), static_cast<Core::ScenarioEditorListener*>(&picker));
    other.SetCurrentMode(MODE_Scenario_Create);
    EXPECT_EQ(editor.GetListener(), static_cast<Core::ScenarioEditorListener*>(&picker))
        << "another channel's mode change leaves the listener alone";
    picker.SetCurrentMode(MODE_Scenario_Create);
    EXPECT_EQ(editor.GetListener(), nullptr);

    picker.SetCurrentMode(MODE_ScenarioEditor_HandleSelectEntity);
    { Aco_Storyloom bystander; }
    EXPECT_NE(editor.GetListener(), nullptr);
    {
        Aco_Storyloom dying;
        dying.SetCurrentMode(MODE_ScenarioEditor_HandleSelectEntity);
    }
    EXPECT_EQ(editor.GetListener(), nullptr) << "destroying the listener leaves none";
}

struct CallCounter : A3d_Channel {
    int calls = 0;
    bool CallChannel() override { return ++calls > 0; }
};

TEST_F(Component, PickCallbacksDriveTheirChildren) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_ScenarioEditor_HandleSelectEntity);
    Aco_FloatChannel needToPick;
    ASSERT_TRUE(ch.LinkChild(0, &needToPick));
    ch.SetFloat(0.0f);
    ch.HandleSelectEntity();
    EXPECT_EQ(needToPick.GetFloat(), 1.0f);
    EXPECT_EQ(ch.GetStoredFloat(), 105.0f) << "no Callback";

    CallCounter callback;
    ASSERT_TRUE(ch.LinkChild(1, &callback));
    for (bool ok : {true, false}) {
        ch.SelectedEntityVerified(ok);
        EXPECT_EQ(needToPick.GetFloat(), ok ? 0.0f : 1.0f);
    }
    EXPECT_EQ(callback.calls, 2);
    EXPECT_TRUE(Core::GetErrorLog().empty());

    ch.SetCurrentMode(MODE_Scenario_Create);  // a callback in another mode is reported and still run
    ch.HandleSelectEntity();
    ASSERT_EQ(Core::GetErrorLog().size(), 1u);
    EXPECT_EQ(Core::GetErrorLog()[0],
              "Aco_Storyloom::HandleSelectEntity().GetCurrentMode() == MODE_ScenarioEditor_HandleSelectEntity");
    EXPECT_EQ(Debug().back(), "InvalidlLinkIndex.Link[1]");
}

TEST_F(Component, GraphSizeWritesOnlyInItsMode) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_ScenarioEditor_OnGraphSized);
    Aco_FloatChannel width, height;
    CallCounter call;
    ASSERT_TRUE(ch.LinkChild(1, &height));
    ch.OnGraphSized(640, 480);
    EXPECT_EQ(height.GetFloat(), 480.0f) << "later steps run after a failed one";
    EXPECT_EQ(ch.GetStoredFloat(), 105.0f) << "width and call missing";
    ch.OnGraphSized(640, 480);
    ASSERT_TRUE(ch.LinkChild(0, &width));
    ASSERT_TRUE(ch.LinkChild(2, &call));
    ch.SetFloat(0.0f);
    ch.OnGraphSized(800, 600);
    EXPECT_EQ(width.GetFloat(), 800.0f);
    EXPECT_EQ(call.calls, 1);

    ch.SetCurrentMode(MODE_Scenario_Create);
    ch.OnGraphSized(1, 1);
    EXPECT_EQ(height.GetFloat(), 600.0f);
}

TEST_F(Component, DependencyInitReachesTheCore) {
    Aco_Storyloom ch;
    A3d_List list;
    Core::CoreEngine& core = Core::CoreEngine::Instance();
    unsigned before = core.GetDependencyInitCount();
    ch.DoDependencyInit(&list);
    EXPECT_EQ(core.GetDependencyInitCount(), before + 1);
    EXPECT_EQ(core.GetLastDependencyChannel(), &ch);
    EXPECT_EQ(core.GetLastDependencyList(), &list);
}

}  // namespace
