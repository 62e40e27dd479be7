#include "SfxRun.h"

#include "EntryExtractor.h"
#include "FileSystem.h"
#include "SafePath.h"

namespace sfxcore {
namespace {

std::vector<std::string> entryNames(const SfxArchive& archive) {
    std::vector<std::string> names;
    for (const ArchiveEntry& e : archive.entries()) names.push_back(e.name);
    return names;
}

bool askBeforeExtracting(SfxPlan& plan, const SfxArchive& archive, SfxUi& ui) {
    if (plan.autoRun) return true;
    if (plan.showMessage && !ui.showMessage(plan.caption, plan.messageText, plan.messageButtons))
        return false;
    return ui.chooseFolder(plan.caption, plan.folder, plan.folderEditable, entryNames(archive));
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
    if (counts.failed) text += "\n" + std::to_string(counts.failed) + " fichier(s) en erreur";
    return text;
}

} // namespace

RunResult runSelfExtractor(const RunEnvironment& env, SfxUi& ui) {
    SfxArchive archive(env.exePath);
    if (archive.open() != SfxArchive::Status::Ok) {
        ui.error(kDefaultCaption, "Archive introuvable ou endommagée dans " + env.exePath);
        return RunResult::Failed;
    }
    const SfxSettings settings = archive.settings().value_or(SfxSettings{});
    SfxPlan plan = makePlan(settings, env.exeName, env.tempFolder);
    if (!askBeforeExtracting(plan, archive, ui)) return RunResult::Cancelled;
    if (settings.checkSize && !archive.isComplete()) {
        ui.error(plan.caption, "L'archive est incomplète : le fichier a été tronqué.");
        return RunResult::Failed;
    }
    if (!makeFolders(plan.folder)) {
        ui.error(plan.caption, "Impossible de créer le dossier " + plan.folder);
        return RunResult::Failed;
    }
    const ExtractCounts counts = extractAll(archive, plan.folder, settings, plan.caption, ui);
    if (counts.failed == 0) runCommandLine(plan, ui);
    if (counts.failed)
        ui.error(plan.caption, summary(counts, plan.folder));
    else if (plan.successMessage)
        ui.info(plan.caption, summary(counts, plan.folder));
    return counts.failed ? RunResult::Failed : RunResult::Extracted;
}

} // namespace sfxcore
