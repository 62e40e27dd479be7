#pragma once
// The program's three faces, chosen from its first command-line argument.

#include <QString>
#include <QStringList>
#include <optional>

namespace brx {

enum class Face {
    RegisterThenAbout,
    Unregister,
    ArchiveManager,
    Backup
};

// The first argument as the program sees it: argv[1], or argv[1] + argv[2]
// when argv[1] is exactly "-#", "-!" or "-&" (desktop launchers pass the
// prefix and the path apart). Nothing when there is no argument.
std::optional<QString> firstArgument(const QStringList& arguments);

// The dispatch on the upper-cased argument, tests in this order, each
// matching anywhere in it: "#DEL#!", ".ZIP", ".EXE", anything else.
Face chooseFace(const std::optional<QString>& argument);

// The faces themselves; the program wires the real windows, the tests record.
class IFaces {
public:
    virtual ~IFaces() = default;
    virtual void registerVerbs() = 0;
    virtual int showAboutBox() = 0;
    virtual void unregisterVerbs() = 0;
    virtual int runArchiveManager(const QString& argument) = 0;
    virtual int runBackup(const QString& argument) = 0;
};

// Runs the face chosen for the arguments; returns the process exit code.
// Registration errors are swallowed: the About box still shows.
int dispatch(const QStringList& arguments, IFaces& faces);

} // namespace brx
