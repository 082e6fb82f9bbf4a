#pragma once
// A form's menus as a QMenuBar: built from the form's MenuItems when its
// window first needs it (FormWindow::menusChanged), then kept in step with
// their captions, check marks, enabled and visible states. Opening a
// top-level menu is its Click; choosing an item, by mouse, access key or its
// F2/F3 shortcut, is the item's Click.

#include <QHash>

class QAction;
class QMenu;
class QMenuBar;

namespace platform {
class Form;
class MenuItem;
}  // namespace platform

namespace platform::qt {

class FormWindow;

// A detached window's menus stay silent: only the window's own form hears them.
class MenuBar {
public:
    explicit MenuBar(FormWindow& window) : window_(window) {}

    // Builds the bar if the form has menus and it is not built yet, then syncs it.
    void update(const Form& form);
    // Height of the bar above the client area, 0 without menus.
    int height() const;
    void setWidth(int width);

    QAction* actionFor(const MenuItem* item) const { return actions_.value(item); }
    QMenu* menuFor(const MenuItem* item) const { return menus_.value(item); }
    QMenuBar* bar() const { return bar_; }

private:
    void build(const Form& form);
    void sync();

    FormWindow& window_;
    QMenuBar* bar_ = nullptr;
    QHash<const MenuItem*, QAction*> actions_;
    QHash<const MenuItem*, QMenu*> menus_;
};

}  // namespace platform::qt
