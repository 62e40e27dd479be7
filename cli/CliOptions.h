#pragma once
// The command line of brxzip: one command, its flags and its operands.

#include <QString>
#include <QStringList>
#include <optional>

namespace brx::cli {

struct CliOptions {
    QString command; // list, add, extract, test, delete, sfx, unsfx, span, help
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
    bool overwrite = false; // extract -o

    // sfx: the self-extractor's header and icon.
    std::optional<QString> caption, defaultDir, message, commandLine;
    QString iconFile;
    QStringList
        sfxOptions; // askcmdline, askfiles, hideoverwritebox, checksize, autorun, nosuccessmsg
    QString overwriteMode; // confirm, always, never
    qint64 volumeSize = 0; // span -s; 0: the volume's free space
};

// The options, or nothing with the reason in error.
std::optional<CliOptions> parseCommandLine(const QStringList& args, QString& error);

QString usageText();

} // namespace brx::cli
