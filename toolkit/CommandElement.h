#pragma once
// The command that a push button, check box or option box runs when it is operated. Mixed into
// the widget next to Child; it has no virtual operations of its own.

#include <functional>
#include <string>
#include <utility>

class GUIElement;

class CommandElement {
public:
    // Called with the widget itself, so one handler can serve several widgets.
    using Command = std::function<void(GUIElement&)>;

    void SetOnCommand(Command command) { onCommand = std::move(command); }
    void RunCommand(GUIElement& element)
    {
        // A command may close and delete the dialog that owns this widget, and with it the
        // handler being run: call a copy so nothing destroyed is executed.
        if (!onCommand) return;
        const Command command = onCommand;
        command(element);
    }
    bool HasCommand() const { return static_cast<bool>(onCommand); }

    void SetCommandName(const std::string& value) { commandName = value; }
    const std::string& GetCommandName() const { return commandName; }

protected:
    CommandElement() = default;
    ~CommandElement() = default;
    CommandElement(const CommandElement&) = delete;
    CommandElement& operator=(const CommandElement&) = delete;

private:
    Command onCommand;
    std::string commandName;
};
