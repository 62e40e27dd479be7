#include "SfxPlan.h"

#include "SafePath.h"

namespace sfxcore {
namespace {

constexpr char kFolderMark[] = "><";

void splitMessage(const std::string& message, SfxPlan& plan) {
    plan.showMessage = !message.empty();
    plan.messageText = message;
    if (message.empty()) return;
    if (message[0] == '\1' || message[0] == '\2') {
        plan.messageButtons = message[0] == '\1' ? MessageButtons::OkCancel : MessageButtons::YesNo;
        plan.messageText = message.substr(1);
    }
}

} // namespace

std::string substituteFolder(const std::string& text, const std::string& folder) {
    const std::string base = withSeparator(folder);
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, kFolderMark) == 0) {
            out += base;
            i += 2;
            if (i < text.size() && (text[i] == '\\' || text[i] == '/')) ++i;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

bool isAbsolutePath(const std::string& path) {
    if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return true;
    return path.size() >= 2 && path[1] == ':';
}

SfxPlan makePlan(const SfxSettings& settings, const std::string& exeName,
                 const std::string& tempFolder, const std::string& exeFolder) {
    SfxPlan plan;
    plan.caption = settings.caption.empty() ? kDefaultCaption : settings.caption;
    plan.autoRun = settings.autoRun && !exeName.empty() && exeName[0] == '!';
    if (!plan.autoRun) splitMessage(settings.message, plan);
    // An empty default folder means the temporary folder as well.
    const std::string dir =
        settings.defaultDir.empty() ? std::string(kFolderMark) : settings.defaultDir;
    plan.folder = substituteFolder(dir, tempFolder);
    if (!exeFolder.empty() && !isAbsolutePath(plan.folder))
        plan.folder = withSeparator(exeFolder) + plan.folder;
    plan.folderEditable = settings.askFiles && !plan.autoRun;
    plan.commandLine = settings.commandLine;
    plan.askCommandLine = settings.askCmdLine && !plan.autoRun;
    plan.successMessage = !settings.noSuccessMsg;
    return plan;
}

} // namespace sfxcore
