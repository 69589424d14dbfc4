#include "storyloom/host/core/ScenarioGraph.h"

#include <cmath>

#include "storyloom/host/core/ErrorLog.h"
#include "storyloom/host/core/TextFormat.h"

namespace Core {

bool ScenarioGraph::Resize(float width, float height) {
    if (!std::isfinite(width) || !std::isfinite(height) || width < 0.0f || height < 0.0f) {
        ERRLOG(FormatString("ScenarioGraph::Resize: invalid size %g x %g", width, height));
        return false;
    }
    _width = width;
    _height = height;
    if (ScenarioGraphListener* listener = _listener.Get()) listener->OnGraphSized(width, height);
    return true;
}

}  // namespace Core
