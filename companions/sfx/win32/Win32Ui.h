#pragma once
// The self-extractor's questions as Win32 dialogs and message boxes.

#include "SfxUi.h"

#include <windows.h>

class Win32Ui final : public sfxcore::SfxUi {
public:
    explicit Win32Ui(HINSTANCE instance) : m_instance(instance) {}
    ~Win32Ui() override;

    bool showMessage(const std::string& caption, const std::string& text,
                     sfxcore::MessageButtons buttons) override;
    bool chooseFolder(const std::string& caption, std::string& folder, bool editable,
                      const std::vector<std::string>& names) override;
    sfxcore::OverwriteAnswer askOverwrite(const std::string& caption,
                                          const std::string& path) override;
    std::optional<std::string> askPassword(const std::string& caption, const std::string& entryName,
                                           bool wrongBefore) override;
    std::optional<std::string> confirmCommandLine(const std::string& caption,
                                                  const std::string& command) override;
    bool runCommand(const std::string& command, const std::string& folder) override;
    bool progress(const std::string& caption, size_t index, size_t count,
                  const std::string& name) override;
    void info(const std::string& caption, const std::string& text) override;
    void error(const std::string& caption, const std::string& text) override;

private:
    void closeProgress();

    HINSTANCE m_instance;
    HWND m_progress = nullptr;
    bool m_progressCancelled = false; // set by the progress window's Cancel button
};
