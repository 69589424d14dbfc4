#pragma once
#include <string>

namespace CEGUI {
class Window;
}

namespace Core {

// A window of the core's GUI. It has a root window only once initialised, and can be shown
// only then.
class GUIBase {
public:
    static const char* const DefaultSkin;
    static const char* const DefaultFont;

    explicit GUIBase(std::string rootName);
    virtual ~GUIBase();
    virtual void Show();
    virtual void Hide();

    // Builds the root window under parent (null: at the top). An empty skin or font name is
    // refused with a report. Every call is counted, accepted or not.
    bool Initialize(CEGUI::Window* parent, const std::string& skin, const std::string& font);
    bool IsInitialized() const { return _initialized; }
    unsigned GetInitializeCount() const { return _initializeCount; }

    // The root window's name; empty before initialisation.
    std::string GetRootName() const;
    CEGUI::Window* GetParentWindow() const { return _parent; }
    const std::string& GetSkin() const { return _skin; }
    const std::string& GetFont() const { return _font; }
    bool IsVisible() const { return _visible; }

private:
    std::string _rootName;
    std::string _skin;
    std::string _font;
    CEGUI::Window* _parent = nullptr;
    unsigned _initializeCount = 0;
    bool _initialized = false;
    bool _visible = false;
};

}  // namespace Core
