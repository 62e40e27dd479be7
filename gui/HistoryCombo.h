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

// Writes the list and the shown text, replacing the section. An empty list
// writes nothing, so the earlier history comes back at the next start.
void SaveHistory(QComboBox* box, const QString& settingsFile, const QString& section);

// Adds the shown text to the list unless it is there already (letter case
// ignored) and shows the new entry.
void RememberCurrentText(QComboBox* box);

// Replaces the list by the volume roots and shows the second of them.
void ResetToDrives(QComboBox* box, const IVolumes& volumes);

} // namespace brx
