#include "app/Dispatch.h"

#include <exception>

namespace brx {

std::optional<QString> firstArgument(const QStringList& arguments) {
    if (arguments.size() < 2) return std::nullopt;
    const QString first = arguments.at(1);
    const bool prefixAlone = first == QStringLiteral("-#") || first == QStringLiteral("-!") ||
                             first == QStringLiteral("-&");
    if (prefixAlone && arguments.size() > 2) return first + arguments.at(2);
    return first;
}

Face chooseFace(const std::optional<QString>& argument) {
    if (!argument) return Face::RegisterThenAbout;
    const QString upper = argument->toUpper();
    if (upper.contains(QStringLiteral("#DEL#!"))) return Face::Unregister;
    if (upper.contains(QStringLiteral(".ZIP")) || upper.contains(QStringLiteral(".EXE")))
        return Face::ArchiveManager;
    return Face::Backup;
}

int dispatch(const QStringList& arguments, IFaces& faces) {
    const std::optional<QString> argument = firstArgument(arguments);
    switch (chooseFace(argument)) {
    case Face::RegisterThenAbout:
        try {
            faces.registerVerbs();
        } catch (const std::exception&) {
            // A registry failure ends the registration quietly; the About box still shows.
        }
        return faces.showAboutBox();
    case Face::Unregister:
        try {
            faces.unregisterVerbs();
        } catch (const std::exception&) {}
        return 0;
    case Face::ArchiveManager:
        return faces.runArchiveManager(*argument);
    case Face::Backup:
        return faces.runBackup(*argument);
    }
    return 0;
}

} // namespace brx
