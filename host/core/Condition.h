#pragma once
#include <string>

#include "storyloom/host/core/FactoryKinds.h"
#include "storyloom/host/core/TOwnedSlotSet.h"
#include "storyloom/host/core/TProduct.h"

namespace Core {

// A scenario node that decides whether its event node's actions run.
class Condition : public TOwnedSlotSet<VariableSlotSetOwner>, public TProduct<ConditionFactory> {
public:
    explicit Condition(VariableSlotSetOwner& owner) : TOwnedSlotSet(owner) {}
    Condition(const Condition& other) : TOwnedSlotSet(other), TProduct(other) {}
    ~Condition() override;

    virtual std::string GetDisplayText() const;  // the type name unless a node says more

    // Runs EvaluateImpl. Asked again while still evaluating, it answers false with a report.
    bool Evaluate();

protected:
    virtual bool EvaluateImpl() = 0;

private:
    bool _evaluating = false;
};

}  // namespace Core
