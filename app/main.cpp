#include "app/Dispatch.h"
#include "app/ProgramFaces.h"
#include "platform/ProgramInfo.h"
#include "settings/SettingsFile.h"
#include "support/AppGlobals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The settings file is fixed before any window exists.
    brx::setSettingsFilePath(brx::settingsFileIn(brx::programFolder()));
    brx::setApplicationTitle(brx::kApplicationTitle);
    brx::setHelpFile(brx::kHelpFileName);

    brx::ProgramFaces faces;
    return brx::dispatch(QCoreApplication::arguments(), faces);
}
