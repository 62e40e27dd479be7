#include "backup/run/BackupReport.h"

namespace brx {

namespace {

constexpr int kArchiveNotMade = 852237;

} // namespace

ReportTexts InfosErreurs(const ReportInput& input) {
    if (input.errors.isEmpty() && input.filesInUse.isEmpty()) return InfosPASErreurs(input);
    return InfosDES_Erreurs(input);
}

ReportTexts InfosPASErreurs(const ReportInput& input) {
    ReportTexts texts;
    texts.success = true;
    texts.caption = QStringLiteral("Sauvegarde des données : Terminée.");
    const QString size =
        input.floppyDestination ? input.stagingSizeText : input.destinationSizeText;
    texts.destinationText =
        input.destinationArchive + QStringLiteral("  [ ") + size + QStringLiteral(" ]");
    if (input.removable)
        texts.finalInfo =
            QStringLiteral("ATTENTION...Sauvegardez de nouveau sur un support AMOVIBLE");
    texts.logLines << QStringLiteral("   Info Zip : ") + input.summaryText
                   << QStringLiteral("-Sauvegarde terminée : Ok");
    texts.closeWindow = input.autoClose;
    return texts;
}

ReportTexts InfosDES_Erreurs(const ReportInput& input) {
    ReportTexts texts;
    texts.caption = QStringLiteral("Sauvegarde des données : Echec ou Avertissement(s)");
    texts.windowWidth = kReportWidth;
    texts.picture = kErrorPicture;
    if (!input.filesInUse.isEmpty())
        texts.finalInfo =
            QStringLiteral(" ATTENTION...Fichier(s) utilisé(s) par une autre application.");
    if (!input.errors.isEmpty() || input.lastMessageCode == kArchiveNotMade) {
        texts.destinationText = QStringLiteral("Les profondeurs abyssales du néant...");
        texts.finalInfo = QStringLiteral("- Erreur(s) détectée(s) ! Sauvegarde inéxistante ! ");
    }
    return texts;
}

} // namespace brx
