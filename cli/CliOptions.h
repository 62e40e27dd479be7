#pragma once
// The command line of brxzip: one command, its flags and its operands.

#include <QString>
#include <QStringList>
#include <optional>

namespace brx::cli {

struct CliOptions {
    QString command;      // list, add, extract, test, delete, help
    QString archive;
    QStringList specs;
    QStringList excludes; // add -x
    QString dest;         // extract -d
    QString password;     // -P
    bool passwordGiven = false;
    int level = 6;        // add -l
    bool recurse = false; // add -r
    bool junkPaths = false;   // -j
    bool update = false;      // -u
    bool freshen = false;     // -f
    bool move = false;        // add -m
    bool overwrite = false;   // extract -o
};

// The options, or nothing with the reason in error.
std::optional<CliOptions> parseCommandLine(const QStringList& args, QString& error);

QString usageText();

} // namespace brx::cli
