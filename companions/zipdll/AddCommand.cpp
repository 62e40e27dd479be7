#include "zipdll/ArchiveCommands.h"

#include "zipcore/ZipFormat.h"
#include "zipdll/ArchiveOutput.h"
#include "zipdll/CommandError.h"
#include "zipdll/SourceCollector.h"
#include "zipdll/StoredNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace zipdll {

using namespace zipcore;

namespace {

std::optional<ExistingArchive> openExisting(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || info.st_size == 0) return std::nullopt;
    std::optional<ExistingArchive> archive(std::in_place);
    if (!archive->open(path))
        throw CommandError{BRX_MSG_ARCHIVE_UNREADABLE, "Cannot update " + path + ": " +
                                                           archive->error() +
                                                           "; it was not changed"};
    return archive;
}

std::vector<SourceItem> collectSources(const ZipCommand& command, CallbackReporter& reporter) {
    CollectOptions options{command.recurse,    command.hiddenFiles, command.namesOnly,
                           command.dirEntries, command.forceDos,    command.excludes};
    SourceCollector collector(options, reporter);
    for (const std::string& spec : command.specs) collector.addSpec(spec);
    std::vector<SourceItem> items = collector.items();
    struct stat archive {};
    if (::stat(command.archivePath.c_str(), &archive) == 0) {
        const auto self = std::find_if(items.begin(), items.end(), [&](const SourceItem& item) {
            return item.info.st_dev == archive.st_dev && item.info.st_ino == archive.st_ino;
        });
        if (self != items.end()) {
            reporter.message(BRX_MSG_INFO, "The archive itself is skipped: " + self->path);
            items.erase(self);
        }
    }
    return items;
}

bool hasStoreSuffix(const ZipCommand& command, const std::string& name) {
    const std::string base(baseName(name));
    const size_t dot = base.rfind('.');
    if (dot == std::string::npos) return false;
    std::string suffix = base.substr(dot);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(command.storeSuffixes.begin(), command.storeSuffixes.end(), suffix) !=
           command.storeSuffixes.end();
}

uint32_t packedDosTime(time_t t) {
    return toDosDateTime(t).packed();
}

class JobPlanner {
public:
    JobPlanner(const ZipCommand& command, const ExistingArchive* existing)
        : m_command(command)
        , m_existing(existing) {
        if (existing)
            for (size_t i = 0; i < existing->entries().size(); ++i)
                m_oldIndex.emplace(existing->entries()[i].entry.name, i);
    }

    std::vector<OutputJob> plan(const std::vector<SourceItem>& items) {
        std::map<size_t, OutputJob> replacements;
        std::vector<OutputJob> added;
        for (const SourceItem& item : items) {
            OutputJob job{item.isFolder ? OutputJob::Kind::Folder : OutputJob::Kind::File, 0, &item,
                          hasStoreSuffix(m_command, item.storedName)};
            const auto old = m_oldIndex.find(item.storedName);
            if (old == m_oldIndex.end()) {
                if (!m_command.freshen) added.push_back(job);
            } else if (!item.isFolder && replaces(m_existing->entries()[old->second].entry, item)) {
                replacements.emplace(old->second, job);
            }
        }
        m_changes = replacements.size() + added.size();
        std::vector<OutputJob> jobs;
        const size_t oldCount = m_existing ? m_existing->entries().size() : 0;
        for (size_t i = 0; i < oldCount; ++i) {
            const auto replacement = replacements.find(i);
            jobs.push_back(replacement != replacements.end()
                               ? replacement->second
                               : OutputJob{OutputJob::Kind::Keep, i, nullptr, false});
        }
        jobs.insert(jobs.end(), added.begin(), added.end());
        return jobs;
    }

    size_t changes() const { return m_changes; }

private:
    bool replaces(const ZipEntry& entry, const SourceItem& item) const {
        if (!m_command.update && !m_command.freshen) return true;
        const uint32_t entryTime = (static_cast<uint32_t>(entry.dosDate) << 16) | entry.dosTime;
        return packedDosTime(item.info.st_mtime) > entryTime;
    }

    const ZipCommand& m_command;
    const ExistingArchive* m_existing;
    std::map<std::string, size_t> m_oldIndex;
    size_t m_changes = 0;
};

std::string obtainPassword(const ZipCommand& command, CallbackReporter& reporter) {
    if (!command.encrypt || !command.password.empty()) return command.password;
    const std::optional<std::string> answer = reporter.askPassword(command.archivePath, true);
    if (!answer)
        throw CommandError{BRX_MSG_NO_PASSWORD, "No password was given to encrypt " +
                                                    command.archivePath + "; nothing was added"};
    return *answer;
}

void reportTotals(const std::vector<OutputJob>& jobs, CallbackReporter& reporter) {
    uint64_t count = 0, bytes = 0;
    for (const OutputJob& job : jobs) {
        if (job.kind == OutputJob::Kind::Keep) continue;
        ++count;
        bytes +=
            job.kind == OutputJob::Kind::File ? static_cast<uint64_t>(job.source->info.st_size) : 0;
    }
    reporter.totalFiles(count);
    reporter.totalSize(bytes);
}

void setArchiveTime(const std::string& path, uint32_t packed) {
    const time_t when =
        fromDosDateTime(static_cast<uint16_t>(packed >> 16), static_cast<uint16_t>(packed));
    if (when < 0) return;
    const struct timespec times[2] = {{when, 0}, {when, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void deleteMovedSources(const BuildOutcome& outcome, CallbackReporter& reporter) {
    std::vector<const SourceItem*> folders;
    for (const SourceItem* source : outcome.writtenSources) {
        if (source->isFolder) {
            folders.push_back(source);
        } else if (::unlink(source->path.c_str()) != 0) {
            reporter.message(BRX_MSG_MOVE_DELETE_FAILED,
                             "Cannot delete " + source->path +
                                 " after moving it: " + std::strerror(errno));
        }
    }
    // Deepest folders first; a folder still holding files that were not
    // archived stays.
    std::sort(folders.begin(), folders.end(), [](const SourceItem* a, const SourceItem* b) {
        return a->path.size() > b->path.size();
    });
    for (const SourceItem* folder : folders) ::rmdir(folder->path.c_str());
}

} // namespace

int32_t runAdd(const ZipCommand& command, CallbackReporter& reporter) {
    if (command.hasComment && command.comment.size() > kMaxCommentSize)
        throw CommandError{BRX_MSG_COMMENT_TOO_LONG,
                           "The comment for " + command.archivePath +
                               " is longer than 65,535 bytes; nothing was added"};
    std::optional<ExistingArchive> existing = openExisting(command.archivePath);
    const std::vector<SourceItem> items = collectSources(command, reporter);
    JobPlanner planner(command, existing ? &*existing : nullptr);
    const std::vector<OutputJob> jobs = planner.plan(items);
    if (planner.changes() == 0) {
        reporter.message(BRX_MSG_NOTHING_TO_DO, "Nothing to do: archive not created");
        return 0;
    }
    ZipCommand effective = command;
    effective.password = obtainPassword(command, reporter);
    reportTotals(jobs, reporter);
    OutputRequest request{&effective, existing ? &*existing : nullptr,
                          command.hasComment ? command.comment
                                             : (existing ? existing->comment() : std::string()),
                          command.move};
    const BuildOutcome outcome = writeArchive(request, jobs, reporter);
    if (command.zipTime) setArchiveTime(command.archivePath, outcome.newestDosTime);
    if (command.move) deleteMovedSources(outcome, reporter);
    return static_cast<int32_t>(outcome.newEntries);
}

} // namespace zipdll
