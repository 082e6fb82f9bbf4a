#pragma once
// The program around the forms: which form is active, modal loops, the end of
// the program, the screen, the program's folder, message boxes and sound.
//
// Activation: Form_Activate is raised when a different form becomes the
// program's active window: when one is shown, when the one above it closes or
// hides, or when the player clicks into it (a modal form blocks the others).
// A form that Show() is called for is activated again even if it already was
// the active window. Activation is worked out once the running event has
// finished, as a window system would, so a procedure that closes two forms in
// a row does not activate the one in between. Switching to another program and
// back raises nothing.

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Form;

// Runs the program's event loop on the installed services: `start` shows the
// start-up form; the program ends when no form is left loaded. Returns the
// exit code.
int RunProgram(const std::function<void()>& start);

// Unloads every form, loading ones too, as when the session ends: the program
// then ends as it does when its last form unloads. From then on no form loads
// and no dialog opens: the procedures that were waiting on one (a modal form,
// a message or input box, which close as the program's loops end) run to
// their end without bringing a window back.
void EndProgram();
// The session ends from outside (the desktop logs out, a signal): EndProgram,
// as an input that a recording keeps.
void EndSession();

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
// replaces what plays. A file that cannot be played stays silent, and so does
// a program without sound.
void PlaySoundFile(const std::string& path);

// Runs queued window events (activation and the like) now.
void DoEvents();

// The form that is currently the program's active window (nullptr if none).
Form* ActiveForm();
// Every form in existence, in the order they were made.
const std::vector<Form*>& AllForms();
// The forms shown modally whose Show has not returned yet, innermost last.
const std::vector<Form*>& ModalForms();

namespace detail {
// Whether the event loop ends once no form is loaded (RunProgram sets it; a
// replay of a test's session, whose program ran without that loop, clears it).
void setProgramRunning(bool running);
// Form life cycle, told by Form.
void formCreated(Form& form);
bool programEnding();
void formShown(Form& form);
void formHidden(Form& form);
void formUnloaded(Form& form);
void runModal(Form& form);
void formActivatedByUser(Form& form);
void formDestroyed(Form& form);
}  // namespace detail

}  // namespace platform
