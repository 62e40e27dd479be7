#pragma once
// The command line of brxzip: one command, its flags and its operands.

#include <QString>
#include <QStringList>
#include <optional>

namespace brx::cli {

struct CliOptions {
    QString command; // a name of the command table, or "help"
    QString archive;
    QStringList specs;
    QStringList excludes; // add -x
    QString dest;         // extract -d
    QString password;     // -P
    bool passwordGiven = false;
    int level = 6;          // add -l
    bool recurse = false;   // add -r
    bool junkPaths = false; // -j
    bool update = false;    // -u
    bool freshen = false;   // -f
    bool move = false;      // add -m
    bool noHidden = false;  // add --no-hidden
    bool overwrite = false; // extract -o: replace files; span -o: replace volumes

    // sfx: the self-extractor's header and icon.
    std::optional<QString> caption, defaultDir, message, commandLine;
    QString iconFile;
    // askcmdline, askfiles, hideoverwritebox, checksize, autorun, nosuccessmsg
    QStringList sfxOptions;
    QString overwriteMode; // confirm, always, never
    qint64 volumeSize = 0; // span -s; 0: the volume's free space
};

// The options, or nothing with the reason in error.
std::optional<CliOptions> parseCommandLine(const QStringList& args, QString& error);

} // namespace brx::cli
