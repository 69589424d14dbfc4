#include "storyloom/host/core/VariableSlotBase.h"

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

VariableSlotBase::~VariableSlotBase() = default;

std::string VariableSlotBase::ConstValueToString() const { return GetConstVariableBase().GetValueText(); }

void VariableSlotBase::SetIsSelectOnly(bool selectOnly) {
    _selectOnly = selectOnly;
    if (selectOnly) _insertOnly = false;
}

void VariableSlotBase::SetIsInsertOnly(bool insertOnly) {
    _insertOnly = insertOnly;
    if (insertOnly) _selectOnly = false;
}

std::string VariableSlotBase::GetValueText() const {
    VariableBase* variable = GetVariable();
    return variable ? variable->GetValueText() : ConstValueToString();
}

bool VariableSlotBase::Bind(VariableBase* variable) {
    if (variable && !AcceptsVariable(*variable)) {
        ERRLOG("VariableSlotBase::Bind: variable " + variable->GetName() + " (" + variable->GetKindName() +
               ") does not fit slot " + _name);
        return false;
    }
    _variable.Set(variable);
    return true;
}

bool VariableSlotBase::RefersTo(const ScenarioSupport& entity) const {
    VariableBase* variable = GetVariable();
    return GetConstVariableBase().RefersTo(entity) || (variable && variable->RefersTo(entity));
}

void VariableSlotBase::CopyNameFlagsAndBinding(const VariableSlotBase& source) {
    _name = source._name;
    _selectOnly = source._selectOnly;
    _insertOnly = source._insertOnly;
    _variable = source._variable;
}

}  // namespace Core
