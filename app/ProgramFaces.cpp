#include "app/ProgramFaces.h"

#include "app/AboutBox.h"
#include "app/ShellVerbs.h"
#include "archive_window/TMainForm.h"
#include "backup/TSaveForm1.h"

#include <QApplication>

namespace brx {

void ProgramFaces::registerVerbs() {
    RegisterVerbs();
}

int ProgramFaces::showAboutBox() {
    TEXPL_AboutBox about;
    about.exec();
    return 0;
}

void ProgramFaces::unregisterVerbs() {
    UnregisterVerbs();
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
    window.show();
    return QApplication::exec();
}

} // namespace brx
