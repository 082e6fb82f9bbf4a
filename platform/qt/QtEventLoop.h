#pragma once
// The event loop and nested modal loops on Qt's.

#include <functional>
#include <vector>

#include "platform/core/Services.h"

class QEventLoop;

namespace platform::qt {

class QtEventLoop final : public EventLoop {
public:
    void post(std::function<void()> task) override;
    bool runModal(Form& form) override;
    void endModal(Form& form) override;
    void processEvents() override;
    int exec() override;
    void quit() override;

private:
    struct Modal {
        Form* form;
        QEventLoop* loop;
    };
    std::vector<Modal> modal_;
    bool quitting_ = false;
};

}  // namespace platform::qt
