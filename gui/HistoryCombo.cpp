#include "gui/HistoryCombo.h"

#include "platform/Volumes.h"
#include "settings/PrivateProfile.h"
#include "settings/SettingsKeys.h"
#include "support/PathNames.h"

#include <QComboBox>
#include <QLineEdit>

namespace brx {

namespace {

const QString kLast = QString::fromLatin1(settings::kHistoryLastKey);

QString itemKey(int index) {
    return QString::fromLatin1(settings::kHistoryItemPrefix) + QString::number(index);
}

void showText(QComboBox* box, const QString& text) {
    if (box->isEditable())
        box->setEditText(text);
    else
        box->setCurrentIndex(box->findText(text));
}

QString trimmedRight(const QString& text) {
    int end = text.size();
    while (end > 0 && text.at(end - 1).isSpace()) --end;
    return text.left(end);
}

// Paths are told apart by letter case, as the file system does: /srv/Data
// and /srv/data are two folders. Other texts (titles, name filters, which
// match names without regard to case) compare as the user reads them.
bool sameEntry(const QString& entry, const QString& text, HistoryKind kind) {
    if (kind == HistoryKind::Paths) return entry == text;
    return QString::localeAwareCompare(entry.toLower(), text.toLower()) == 0;
}

} // namespace

void LoadHistory(QComboBox* box, const QString& settingsFile, const QString& section,
                 const std::optional<QString>& defaultItem) {
    const PrivateProfile profile(settingsFile);
    const QStringList keys = profile.keys(section);
    QStringList items;
    if (keys.isEmpty()) {
        if (!defaultItem) return;
        items.append(*defaultItem);
    } else {
        // Save writes K-1 items and "last": the key "n<K-1>" is absent and reads empty.
        for (int i = 0; i < keys.size(); ++i) {
            const QString value = profile.readString(section, itemKey(i));
            if (!value.isEmpty()) items.append(value);
        }
    }
    box->clear();
    box->addItems(items);
    const QString last = keys.isEmpty() ? QString() : profile.readString(section, kLast);
    const QString shown = !last.isEmpty() ? last : items.value(0);
    showText(box, shown);
    if (box->lineEdit() && isVolumeRoot(shown, systemVolumes()))
        box->lineEdit()->setCursorPosition(shown.size());
}

void SaveHistory(QComboBox* box, const QString& settingsFile, const QString& section) {
    if (box->count() == 0) return;
    const QString shown = box->currentText();
    for (int i = box->count() - 1; i >= 0; --i)
        if (trimmedRight(box->itemText(i)).isEmpty()) box->removeItem(i);
    // A line break cannot stand in a settings line (a folder name may hold
    // one): such an entry is left out of the file, such a shown text is
    // stored empty, and the section is replaced in one write.
    PrivateProfile::Entries entries;
    for (int i = 0; i < box->count(); ++i)
        if (PrivateProfile::isWritableValue(box->itemText(i)))
            entries.append({itemKey(entries.size()), box->itemText(i)});
    entries.append({kLast, PrivateProfile::isWritableValue(shown) ? shown : QString()});
    PrivateProfile(settingsFile).writeSection(section, entries);
}

void RememberCurrentText(QComboBox* box, HistoryKind kind) {
    const QString text = box->currentText();
    for (int i = 0; i < box->count(); ++i)
        if (sameEntry(box->itemText(i), text, kind)) return;
    box->addItem(text);
    box->setCurrentIndex(box->count() - 1);
}

void ResetToDrives(QComboBox* box, const IVolumes& volumes) {
    box->clear();
    QStringList roots;
    for (const QString& root : volumes.volumeRoots())
        if (!roots.contains(root)) roots.append(root);
    box->addItems(roots);
    if (!roots.isEmpty()) showText(box, roots.value(roots.size() > 1 ? 1 : 0));
}

} // namespace brx
