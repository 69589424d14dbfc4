// The channel as a component of the host: its shared mode table, mode changes, the report
// prefix, the channel file and the editor's listener role.
#include <cstring>

#include "support/ModeTestSupport.h"

namespace {

const std::string kMultiMode = "MultiModeChannel<class Aco_FloatChannel,class Aco_Storyloom>::";

using Component = ModeTest;

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

// A duplicate id throws and changes nothing; links are declared only while the table is built;
// a first mode added to an empty table becomes current even with an empty short name.
TEST_F(Component, AddingModes) {
    {
        Aco_Storyloom ch;
        ch.BuildModesList(false);
        std::vector<std::string> before, after;
        ch.GetModeNames(before);
        try {
            ch.AddMode(MODE_Scenario_Create, "Again", "Again");
            ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(e.what(), kMultiMode + "AddMode().ModeAlreadyExists.Mode[3]");
        }
        ch.GetModeNames(after);
        EXPECT_EQ(before, after);
        EXPECT_THROW(ch.CreateLink(ChannelGuids::Value, "Value", "x", 0, false), std::out_of_range);
    }
    globalEngine.ClearDebugMessages();
    Aco_Storyloom fresh;  // the last channel took the table with it
    fresh.AddMode(MODE_Scenario_Create, "", "");
    EXPECT_EQ(fresh.GetCurrentMode(), 0u);
    EXPECT_EQ(fresh.GetIndexFromMode(12345), 0u);
    ASSERT_EQ(DebugMessages().size(), 2u);
    EXPECT_EQ(DebugMessages()[0], kMultiMode + "AddMode().shortName.size()>0");
    fresh.ClearModes();
    EXPECT_EQ(fresh.GetCurrentMode(), MODE_NONE);
}

// A refused mode keeps the current one and its links; without a mode of its own the prefix
// first reports that, in a buffer of its own.
TEST_F(Component, UnknownModeIsRefusedBehindThePrefix) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_Scenario_GetEntity);
    globalEngine.ClearDebugMessages();
    ch.SetCurrentMode(31);
    EXPECT_EQ(ch.GetCurrentMode(), MODE_Scenario_GetEntity);
    EXPECT_EQ(ch.GetChildCreationCount(), 3u);
    Aco_CoreRef ref;
    ASSERT_TRUE(ch.LinkChild(0, &ref));
    EXPECT_THAT(DebugMessages(), testing::ElementsAre(EvaluationReport(
                                     "Scenario_GetEntity", kMultiMode + "SetCurrentMode().InvalidMode[31]")));
    Aco_Storyloom fresh;
    globalEngine.ClearDebugMessages();
    fresh.SetCurrentMode(0xFFFFFFFF);
    EXPECT_THAT(
        DebugMessages(),
        testing::ElementsAre(kMultiMode + "GetModeDescription().ModeNotRecognized.Mode[4294967295]",
                             "CGR[].Channel[Storyloom]." + kMultiMode + "SetCurrentMode().InvalidMode[4294967295]"));

    // Display indices: past the end is reported, 0 is the first mode shown.
    ch.SetCurrentModeFromIndex(49);
    EXPECT_EQ(DebugMessages().back(), kMultiMode + "SetCurrentModeFromIndex().orderIndex < _modeOrder.size()");
    ch.SetCurrentModeFromIndex(0);
    EXPECT_EQ(ch.GetCurrentMode(), static_cast<unsigned>(MODE_SphereAreaEntity_GetRadius));
    EXPECT_EQ(ch.GetChild(0), nullptr) << "a mode change drops the old links";
}

// Without a group the prefix is every report's (EveryModeFaultTest's).
TEST_F(Component, MessagePrefixInAGroup) {
    Aco_Storyloom ch;
    ch.SetCurrentMode(MODE_Scenario_GetEntity);
    A3d_ChannelGroup level("Level1"), unnamed(nullptr);
    ch.SetChannelGroup(&level);
    EXPECT_EQ(ch.GetPrefixedMessage("m"),
              "Storyloom_Scenario_GetEntity.CGR[Level1].Channel[Storyloom_Scenario_GetEntity].m");
    ch.SetChannelGroup(&unnamed);
    ch.SetChannelName(nullptr);
    EXPECT_EQ(ch.GetPrefixedMessage(std::string("m")), "Storyloom_Scenario_GetEntity.CGR[null].Channel[null].m");
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
    const struct {
        unsigned mode;
        bool useAutoName;
        int savedFlag;
        const char* nameAfterLoad;
    } cases[] = {
        {MODE_OnConstruct_Event, true, 0, "Mission - Started"},
        {MODE_VariableSlot_Objective, true, 0, "Mission - Started"},
        {MODE_Scenario_GetEntity, false, 1, "Storyloom_Scenario_GetEntity"},
    };
    for (const auto& c : cases) {
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
    editor.SetListener(nullptr);
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
