#pragma once
// The windows of the game's forms and the stage they are shown on.

#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

#include "platform/core/ReplayFile.h"
#include "platform/core/Services.h"
#include "platform/qt/QtPictures.h"

namespace platform::qt {

class FormWindow;

// The windows, on the screen the game opens on (the primary screen at
// start-up), never on all screens together.
class QtWindows final : public WindowSystem {
public:
    // `windowed`: the full-screen forms become framed windows with a client
    // area of this many pixels, centred on the screen, instead.
    explicit QtWindows(QtPictures& pictures, std::optional<QSize> windowed = {});
    ~QtWindows() override;
    std::unique_ptr<WindowHost> createWindow(Form& form) override;
    void disposeWindow(std::unique_ptr<WindowHost> window) override;
    // The stage's size, which the game takes for the screen's.
    float screenWidth() const override;
    float screenHeight() const override;

    QtPictures& pictures() const { return pictures_; }
    bool windowed() const { return windowed_.has_value(); }

    // The windows it made that still exist, detached ones not yet deleted
    // included; the live window of a loaded form; the window behind a host.
    const std::vector<FormWindow*>& windows() const { return live_; }
    FormWindow* windowOf(const Form& form) const;
    FormWindow* owning(const WindowHost* host) const;
    // Told by each window as it comes and goes.
    void added(FormWindow& window) { live_.push_back(&window); }
    void removed(FormWindow& window) { std::erase(live_, &window); }
    // Where the full-screen forms' client areas go, in the screen's pixels:
    // the whole screen, or the window asked for, centred on its free area.
    QRect stage() const;
    // Where windows may go without hiding under panels.
    QRect available() const;
    // On a stage smaller than the game's windows need (the speed and
    // high-score windows with their buttons, the briefing's satellite
    // choice), everything the game draws is drawn smaller by this factor, and
    // the game is told of a screen as much larger: 1 on ordinary screens.
    qreal scale() const;
    // A scale factor below 1 asked of Qt (QT_SCALE_FACTOR), which Qt's own
    // painting does not follow (it never draws a logical pixel smaller than a
    // device pixel): taken here instead, into scale() and the windowed size.
    void takeScaleFactor(qreal factor) { factor_ = factor; }

private:
    QtPictures& pictures_;
    std::optional<QSize> windowed_;
    qreal factor_ = 1;
    QPointer<QScreen> screen_;
    std::vector<FormWindow*> live_;
    std::vector<QPointer<FormWindow>> parked_;  // disposed of inside a nested loop
};

// The header of a recording made on these windows.
replay::Header RecordingHeader(const char* version, const QtWindows& windows);

}  // namespace platform::qt
