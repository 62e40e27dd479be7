#include "app/Dispatch.h"
#include "app/ErrorDisplay.h"
#include "app/ProgramFaces.h"
#include "platform/ProgramInfo.h"
#include "settings/SettingsFile.h"
#include "support/AppGlobals.h"

int main(int argc, char* argv[]) {
    brx::BrxApplication app(argc, argv);
    // The settings file is fixed before any window exists.
    brx::setSettingsFilePath(brx::settingsFileIn(brx::programFolder()));
    brx::setApplicationTitle(brx::kApplicationTitle);
    brx::setHelpFile(brx::kHelpFileName);

    brx::ProgramFaces faces;
    try {
        return brx::dispatch(QCoreApplication::arguments(), faces);
    } catch (...) {
        // Outside any event handler (a window that failed while being
        // created): the face is gone, so report and end.
        brx::showUnhandledError(brx::currentErrorText());
        return 1;
    }
}
