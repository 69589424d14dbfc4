#pragma once
#include <string>

#include "storyloom/host/core/EventNode.h"
#include "storyloom/host/core/EventParams.h"
#include "storyloom/host/core/FactoryKinds.h"
#include "storyloom/host/core/TOwnedSlotSet.h"
#include "storyloom/host/core/TProduct.h"

namespace Core {

// The scenario node that starts an event node: when an event of its type is fired, it
// decides whether its node goes on to the conditions.
class Event : public TProduct<EventFactory>, public TOwnedSlotSet<EventNode> {
public:
    explicit Event(EventNode& node) : TOwnedSlotSet(node) {}
    Event(const Event& other) : TProduct(other), TOwnedSlotSet(other) {}
    ~Event() override;

    virtual std::string GetDisplayText() const;  // the type name unless a node says more
    virtual bool CheckActivate(EventParams& params) = 0;
};

}  // namespace Core
