#pragma once
#include <string>
#include <utility>

#include "storyloom/quest/QuestProduct.h"

// A core node kind joined to the construct channel that defines it.
template <class CoreNode>
class STORYLOOM_API TQuestProduct : public QuestProduct, public CoreNode {
public:
    template <class Owner>
    TQuestProduct(Aco_Storyloom* channel, std::string name, Owner& owner)
        : QuestProduct(channel, std::move(name)), CoreNode(owner) {}
    // A copy keeps the channel and name; the core part brings no slots.
    TQuestProduct(const TQuestProduct& source) : QuestProduct(source), CoreNode(source) {}

    std::string GetDisplayText() const override { return BuildDisplayText(*this); }
};
