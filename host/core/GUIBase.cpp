#include "storyloom/host/core/GUIBase.h"

#include "storyloom/host/core/ErrorLog.h"

namespace Core {

const char* const GUIBase::DefaultSkin = "DefaultSkin";
const char* const GUIBase::DefaultFont = "DefaultFont";

GUIBase::GUIBase(std::string rootName) : _rootName(std::move(rootName)) {}
GUIBase::~GUIBase() = default;

void GUIBase::Show() {
    if (!_initialized) {
        ERRLOG("GUIBase::Show: " + _rootName + " is not initialised");
        return;
    }
    _visible = true;
}

void GUIBase::Hide() { _visible = false; }

bool GUIBase::Initialize(CEGUI::Window* parent, const std::string& skin, const std::string& font) {
    ++_initializeCount;
    if (skin.empty() || font.empty()) {
        ERRLOG("GUIBase::Initialize: " + _rootName + " needs a skin and a font");
        return false;
    }
    _parent = parent;
    _skin = skin;
    _font = font;
    _initialized = true;
    return true;
}

std::string GUIBase::GetRootName() const { return _initialized ? _rootName : std::string(); }

}  // namespace Core
