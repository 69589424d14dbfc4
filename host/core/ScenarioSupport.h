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
    struct Membership {
        Scenario* scenario;
        unsigned id;
    };
    // The scenarios it is in, in the order joined, each with its id there. Most entities are
    // in one scenario, kept inline: joining it costs no allocation and no block of its own.
    class Memberships {
    public:
        void Add(Scenario* scenario, unsigned id);
        // The scenario must be one of them.
        void Remove(const Scenario* scenario);
        const Membership* Find(const Scenario* scenario) const {
            if (_first.scenario == scenario && scenario) return &_first;
            return FindAmongTheRest(scenario);
        }
        template <class Visit>
        void ForEach(Visit visit) const {
            if (!_first.scenario) return;
            visit(_first);
            for (const Membership& membership : _rest) visit(membership);
        }

    private:
        const Membership* FindAmongTheRest(const Scenario* scenario) const;

        Membership _first{nullptr, 0};  // empty only when _rest is
        std::vector<Membership> _rest;
    };
    Memberships _scenarios;
    // The registry of live supports is a list through the supports themselves: it needs no
    // storage that static destruction could free while an entity still lives.
    ScenarioSupport* _olderLive = nullptr;
    ScenarioSupport* _newerLive = nullptr;
};

}  // namespace Core
