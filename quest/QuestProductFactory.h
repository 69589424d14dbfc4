#pragma once

// Factory a construct channel registers with the scenario core for its kind of node.
class QuestProductFactory {
public:
    virtual ~QuestProductFactory() = default;
};
