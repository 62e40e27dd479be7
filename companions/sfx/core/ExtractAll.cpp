#include "EntryExtractor.h"
#include "FileSystem.h"
#include "SafePath.h"
#include "SfxRun.h"
#include "SfxTexts.h"

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

const char* reasonOf(ExtractResult result) {
    switch (result) {
    case ExtractResult::WrongPassword:
        return "mot de passe incorrect";
    case ExtractResult::CrcError:
        return "données altérées (erreur CRC)";
    case ExtractResult::Unsupported:
        return "méthode de compression non prise en charge";
    case ExtractResult::WriteError:
        return "écriture impossible";
    default:
        return "archive endommagée";
    }
}

// One password question per archive: the password that opened an entry is
// tried first on every later one, and asked again only where it does not fit.
// A password can pass the one-byte check of the encryption header by chance
// (1 in 256) and still be wrong: the CRC then fails and counts as a wrong
// password, so the user is asked again instead of losing the file silently.
class PasswordKeeper {
public:
    PasswordKeeper(EntryExtractor& extractor, const std::string& caption, SfxUi& ui)
        : m_extractor(extractor)
        , m_caption(caption)
        , m_ui(ui) {}
    bool cancelled = false;

    ExtractResult extract(const ArchiveEntry& entry, const std::string& target) {
        if (!entry.encrypted()) return m_extractor.extract(entry, target, {});
        bool wrongBefore = false;
        if (m_known) {
            const ExtractResult result = tryPassword(entry, target, m_password);
            if (result != ExtractResult::WrongPassword) return result;
        }
        for (int attempt = 0; attempt < kPasswordTries; ++attempt) {
            const auto typed = m_ui.askPassword(m_caption, displayName(entry.name), wrongBefore);
            if (!typed) {
                cancelled = true;
                return ExtractResult::WrongPassword;
            }
            const ExtractResult result = tryPassword(entry, target, *typed);
            if (result != ExtractResult::WrongPassword) {
                if (result == ExtractResult::Ok) {
                    m_password = *typed;
                    m_known = true;
                }
                return result;
            }
            wrongBefore = true;
        }
        return ExtractResult::WrongPassword;
    }

private:
    ExtractResult tryPassword(const ArchiveEntry& entry, const std::string& target,
                              const std::string& password) {
        if (!m_extractor.passwordOpens(entry, password)) return ExtractResult::WrongPassword;
        // Past the check, wrong keys give garbage: a CRC mismatch for stored
        // data, most often a data error for deflated data.
        const ExtractResult result = m_extractor.extract(entry, target, password);
        const bool garbage =
            result == ExtractResult::CrcError || result == ExtractResult::ReadError;
        return garbage ? ExtractResult::WrongPassword : result;
    }

    EntryExtractor& m_extractor;
    const std::string& m_caption;
    SfxUi& m_ui;
    std::string m_password;
    bool m_known = false;
};

// Where the entry goes, or why it may not be written.
std::optional<std::string> targetOf(const std::string& folder, const ArchiveEntry& entry,
                                    std::string& refusal) {
    const auto target = safeTargetPath(folder, entry.name);
    if (!target) {
        refusal = "nom refusé (chemin hors du dossier ou caractère interdit)";
        return std::nullopt;
    }
    if (hasReservedWindowsName(target->substr(withSeparator(folder).size()))) {
        refusal = kReservedNameText;
        return std::nullopt;
    }
    return target;
}

} // namespace

std::string displayName(const std::string& entryName) {
    std::string shown = entryName;
    for (char& c : shown)
        if (c == '/') c = '\\';
    return shown;
}

ExtractCounts extractAll(SfxArchive& archive, const std::string& folder,
                         const SfxSettings& settings, const std::string& caption, SfxUi& ui) {
    ExtractCounts counts;
    EntryExtractor extractor(archive);
    OverwritePolicy overwrite(settings, caption, ui);
    PasswordKeeper passwords(extractor, caption, ui);
    const auto& entries = archive.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const ArchiveEntry& entry = entries[i];
        if (!ui.progress(caption, i, entries.size(), displayName(entry.name))) {
            counts.cancelled = true;
            break;
        }
        std::string refusal;
        const auto target = targetOf(folder, entry, refusal);
        if (!target) {
            counts.failures.push_back({displayName(entry.name), refusal});
            continue;
        }
        if (entry.isFolder()) {
            makeFolders(*target);
            continue;
        }
        makeFolders(target->substr(0, target->find_last_of(kSeparator)));
        if (!overwrite.mayWrite(*target)) {
            if (overwrite.cancelled) {
                counts.cancelled = true;
                break;
            }
            ++counts.skipped;
            continue;
        }
        const ExtractResult result = passwords.extract(entry, *target);
        if (passwords.cancelled) {
            counts.cancelled = true;
            break;
        }
        if (result == ExtractResult::Ok)
            ++counts.written;
        else
            counts.failures.push_back({displayName(entry.name), reasonOf(result)});
    }
    ui.progress(caption, entries.size(), entries.size(), std::string());
    return counts;
}

} // namespace sfxcore
