#include "app/ProgramFaces.h"

#include "app/AboutBox.h"
#include "app/DesktopExport.h"
#include "app/ShellVerbs.h"
#include "platform/ProgramInfo.h"
#include "platform/TextClassRootStore.h"
#include "gui/WidgetsUserHost.h"
#include "gui/help/HelpViewer.h"
#include "archive_window/TMainForm.h"
#include "backup/TSaveForm1.h"

#include <QApplication>

namespace brx {

namespace {

// Runs a change of the verbs, then shows on the desktop what the store
// holds, also after a store error (which goes on to the caller).
template <typename Change>
void changeVerbs(Change change) {
    TextClassRootStore store(TextClassRootStore::defaultFilePath());
    WidgetsUserHost host;
    try {
        change(store, host);
    } catch (...) {
        exportShellVerbs(store);
        throw;
    }
    exportShellVerbs(store);
}

} // namespace

void ProgramFaces::registerVerbs() {
    changeVerbs([](IClassRootStore& store, IUserHost& host) {
        RegisterVerbs(store, host, programFilePath());
    });
}

int ProgramFaces::showAboutBox() {
    TEXPL_AboutBox about;
    about.OnHelpRequested = [&about](int context) { ShowHelpContext(&about, context); };
    about.exec();
    return 0;
}

void ProgramFaces::unregisterVerbs() {
    changeVerbs([](IClassRootStore& store, IUserHost& host) { UnregisterVerbs(store, host); });
}

int ProgramFaces::runArchiveManager(const QString& argument) {
    TMainForm window(argument);
    window.show();
    return QApplication::exec();
}

int ProgramFaces::runBackup(const QString& argument) {
    // The backup window shows itself once it has checked its folder.
    QApplication::setQuitOnLastWindowClosed(true);
    TSaveForm1 window(argument);
    // A refused folder was reported; the program ends without a window.
    if (window.ended()) return 0;
    return QApplication::exec();
}

} // namespace brx
