#include "SfxRun.h"

#include "EntryExtractor.h"
#include "FileSystem.h"
#include "SafePath.h"
#include "SfxTexts.h"

namespace sfxcore {
namespace {

// Lists at most this many failed files in the error box; the rest are counted.
constexpr size_t kListedFailures = 15;

std::vector<std::string> entryNames(const SfxArchive& archive) {
    std::vector<std::string> names;
    for (const ArchiveEntry& e : archive.entries()) names.push_back(displayName(e.name));
    return names;
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// The folder question comes back after an emptied field, with the default
// folder in it again: only Cancel leaves without extracting.
bool askFolder(SfxPlan& plan, const SfxArchive& archive, SfxUi& ui) {
    const std::string proposed = plan.folder;
    const auto names = entryNames(archive);
    for (;;) {
        if (!ui.chooseFolder(plan.caption, plan.folder, plan.folderEditable, names)) return false;
        if (!isBlank(plan.folder)) return true;
        ui.error(plan.caption, kNoFolderText);
        plan.folder = proposed;
    }
}

bool askBeforeExtracting(SfxPlan& plan, const SfxArchive& archive, SfxUi& ui) {
    if (plan.autoRun) return true;
    if (plan.showMessage && !ui.showMessage(plan.caption, plan.messageText, plan.messageButtons))
        return false;
    return askFolder(plan, archive, ui);
}

void runCommandLine(const SfxPlan& plan, SfxUi& ui) {
    if (plan.commandLine.empty()) return;
    std::string command = substituteFolder(plan.commandLine, plan.folder);
    if (plan.askCommandLine) {
        const auto confirmed = ui.confirmCommandLine(plan.caption, command);
        if (!confirmed || confirmed->empty()) return;
        command = *confirmed;
    }
    if (!ui.runCommand(command, plan.folder))
        ui.error(plan.caption, "Impossible de lancer : " + command);
}

std::string summary(const ExtractCounts& counts, const std::string& folder) {
    std::string text = std::to_string(counts.written) + " fichier(s) extrait(s) dans " + folder;
    if (counts.skipped)
        text += "\n" + std::to_string(counts.skipped) + " fichier(s) non remplacé(s)";
    if (counts.failed() == 0) return text;
    text += "\n" + std::to_string(counts.failed()) + " fichier(s) en erreur :";
    for (size_t i = 0; i < counts.failures.size() && i < kListedFailures; ++i)
        text += "\n  " + counts.failures[i].name + " : " + counts.failures[i].reason;
    if (counts.failed() > kListedFailures)
        text += "\n  ... et " + std::to_string(counts.failed() - kListedFailures) + " autre(s)";
    return text;
}

RunResult cancelled(const SfxPlan& plan, SfxUi& ui) {
    ui.info(plan.caption, kCancelledText);
    return RunResult::Cancelled;
}

// The structure was read when the archive opened; the sizes are checked
// here, before the first question, so that a damaged download says so at once.
bool archiveLooksSound(SfxArchive& archive, const SfxSettings& settings) {
    return !settings.checkSize || archive.isComplete();
}

} // namespace

RunResult runSelfExtractor(const RunEnvironment& env, SfxUi& ui) {
    SfxArchive archive(env.exePath);
    const SfxArchive::Status status = archive.open();
    if (status == SfxArchive::Status::CannotOpen) {
        ui.error(kDefaultCaption, "Impossible de lire le fichier " + env.exePath);
        return RunResult::Failed;
    }
    if (status != SfxArchive::Status::Ok) {
        ui.error(kDefaultCaption, std::string(kDamagedText) + env.exePath);
        return RunResult::Failed;
    }
    const SfxSettings settings = archive.settings().value_or(SfxSettings{});
    SfxPlan plan = makePlan(settings, env.exeName, env.tempFolder, env.exeFolder);
    if (!archiveLooksSound(archive, settings)) {
        ui.error(plan.caption, std::string(kDamagedText) + env.exePath);
        return RunResult::Failed;
    }
    if (!askBeforeExtracting(plan, archive, ui)) return cancelled(plan, ui);
    if (!makeFolders(plan.folder)) {
        ui.error(plan.caption, "Impossible de créer le dossier " + plan.folder);
        return RunResult::Failed;
    }
    const ExtractCounts counts = extractAll(archive, plan.folder, settings, plan.caption, ui);
    if (counts.cancelled) return cancelled(plan, ui);
    if (counts.failed()) {
        ui.error(plan.caption, summary(counts, plan.folder));
        return RunResult::Failed;
    }
    runCommandLine(plan, ui);
    if (plan.successMessage) ui.info(plan.caption, summary(counts, plan.folder));
    return RunResult::Extracted;
}

} // namespace sfxcore
