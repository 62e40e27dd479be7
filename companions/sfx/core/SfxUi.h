#pragma once
// What the self-extractor asks of its user interface. The Win32 front end
// implements it with dialogs; the tests with scripted answers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sfxcore {

enum class MessageButtons {
    Ok,
    OkCancel,
    YesNo
};
enum class OverwriteAnswer {
    Yes,
    No,
    YesToAll,
    NoToAll,
    Cancel
};

class SfxUi {
public:
    virtual ~SfxUi() = default;

    // The message before extraction; true means go on (OK or Yes).
    virtual bool showMessage(const std::string& caption, const std::string& text,
                             MessageButtons buttons) = 0;
    // Shows the folder and the files; the folder may be changed only when
    // editable. False when the user cancels.
    virtual bool chooseFolder(const std::string& caption, std::string& folder, bool editable,
                              const std::vector<std::string>& names) = 0;
    virtual OverwriteAnswer askOverwrite(const std::string& caption, const std::string& path) = 0;
    // Nothing when the user cancels. wrongBefore: the last password given
    // for this entry did not open it.
    virtual std::optional<std::string>
    askPassword(const std::string& caption, const std::string& entryName, bool wrongBefore) = 0;
    // Returns the command to run (possibly edited), nothing to skip it.
    virtual std::optional<std::string> confirmCommandLine(const std::string& caption,
                                                          const std::string& command) = 0;
    virtual bool runCommand(const std::string& command, const std::string& folder) = 0;
    // Shows the progress window (index == count closes it). False once the
    // user pressed its Cancel button.
    virtual bool progress(const std::string& caption, size_t index, size_t count,
                          const std::string& name) = 0;
    virtual void info(const std::string& caption, const std::string& text) = 0;
    virtual void error(const std::string& caption, const std::string& text) = 0;
};

} // namespace sfxcore
