#include "EntryExtractor.h"
#include "FileSystem.h"
#include "SafePath.h"
#include "SfxRun.h"

namespace sfxcore {
namespace {

constexpr int kPasswordTries = 3;

// Decides, entry by entry, whether an existing file is replaced; "to all"
// answers stick for the rest of the run.
class OverwritePolicy {
public:
    OverwritePolicy(const SfxSettings& settings, const std::string& caption, SfxUi& ui)
        : m_mode(settings.overwrite)
        , m_ask(!settings.hideOverwriteBox)
        , m_caption(caption)
        , m_ui(ui) {}
    bool cancelled = false;

    bool mayWrite(const std::string& path) {
        if (!fileExists(path) || m_mode == OverwriteMode::Always) return true;
        if (m_mode == OverwriteMode::Never) return false;
        // A confirming mode whose box is hidden replaces without asking.
        if (!m_ask) return true;
        switch (m_ui.askOverwrite(m_caption, path)) {
        case OverwriteAnswer::Yes:
            return true;
        case OverwriteAnswer::No:
            return false;
        case OverwriteAnswer::YesToAll:
            m_mode = OverwriteMode::Always;
            return true;
        case OverwriteAnswer::NoToAll:
            m_mode = OverwriteMode::Never;
            return false;
        case OverwriteAnswer::Cancel:
            cancelled = true;
            return false;
        }
        return false;
    }

private:
    OverwriteMode m_mode;
    bool m_ask;
    const std::string& m_caption;
    SfxUi& m_ui;
};

// Keeps the last password that worked and asks again when it does not open an entry.
class PasswordKeeper {
public:
    PasswordKeeper(EntryExtractor& extractor, const std::string& caption, SfxUi& ui)
        : m_extractor(extractor)
        , m_caption(caption)
        , m_ui(ui) {}
    bool unlock(const ArchiveEntry& entry) {
        if (!entry.encrypted() || (m_known && m_extractor.passwordOpens(entry, m_password)))
            return true;
        for (int attempt = 0; attempt < kPasswordTries; ++attempt) {
            const auto typed = m_ui.askPassword(m_caption, entry.name);
            if (!typed) return false;
            if (m_extractor.passwordOpens(entry, *typed)) {
                m_password = *typed;
                m_known = true;
                return true;
            }
        }
        return false;
    }
    const std::string& password() const { return m_password; }

private:
    EntryExtractor& m_extractor;
    const std::string& m_caption;
    SfxUi& m_ui;
    std::string m_password;
    bool m_known = false;
};

} // namespace

ExtractCounts extractAll(SfxArchive& archive, const std::string& folder,
                         const SfxSettings& settings, const std::string& caption, SfxUi& ui) {
    ExtractCounts counts;
    EntryExtractor extractor(archive);
    OverwritePolicy overwrite(settings, caption, ui);
    PasswordKeeper passwords(extractor, caption, ui);
    const auto& entries = archive.entries();
    for (size_t i = 0; i < entries.size() && !overwrite.cancelled; ++i) {
        const ArchiveEntry& entry = entries[i];
        ui.progress(i, entries.size(), entry.name);
        const auto target = safeTargetPath(folder, entry.name);
        if (!target) {
            ++counts.failed;
            continue;
        }
        if (entry.isFolder()) {
            makeFolders(*target);
            continue;
        }
        const size_t cut = target->find_last_of(kSeparator);
        makeFolders(target->substr(0, cut));
        if (!overwrite.mayWrite(*target)) {
            ++counts.skipped;
            continue;
        }
        if (!passwords.unlock(entry) ||
            extractor.extract(entry, *target, passwords.password()) != ExtractResult::Ok)
            ++counts.failed;
        else
            ++counts.written;
    }
    ui.progress(entries.size(), entries.size(), std::string());
    return counts;
}

} // namespace sfxcore
