#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "storyloom/channel/Export.h"

class A3d_Channel;
namespace Core {
class Scenario;
class VariableBase;
class VariableSlotBase;
}  // namespace Core

// What one child at a construct channel's "VariableSlots" declares: the slot of that
// position in every node of the kind, bare variables of the slot's kind for fired events,
// and how an event parameter of that kind reaches a child.
class STORYLOOM_API QuestVarFactory {
public:
    QuestVarFactory(std::string slotName, bool selectOnly, bool insertOnly);
    // Owners hold factories by this base, so the kinds must clean up through it.
    virtual ~QuestVarFactory() = default;

    virtual size_t GetSlotSize() const = 0;
    // A new slot named after the child.
    virtual std::unique_ptr<Core::VariableSlotBase> CreateSlot(Core::Scenario& scenario) const = 0;
    // A new variable named after the child with the core's initial value.
    virtual std::unique_ptr<Core::VariableBase> CreateVariable(Core::Scenario& scenario) const = 0;
    // Writes an event parameter into the child at `childIndex` of `channel`, or reports that
    // the parameter is not of this kind.
    virtual void SendParameter(Core::VariableBase* parameter, A3d_Channel* channel, unsigned int childIndex) const = 0;

    const std::string& GetSlotName() const { return _slotName; }
    bool GetIsSelectOnly() const { return _selectOnly; }
    bool GetIsInsertOnly() const { return _insertOnly; }

private:
    std::string _slotName;
    bool _selectOnly;
    bool _insertOnly;
};
