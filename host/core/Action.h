#pragma once
#include <string>

#include "storyloom/host/core/FactoryKinds.h"
#include "storyloom/host/core/TOwnedSlotSet.h"
#include "storyloom/host/core/TProduct.h"

namespace Core {

// A scenario node that does something when its event node fires.
class Action : public TOwnedSlotSet<VariableSlotSetOwner>, public TProduct<ActionFactory> {
public:
    explicit Action(VariableSlotSetOwner& owner) : TOwnedSlotSet(owner) {}
    Action(const Action& other) : TOwnedSlotSet(other), TProduct(other) {}
    ~Action() override;

    virtual std::string GetDisplayText() const;  // the type name unless a node says more

    // Runs ExecuteImpl. A run asked for while the action is still running is refused with a
    // report: a graph that loops back into its own action stops there.
    void Execute();

protected:
    virtual void ExecuteImpl() = 0;

private:
    bool _running = false;
};

}  // namespace Core
