#include <memory>

#include "CoreTestSupport.h"
#include "storyloom/host/Aco_CustomEnum.h"
#include "storyloom/host/EngineHost.h"

namespace {

using VelmMathLib::Vec3;
using CoreReference = CoreTest;

unsigned References(const Core::RefSupport& target) { return target.GetWeakRefCount(); }

// A reference to a destroyed scenario or a deleted entity reads empty; retargeting, resetting
// and dying all take the reference off its old target's list (an entity is a weak target twice
// over, as reference target and scenario member: this counts the references). A copied object
// is a new target: references to the original do not follow it.
TEST_F(CoreReference, FollowsItsTargetWeakly) {
    Aco_CoreRef toScenario;
    auto toFirst = std::make_unique<Aco_CoreRef>();
    Core::Scenario* scenario = Manager().CreateScenario();
    auto first = std::make_unique<Core::StaticMeshEntity>("a", Vec3(), 1.0f);
    Core::StaticMeshEntity second("b", Vec3(), 1.0f);
    toScenario.SetRef(scenario);
    toFirst->SetRef(first.get());
    Aco_CoreRef copy(*toFirst), toSecond(*toFirst);
    EXPECT_TRUE(copy.GetRef() == first.get() && References(*first) == 3u);
    toSecond.SetRef(&second);
    toFirst.reset();
    EXPECT_TRUE(References(*first) == 1u && References(second) == 1u);
    Manager().DestroyScenario(scenario);
    EXPECT_TRUE(toScenario.GetRef() == nullptr && copy.GetRef() == first.get());
    first.reset();
    EXPECT_EQ(copy.GetRef(), nullptr);
    toSecond.ResetRef();
    EXPECT_TRUE(toSecond.GetRef() == nullptr && References(second) == 0u);
    copy.SetRef(&second);
    EXPECT_EQ(References(Core::StaticMeshEntity(second)), 0u);
}

// The enumeration's value is the index, fractions kept, whatever state it is read in (saving
// and loading are with the other channel classes in ChannelFileFaultTest). The error log
// collects a null text too.
TEST_F(CoreReference, EnumerationValueAndErrorLog) {
    Aco_CustomEnum enumeration;
    enumeration.SetEnumTypeName("Weather");
    enumeration.SetFloat(2.5f);
    for (int state : {0, 5, -1}) EXPECT_EQ(enumeration.GetFloatExt(state), 2.5f);
    enumeration.SetEnumTypeName(nullptr);
    EXPECT_STREQ(enumeration.GetEnumTypeName(), "");

    ERRLOG(std::string("first"));
    ERRLOG(static_cast<const char*>(nullptr));
    ASSERT_EQ(Core::GetErrorLog().size(), 2u);
    EXPECT_TRUE(Core::GetErrorLog()[0] == "first" && !Core::GetErrorLog()[1].empty());
}

}  // namespace
