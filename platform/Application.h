#pragma once
// The program around the forms: the event loop, which form is active, modal
// loops, the screen, the program's folder, message boxes and sound.

#include <functional>
#include <string>

namespace platform {

class Form;

// Runs the program: `start` shows the start-up form; the program ends when no
// form is left loaded. Returns the exit code.
int RunProgram(int argc, char** argv, const std::function<void()>& start, const std::function<void()>& finish = {});

// Screen size in twips.
float ScreenWidth();
float ScreenHeight();

// The folder that holds the program file (no trailing separator).
std::string AppPath();
// The platform's path separator, for joining AppPath() with a file name.
inline constexpr char kPathSeparator = '/';

// A modal message box with an information icon and one OK button.
void MsgBoxInformation(const std::string& text, const std::string& title);
// A modal text-input box; gives the text confirmed, or the empty text when cancelled.
std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText);

// Starts a WAV file and returns at once. One sound at a time: a new start
// replaces what plays. A file that cannot be played stays silent.
void PlaySoundFile(const std::string& path);

// Runs queued window events (activation and the like) now.
void DoEvents();

namespace detail {
// Form life cycle, told by Form.
void formShown(Form& form);
void formHidden(Form& form);
void formUnloaded(Form& form);
void runModal(Form& form);
void formActivatedByUser(Form& form);
void formDestroyed(Form& form);
}  // namespace detail

// Back ends that tests replace (platform/testing sets them).
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual void msgBoxInformation(const std::string& text, const std::string& title) = 0;
    virtual std::string inputBox(const std::string& prompt, const std::string& title, const std::string& def) = 0;
};
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void play(const std::string& path) = 0;
};
class ModalService {
public:
    virtual ~ModalService() = default;
    // Runs until `form` is unloaded or hidden.
    virtual void run(Form& form) = 0;
};
void SetDialogService(DialogService* service);  // nullptr: the real ones
void SetSoundService(SoundService* service);
void SetModalService(ModalService* service);

// The form that is currently the program's active window (nullptr if none).
Form* ActiveForm();

}  // namespace platform
