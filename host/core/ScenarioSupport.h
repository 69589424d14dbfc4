#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "storyloom/host/core/WeakRef.h"

namespace Core {

class RefSupport;
class Scenario;

// Something a scenario can hold as an entity. Scenarios only refer to it: it is owned by
// whoever made it, and when it dies it leaves every scenario it was in.
class ScenarioSupport : public WeakTarget {
public:
    ScenarioSupport();
    // A copy is in no scenario.
    ScenarioSupport(const ScenarioSupport&);
    ScenarioSupport& operator=(const ScenarioSupport&) { return *this; }
    virtual ~ScenarioSupport();

    virtual const std::string& GetName() const = 0;
    // The object as something a reference can point at, or null: what dynamic_cast answers.
    virtual RefSupport* AsRefSupport();

    bool IsInScenario(const Scenario& scenario) const;

    // Every live support with that name, oldest first: how a state text finds its entities again.
    static std::vector<ScenarioSupport*> FindLiveByName(const std::string& name);
    // Every live support under its name, each name's newest first: one walk for many lookups.
    static std::unordered_map<std::string, std::vector<ScenarioSupport*>> LiveByName();

private:
    friend class Scenario;
    void JoinLive();
    // The scenarios it is in, in the order joined, each with its id there.
    struct Membership {
        Scenario* scenario;
        unsigned id;
    };
    std::vector<Membership> _scenarios;
    std::vector<Membership>::iterator FindMembership(const Scenario* scenario);
    // The registry of live supports is a list through the supports themselves: it needs no
    // storage that static destruction could free while an entity still lives.
    ScenarioSupport* _olderLive = nullptr;
    ScenarioSupport* _newerLive = nullptr;
};

}  // namespace Core
