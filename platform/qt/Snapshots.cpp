#include "platform/qt/Snapshots.h"

#include <QDir>
#include <QPixmap>

#include "platform/core/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/QtWindows.h"
#include "platform/qt/Surface.h"

namespace platform::qt {

void Snapshots::handled(const Input& input) {
    inner_.handled(input);
    if (++events_ % 500 == 0) take("");
}

void Snapshots::checkpoint() {
    inner_.checkpoint();
    take("-over");
}

void Snapshots::take(const char* suffix) {
    QDir().mkpath(folder_);
    for (FormWindow* w : windows_.windows()) {
        if (!w->form() || !w->isVisible()) continue;
        const QString name = QStringLiteral("%1/%2-%3%4.png")
                                 .arg(folder_)
                                 .arg(events_, 7, 10, QLatin1Char('0'))
                                 .arg(Q(w->form()->name()), QLatin1String(suffix));
        w->surface()->grab().save(name);
    }
}

}  // namespace platform::qt
