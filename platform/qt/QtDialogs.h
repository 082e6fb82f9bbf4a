#pragma once
// Message and input boxes on Qt Widgets.

#include <string>

#include "platform/core/Services.h"

namespace platform::qt {

class QtWindows;

// Message and input boxes over the program's active window.
class QtDialogs final : public DialogService {
public:
    explicit QtDialogs(const QtWindows& windows) : windows_(windows) {}
    void msgBoxInformation(const std::string& text, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) override;

private:
    const QtWindows& windows_;
};

}  // namespace platform::qt
