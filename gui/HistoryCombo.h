#pragma once
// History lists: a combo box whose entries and shown text live in a section
// of the settings file (keys "n0", "n1", ... and "last").

#include <QString>
#include <optional>

class QComboBox;

namespace brx {

class IVolumes;

// Fills the box from the section. An empty section gives the default item
// when there is one, and otherwise leaves the box exactly as it was.
void LoadHistory(QComboBox* box, const QString& settingsFile, const QString& section,
                 const std::optional<QString>& defaultItem);

// Writes the list and the shown text, replacing the section in one write. An
// empty list writes nothing, so the earlier history comes back at the next
// start. Entries holding a line break are not written (they would break the
// file's lines); a shown text holding one is written empty.
void SaveHistory(QComboBox* box, const QString& settingsFile, const QString& section);

// What a history holds: folder paths (the extraction and storage folders),
// or texts (titles, file-name filters).
enum class HistoryKind {
    Paths,
    Texts
};

// Adds the shown text to the list unless it is there already and shows the
// new entry. Paths compare with their letter case, texts without.
void RememberCurrentText(QComboBox* box, HistoryKind kind);

// Replaces the list by the volume roots and shows the second of them.
void ResetToDrives(QComboBox* box, const IVolumes& volumes);

} // namespace brx
