#pragma once
// Answers the self-extractor's questions from a script and records them.

#include "SfxUi.h"

#include <deque>

class ScriptedSfxUi final : public sfxcore::SfxUi {
public:
    bool messageAnswer = true;
    bool folderAnswer = true;
    std::string folderOverride; // replaces the folder when set and editable
    std::deque<sfxcore::OverwriteAnswer> overwriteAnswers;
    std::deque<std::optional<std::string>> passwords;
    std::optional<std::string> commandAnswer;
    bool commandConfirmNotChanged = true;
    int cancelProgressAt = -1;             // the progress window's Cancel is pressed at this entry
    std::deque<std::string> folderAnswers; // typed in turn into an editable folder field

    std::vector<std::string> messages, overwriteQuestions, passwordQuestions, commandsRun, infos,
        errors;
    std::vector<std::string> listedNames;
    std::vector<bool> passwordRetries;
    int folderQuestions = 0;
    bool folderWasEditable = false;
    sfxcore::MessageButtons lastButtons = sfxcore::MessageButtons::Ok;

    bool showMessage(const std::string&, const std::string& text,
                     sfxcore::MessageButtons buttons) override {
        messages.push_back(text);
        lastButtons = buttons;
        return messageAnswer;
    }
    bool chooseFolder(const std::string&, std::string& folder, bool editable,
                      const std::vector<std::string>& names) override {
        ++folderQuestions;
        folderWasEditable = editable;
        listedNames = names;
        if (editable && !folderOverride.empty()) folder = folderOverride;
        if (editable && !folderAnswers.empty()) {
            folder = folderAnswers.front();
            folderAnswers.pop_front();
        }
        return folderAnswer;
    }
    sfxcore::OverwriteAnswer askOverwrite(const std::string&, const std::string& path) override {
        overwriteQuestions.push_back(path);
        if (overwriteAnswers.empty()) return sfxcore::OverwriteAnswer::No;
        const auto answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> askPassword(const std::string&, const std::string& name,
                                           bool wrongBefore) override {
        passwordQuestions.push_back(name);
        passwordRetries.push_back(wrongBefore);
        if (passwords.empty()) return std::nullopt;
        auto answer = passwords.front();
        passwords.pop_front();
        return answer;
    }
    std::optional<std::string> confirmCommandLine(const std::string&,
                                                  const std::string& command) override {
        if (commandConfirmNotChanged) return command;
        return commandAnswer;
    }
    bool runCommand(const std::string& command, const std::string&) override {
        commandsRun.push_back(command);
        return true;
    }
    bool progress(const std::string&, size_t index, size_t count, const std::string&) override {
        return cancelProgressAt < 0 || index < size_t(cancelProgressAt) || index >= count;
    }
    void info(const std::string&, const std::string& text) override { infos.push_back(text); }
    void error(const std::string&, const std::string& text) override { errors.push_back(text); }
};
