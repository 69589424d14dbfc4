#include <memory>

#include "CoreTestSupport.h"
#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/EngineHost.h"

namespace {

using VelmMathLib::Vec3;
using CoreReference = CoreTest;

// An entity is a weak target twice over (reference target and scenario member); count the
// reference channels' side.
unsigned References(const Core::RefSupport& target) { return target.GetWeakRefCount(); }

// A reference to a destroyed scenario or a deleted entity reads empty.
TEST_F(CoreReference, ReadsEmptyOnceTheTargetDies) {
    Aco_CoreRef toScenario, toEntity, alsoToEntity;
    Core::Scenario* scenario = Manager().CreateScenario();
    auto entity = std::make_unique<Core::StaticMeshEntity>("crate", Vec3(), 1.0f);
    toScenario.SetRef(scenario);
    toEntity.SetRef(entity.get());
    alsoToEntity.SetRef(entity.get());
    EXPECT_EQ(References(*entity), 2u);

    Manager().DestroyScenario(scenario);
    EXPECT_EQ(toScenario.GetRef(), nullptr);
    EXPECT_EQ(toEntity.GetRef(), entity.get());

    entity.reset();
    EXPECT_EQ(toEntity.GetRef(), nullptr);
    EXPECT_EQ(alsoToEntity.GetRef(), nullptr);
}

// Retargeting, resetting and dying all take the reference off its old target's list.
TEST_F(CoreReference, LeavesTheTargetWhenRetargetedResetOrDestroyed) {
    Core::StaticMeshEntity first("a", Vec3(), 1.0f), second("b", Vec3(), 1.0f);
    auto ref = std::make_unique<Aco_CoreRef>();
    ref->SetRef(&first);
    Aco_CoreRef copy(*ref);
    EXPECT_EQ(copy.GetRef(), &first);
    EXPECT_EQ(References(first), 2u);

    ref->SetRef(&second);
    EXPECT_EQ(References(first), 1u);
    EXPECT_EQ(References(second), 1u);
    copy.ResetRef();
    EXPECT_EQ(copy.GetRef(), nullptr);
    EXPECT_EQ(References(first), 0u);

    ref.reset();
    EXPECT_EQ(References(second), 0u);
    // A copied object is a new target: references to the original do not follow it.
    copy.SetRef(&second);
    EXPECT_EQ(References(Core::StaticMeshEntity(second)), 0u);
}

// The value is the index, fractions kept, whatever state it is read in (saving and loading
// are with the other channel classes in ChannelFileFaultTest).
TEST_F(CoreReference, EnumerationValueAndTypeName) {
    Aco_CustomEnum enumeration;
    enumeration.SetEnumTypeName("Weather");
    enumeration.SetFloat(2.5f);
    for (int state : {0, 5, -1}) EXPECT_EQ(enumeration.GetFloatExt(state), 2.5f);
    enumeration.SetEnumTypeName(nullptr);
    EXPECT_STREQ(enumeration.GetEnumTypeName(), "");
}

TEST_F(CoreReference, ErrorLogCollectsAndEchoes) {
    ERRLOG("first");
    ERRLOG(std::string("second"));
    ERRLOG(static_cast<const char*>(nullptr));
    ASSERT_EQ(Core::GetErrorLog().size(), 3u);
    EXPECT_EQ(Core::GetErrorLog()[1], "second");
    EXPECT_FALSE(Core::GetErrorLog()[2].empty());

    Core::SetErrorLogEcho(true);
    testing::internal::CaptureStderr();
    ERRLOG("echoed");
    Core::SetErrorLogEcho(false);
    ERRLOG("quiet");
    std::string echoed = testing::internal::GetCapturedStderr();
    EXPECT_NE(echoed.find("echoed"), std::string::npos);
    EXPECT_EQ(echoed.find("quiet"), std::string::npos);
    Core::ClearErrorLog();
    EXPECT_TRUE(Core::GetErrorLog().empty());
}

}  // namespace
