#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "storyloom/host/engine/A3dPluginLoader.h"
#include "storyloom/scenario_channel/Aco_Storyloom.h"
#include "storyloom/scenario_channel/ModeCatalogue.h"

namespace {

// Every mode the designer can pick is listed once, in the records' display order, and
// reaches a handler that is its own.
TEST(Catalogue, EveryModeShownOnceWithAHandlerOfItsOwn) {
    Aco_Storyloom ch;
    ch.BuildModesList(false);
    const std::vector<const ModeRecord*>& records = ModeCatalogue::InDisplayOrder();
    std::vector<std::string> names;
    ch.GetModeNames(names);
    ASSERT_EQ(names.size(), records.size());
    ASSERT_EQ(ch.GetModeCount(), records.size());
    std::set<unsigned> ids;
    std::set<ModeHandler> handlers;
    for (unsigned index = 0; index < records.size(); ++index) {
        const unsigned mode = ch.GetModeFromIndex(index);
        SCOPED_TRACE(mode);
        EXPECT_EQ(records[index]->displayPosition, index);
        EXPECT_EQ(mode, records[index]->id);
        EXPECT_EQ(names[index], records[index]->name);
        EXPECT_TRUE(ids.insert(mode).second);
        EXPECT_TRUE(ch.IsModeValid(mode));
        ASSERT_NE(ModeCatalogue::HandlerOf(mode), nullptr);
        EXPECT_TRUE(handlers.insert(ModeCatalogue::HandlerOf(mode)).second) << "shares its handler";
    }
    EXPECT_EQ(ModeCatalogue::HandlerOf(MODE_NONE), nullptr);
    EXPECT_FALSE(ch.IsModeValid(31)) << "the one id no mode has";
}

// A link name tells the designer and the reports which child is meant. Two modes repeat one
// on purpose: the instigator an event writes and the one that runs it, and the entity
// "GetNextEntity" goes on from and the one it finds.
TEST(Catalogue, LinkNamesAreUniqueWithinAMode) {
    const std::set<std::pair<unsigned, std::string>> repeated = {{MODE_OnConstruct_Event, "Instigator"},
                                                                 {MODE_Scenario_GetNextEntity, "CoreEntity"}};
    for (const ModeRecord* record : ModeCatalogue::InDisplayOrder()) {
        std::set<std::string> names;
        for (unsigned i = 0; i < record->LinkCount(); ++i) {
            const LinkRecord& link = record->links[i];
            EXPECT_EQ(link.position, i) << record->shortName << ": positions run without gaps";
            if (!names.insert(link.name).second) {
                EXPECT_EQ(repeated.count({record->id, link.name}), 1u) << record->shortName << " " << link.name;
            }
        }
    }
}

// What the host is told after a mode change is exactly the mode's record.
TEST(Catalogue, DeclaredLinksEqualTheRecord) {
    Aco_Storyloom ch;
    for (const ModeRecord* record : ModeCatalogue::InDisplayOrder()) {
        SCOPED_TRACE(record->shortName);
        ch.SetCurrentMode(record->id);
        ASSERT_EQ(ch.GetCurrentMode(), record->id);
        ASSERT_EQ(ch.GetChildCreationCount(), record->LinkCount());
        for (unsigned i = 0; i < record->LinkCount(); ++i) {
            const LinkRecord& link = record->links[i];
            const ChildCreation* declared = ch.GetChildCreateType(i);
            ASSERT_NE(declared, nullptr);
            EXPECT_STREQ(declared->linkName, link.name);
            EXPECT_STREQ(ch.GetChildLinkName(i), link.name);
            EXPECT_STREQ(declared->type.typeName, GetLinkKindInfo(link.kind).typeText);
            EXPECT_EQ(declared->type.typeGuid, GetLinkKindInfo(link.kind).guid);
            EXPECT_EQ(declared->hostValue, static_cast<int>(link.flow));
            EXPECT_EQ(declared->IsRepeatable(), link.repeatable);
            EXPECT_EQ(declared->position, link.repeatable ? -1 : static_cast<int>(i));
        }
    }
}

// The table is built in two passes: every link declared, mode by mode, before the first mode
// is added; 30 is declared without links, 5, 7 and 16 not at all. The extension's own link
// names follow the declarations, so they end with those of the last mode declared (49), not
// of the last one added (48).
TEST(Catalogue, LinksAreDeclaredBeforeAnyModeIsAdded) {
    struct Recording : Aco_Storyloom {
        void CreateLink(_GUID type, const char* typeText, const char* name, int hostValue, bool repeatable) override {
            if (declaredModes.empty() || declaredModes.back() != _initMode) declaredModes.push_back(_initMode);
            modesAddedBefore += GetModeCount();
            MultiModeChannel::CreateLink(type, typeText, name, hostValue, repeatable);
        }
        std::vector<unsigned> declaredModes;
        unsigned modesAddedBefore = 0;
    } ch;
    ch.BuildModesList(true);
    EXPECT_EQ(ch.modesAddedBefore, 0u);
    EXPECT_EQ(ch.declaredModes.front(), 0u);
    EXPECT_EQ(ch.declaredModes.back(), unsigned(MODE_Scenario_IsIDInScenario));
    std::set<unsigned> declared(ch.declaredModes.begin(), ch.declaredModes.end());
    EXPECT_EQ(declared.size(), ch.declaredModes.size()) << "each mode declared in one run";
    for (unsigned linkless : {5u, 7u, 16u, 30u}) EXPECT_EQ(declared.count(linkless), 0u) << linkless;
    EXPECT_EQ(declared.size() + 4, ch.GetModeCount());
    EXPECT_STREQ(ch.ChannelExtension<Aco_FloatChannel>::GetChildLinkName(1), "iID");
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

    std::unique_ptr<A3d_Channel> a(loader.CreateChannel());
    ASSERT_NE(dynamic_cast<Aco_FloatChannel*>(a.get()), nullptr);
    EXPECT_STREQ(a->GetChannelName(), "Storyloom");
}

}  // namespace
