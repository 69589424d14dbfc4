#pragma once
#include "storyloom/host/core/WeakRef.h"

namespace Core {

// Takes part in the editor's pick-an-entity dialogue. The editor holds its listener weakly,
// so a listener may die while registered.
class ScenarioEditorListener : public WeakTarget {
public:
    // The editor needs an entity picked.
    virtual void HandleSelectEntity() = 0;
    // The editor checked the picked entity: accepted or not.
    virtual void SelectedEntityVerified(bool accepted) = 0;

protected:
    ~ScenarioEditorListener() = default;
};

}  // namespace Core
