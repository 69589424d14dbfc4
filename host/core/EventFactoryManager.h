#pragma once
#include <string>

#include "storyloom/host/core/Event.h"
#include "storyloom/host/core/EventParams.h"
#include "storyloom/host/core/TFactoryManager.h"

namespace Core {

class EventFactoryManager : public TFactoryManager<EventFactoryManager, Event, EventNode> {
public:
    static constexpr const char* Name = "EventFactoryManager";

    // Offers the firing to every event of that type in the engine's scenarios that are not
    // paused, in scenario and node order; a node whose event activates and whose conditions
    // all hold runs its actions. Answers how many nodes ran their actions. Nodes added while
    // the firing runs wait for the next one; scenarios destroyed meanwhile stop taking part
    // at once and are deleted when the firing ends.
    unsigned FireEvent(const std::string& type, EventParams& params);
};

}  // namespace Core

template <>
Core::EventFactoryManager& CoreFramework::Singleton<Core::EventFactoryManager>::Instance();
