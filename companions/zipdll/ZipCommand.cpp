#include "zipdll/ZipCommand.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace zipdll {

namespace {

std::string text(const char* value) {
    return value ? std::string(value) : std::string();
}

std::vector<std::string> splitSuffixes(const std::string& list) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(':', start), list.size());
        std::string suffix = list.substr(start, end - start);
        std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!suffix.empty()) out.push_back(suffix.front() == '.' ? suffix : "." + suffix);
        start = end + 1;
    }
    return out;
}

} // namespace

std::string validateRecord(const BrxZipCommandRecord* record) {
    if (!record) return "no command record";
    if (record->check != BRX_RECORD_CHECK) return "the command record has a wrong check value";
    if (record->version < BRX_ZIP_SHORT_RECORD_VERSION)
        return "the command record is of an older layout than this library takes";
    if (!record->zipFileName || !*record->zipFileName) return "no archive name";
    if (record->specCount < 0 || (record->specCount > 0 && !record->specs))
        return "the file patterns are missing";
    if (record->excludeCount < 0 || (record->excludeCount > 0 && !record->excludes))
        return "the exclusions are missing";
    return {};
}

ZipCommand readCommand(const BrxZipCommandRecord& record) {
    ZipCommand command;
    command.deleteEntries = record.deleteEntries != 0;
    command.archivePath = text(record.zipFileName);
    command.tempDir = text(record.tempDir);
    for (int32_t i = 0; i < record.specCount; ++i)
        if (record.specs[i].spec && *record.specs[i].spec)
            command.specs.push_back(record.specs[i].spec);
    const bool hasV160 = record.version >= BRX_RECORD_V160_FIELDS;
    for (int32_t i = 0; hasV160 && i < record.excludeCount; ++i)
        if (record.excludes[i] && *record.excludes[i])
            command.excludes.push_back(record.excludes[i]);
    command.storeSuffixes = splitSuffixes(text(record.storeSuffixes));
    if (record.password) {
        const size_t bytes = strnlen(record.password, BRX_PASSWORD_MAX_BYTES);
        command.password.assign(record.password, brxPasswordBytes(record.password, bytes));
    }
    command.encrypt = record.encrypt != 0;
    command.hiddenFiles = record.hiddenFiles != 0;
    command.dirEntries = record.dirEntries != 0;
    command.namesOnly = record.namesOnly != 0;
    command.recurse = record.recurse != 0;
    command.forceDos = record.forceDos != 0;
    command.move = record.move != 0;
    command.update = record.update != 0;
    command.freshen = record.freshen != 0 && !command.update;
    command.zipTime = record.zipTime != 0;
    command.verbose = record.verbose != 0 || record.trace != 0;
    command.hasComment = hasV160 && record.comment != nullptr;
    command.comment = hasV160 ? text(record.comment) : std::string();
    command.level = std::clamp<int>(record.level, 0, 9);
    return command;
}

} // namespace zipdll
