#include "platform/qt/MenuBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "platform/core/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtSupport.h"

namespace platform::qt {

void MenuBar::update(const Form& form) {
    if (!bar_) build(form);
    sync();
}

int MenuBar::height() const { return bar_ ? bar_->sizeHint().height() : 0; }

void MenuBar::setWidth(int width) {
    if (bar_) bar_->setGeometry(0, 0, width, height());
}

void MenuBar::build(const Form& form) {
    if (form.menus().empty()) return;
    // The menus stay in the game's own window, never in a desktop's global
    // menu bar: said before the bar is made, so that Qt does not even ask the
    // session bus for one (without a bus, libdbus leaks the attempt).
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    bar_ = new QMenuBar(&window_);
    for (MenuItem* top : form.menus()) {
        QMenu* menu = bar_->addMenu(Q(top->Caption));
        menus_.insert(top, menu);
        QObject::connect(menu, &QMenu::aboutToShow, &window_, [this, top] {
            if (Form* owner = window_.form()) owner->menuChosen(*top);
        });
        for (MenuItem* item : top->items()) {
            if (item->isSeparator()) {
                actions_.insert(item, menu->addSeparator());
                continue;
            }
            QAction* a = menu->addAction(Q(item->Caption));
            if (item->shortcut == MenuItem::Shortcut::F2) a->setShortcut(QKeySequence(Qt::Key_F2));
            if (item->shortcut == MenuItem::Shortcut::F3) a->setShortcut(QKeySequence(Qt::Key_F3));
            a->setShortcutContext(Qt::WindowShortcut);
            QObject::connect(a, &QAction::triggered, &window_, [this, a, item] {
                a->setChecked(item->Checked);  // the game, not the toolkit, owns the check mark
                if (Form* owner = window_.form()) owner->menuChosen(*item);
            });
            actions_.insert(item, a);
        }
    }
}

void MenuBar::sync() {
    for (auto it = menus_.cbegin(); it != menus_.cend(); ++it) {
        it.value()->setTitle(Q(it.key()->Caption));
        it.value()->menuAction()->setVisible(it.key()->Visible);
        it.value()->setEnabled(it.key()->Enabled);
    }
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        const MenuItem* item = it.key();
        QAction* a = it.value();
        if (!a->isSeparator()) {
            a->setText(Q(item->Caption));
            // Only a checked item shows a mark; an unchecked one shows no empty box.
            a->setCheckable(item->Checked);
            a->setChecked(item->Checked);
            a->setEnabled(item->Enabled);
        }
        a->setVisible(item->Visible);
    }
}

}  // namespace platform::qt
