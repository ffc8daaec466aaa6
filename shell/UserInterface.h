#pragma once
// The one way register commands and checks talk to the user. The windows
// implement it with the progress dialog and message boxes; plumctl with lines
// on stderr. Every command therefore runs the same code from a menu item and
// from the command line.
#include <string>

namespace plu {

enum class ProgressState { Running = 0, ErrorShown = 1, Closed = 2 };

enum class MessageKind { Information, Warning, Error };

enum class Answer { Yes, No, Cancel, Ok };

enum class Question { YesNo, YesNoCancel };

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Progress dialog. Showing it sets both counters to 0 and the state to Running.
    virtual void ShowProgress() = 0;
    // Does nothing while the state is Closed. A normal status sets Running, an
    // error status (red, beep, OK in Cancel's place) sets ErrorShown.
    virtual void SetStatus(bool isError, const std::string& text) = 0;
    virtual void SetTotal(int total) = 0;
    virtual void SetCurrent(int current) = 0;
    virtual void CloseProgress() = 0;
    virtual ProgressState GetProgressState() const = 0;

    // Lets the windows repaint and handle input; every link wait calls it between
    // polls of the port, and the waits for the user's OK loop on it.
    virtual void ProcessEvents() = 0;

    // Message boxes; the caption is empty when not given.
    virtual void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption = {}) = 0;
    virtual Answer Ask(Question question, MessageKind kind, const std::string& text, const std::string& caption = {}) = 0;
    virtual void Beep() = 0;
    // The hourglass cursor around long work that blocks the window.
    virtual void SetBusy(bool busy) = 0;
};

// Processes events until the user has closed the progress dialog (OK or Cancel).
void WaitUntilProgressClosed(UserInterface& ui);

} // namespace plu
