#include "storyloom/quest/QuestVarFactory.h"

#include <utility>

QuestVarFactory::QuestVarFactory(std::string slotName, bool selectOnly, bool insertOnly)
    : _slotName(std::move(slotName)), _selectOnly(selectOnly), _insertOnly(insertOnly) {}
