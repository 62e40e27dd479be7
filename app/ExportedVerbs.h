#pragma once
// What the desktop should show, read from the class-root key store: every
// verb whose command starts the program, with the files it applies to, and
// whether ".zip" belongs to the program's class.

#include "platform/ClassRootStore.h"

#include <QList>

namespace brx {

enum class VerbTarget {
    Folder,
    Executable,
    Zip
};

struct ExportedVerb {
    VerbTarget target;
    QString label;   // the verb's name without its "&" shortcut mark
    QString id;      // lower case, "-" between words: "zip-vers-exe"
    QString program; // full path of the program
    QString prefix;  // "-#", "-!" or "-&"
};

struct ExportPlan {
    QList<ExportedVerb> verbs;
    bool zipIsOurs = false; // ".zip" names our class and its verbs are there
    QString iconProgram;    // the program named by our class's default icon
    QList<ExportedVerb> verbsFor(VerbTarget target) const;
};

// The program and the prefix of a stored command line (its form is
// P or "P", a blank, the prefix and "%1" in double quotes); nothing when
// the command is not one of the program's.
struct VerbCommand {
    QString program;
    QString prefix;
};
std::optional<VerbCommand> parseVerbCommand(const QString& command);

QString verbLabel(const QString& verbName);

ExportPlan planFromStore(const IClassRootStore& store);

} // namespace brx
