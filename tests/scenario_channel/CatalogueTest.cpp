#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "host/engine/A3dPluginLoader.h"
#include "scenario_channel/Aco_Storyloom.h"

namespace {

TEST(Catalogue, FortyNineModesWithoutThirtyOne) {
    Aco_Storyloom ch;
    ch.BuildModesList(false);
    EXPECT_EQ(ch.GetModeCount(), 49u);
    for (unsigned id = 0; id <= 50; ++id) EXPECT_EQ(ch.IsModeValid(id), id != 31 && id != 50) << id;
}

TEST(Catalogue, DesignersSeeTheDisplayOrder) {
    Aco_Storyloom ch;
    ch.BuildModesList(false);
    std::vector<std::string> names = {"kept"};
    ch.GetModeNames(names);
    ASSERT_EQ(names.size(), 50u);
    EXPECT_EQ(names[0], "kept");
    const std::vector<std::string> first(names.begin() + 1, names.begin() + 4);
    const std::vector<std::string> last(names.end() - 3, names.end());
    EXPECT_EQ(first, (std::vector<std::string>{"AreaEntity :: Sphere :: GetRadius", "AreaEntity :: Sphere :: SetRadius",
                                               "EventSystem :: FireEvent (TEMP: Only MissionStarted)"}));
    EXPECT_EQ(last, (std::vector<std::string>{"VirtualEntity :: Render", "VirtualEntity :: MousePicking",
                                              "Entity :: IsInArea"}));
    EXPECT_EQ(ch.GetModeFromIndex(3), static_cast<unsigned>(MODE_OnConstruct_Action));
    EXPECT_EQ(ch.GetIndexFromMode(MODE_Entity_IsInArea), 48u);
}

// Which positions repeat, which modes have no link, and how many declarations there are.
TEST(Catalogue, LinkTable) {
    Aco_Storyloom ch;
    ch.BuildModesList(false);
    std::set<std::pair<unsigned, unsigned>> repeatable;
    std::set<unsigned> withoutLinks;
    size_t declarations = 0;
    for (unsigned index = 0; index < ch.GetModeCount(); ++index) {
        unsigned mode = ch.GetModeFromIndex(index);
        const ModeDescription* desc = ch.GetModeDescription(mode);
        ASSERT_NE(desc, nullptr);
        EXPECT_EQ(desc->orderIndex, index);
        if (desc->Children.empty()) withoutLinks.insert(mode);
        declarations += desc->Children.size();
        for (unsigned link = 0; link < desc->Children.size(); ++link)
            if (desc->Children[link].IsRepeatable()) repeatable.insert({mode, link});
    }
    EXPECT_EQ(declarations, 109u);
    EXPECT_EQ(withoutLinks, (std::set<unsigned>{5, 7, 16, 30}));
    EXPECT_EQ(repeatable, (std::set<std::pair<unsigned, unsigned>>{{0, 0}, {1, 0}, {2, 0}, {2, 2}, {15, 2}, {42, 1}}));

    const ModeDescription* testing = ch.GetModeDescription(MODE_ScenarioEditor_SetTesting);
    EXPECT_STREQ(testing->Children[1].linkName, "Message [\"\"]");
    const ModeDescription* next = ch.GetModeDescription(MODE_Scenario_GetNextEntity);
    EXPECT_STREQ(next->Children[2].linkName, "CoreEntity");
    EXPECT_EQ(next->Children[2].hostValue, 0);
    EXPECT_STREQ(ch.GetModeDescription(MODE_Scenario_State_Export)->Children[2].type.typeName, "CustomEnum");
}

// A declared kind decides what the host lets the designer link there.
TEST(Catalogue, KindsAcceptTheirChannelsOnly) {
    Aco_Storyloom ch, child;
    Aco_FloatChannel value;
    Aco_StringChannel text;
    Aco_CoreRef ref;
    ch.SetCurrentMode(MODE_Scenario_AddEntity);  // CoreScenario, CoreEntity, iID
    EXPECT_FALSE(ch.LinkChild(0, &value));
    EXPECT_TRUE(ch.LinkChild(0, &ref));
    EXPECT_FALSE(ch.LinkChild(2, &text));
    EXPECT_TRUE(ch.LinkChild(2, &child)) << "a value link takes a Storyloom channel";
    ch.SetCurrentMode(MODE_ScenarioEditor_OnGraphSized);
    EXPECT_EQ(ch.GetChildCount(), 3u) << "a mode change drops the old links";
    EXPECT_EQ(ch.GetChild(0), nullptr);
    EXPECT_TRUE(ch.LinkChild(2, &text)) << "the generic kind takes anything";
    ch.SetCurrentMode(MODE_ScenarioEditor_Show);
    EXPECT_EQ(ch.GetChildCount(), 0u);
}

// The host's road: open the library by path, find the two entry functions by name.
TEST(Plugin, LoadsByPathAndCreatesChannels) {
    const char* path = std::getenv("STORYLOOM_PLUGIN");
    ASSERT_NE(path, nullptr) << "STORYLOOM_PLUGIN names the plug-in";
    A3dPluginLoader loader;
    ASSERT_TRUE(loader.Load(path)) << loader.GetError();
    ChannelType* type = loader.GetType();
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(loader.GetType(), type) << "one process-wide record";
    EXPECT_STREQ(type->typeName, "Storyloom");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(type);
    uint32_t word120, word128;
    std::memcpy(&word120, bytes + 120, 4);
    std::memcpy(&word128, bytes + 128, 4);
    EXPECT_EQ(word120, 7u);
    EXPECT_EQ(word128, 0u);
    const _GUID own = {0xB676ADA3, 0x7551, 0x433B, {0xA7, 0xFF, 0xA6, 0x68, 0xC0, 0x95, 0xB7, 0x13}};
    EXPECT_EQ(type->typeGuid, own);
    EXPECT_EQ(type->baseTypeGuid, ChannelGuids::Value);
    for (size_t i = sizeof("Storyloom"); i < 80; ++i) EXPECT_EQ(bytes[i], 0) << i;
    std::strcpy(type->typeName, "scribbled");
    EXPECT_STREQ(loader.GetType()->typeName, "Storyloom") << "refilled on every call";

    std::unique_ptr<A3d_Channel> a(loader.CreateChannel()), b(loader.CreateChannel());
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_STREQ(a->GetChannelName(), "Storyloom");
    EXPECT_NE(dynamic_cast<Aco_FloatChannel*>(a.get()), nullptr);

    A3dPluginLoader missing;
    EXPECT_FALSE(missing.Load("/nonexistent/libnothing.so"));
    EXPECT_FALSE(missing.GetError().empty());
    EXPECT_EQ(missing.CreateChannel(), nullptr);
}

}  // namespace
