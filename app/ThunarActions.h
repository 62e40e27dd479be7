#pragma once
// The program's entries among the custom actions of the Thunar file manager
// ($XDG_CONFIG_HOME/Thunar/uca.xml). The user's own actions are copied
// through untouched; ours are recognised by their unique id prefix.

#include <QList>
#include <QString>

namespace brx {

struct ThunarAction {
    QString uniqueId; // starts with kThunarIdPrefix
    QString name;
    QString icon;
    QString command; // with %f where the selected file goes
    QString description;
    QString patterns;    // "*.zip;*.ZIP", or "*" for folders
    QString fileTypeTag; // "directories" or "other-files"
};

inline const QString kThunarIdPrefix = QStringLiteral("brx_explo-");

// Replaces our actions in the file with actions (none removes them). An
// unreadable file is left alone and reported in *problem; a missing file is
// created only when there is something to add.
bool mergeThunarActions(const QString& filePath, const QList<ThunarAction>& actions,
                        QString* problem);

} // namespace brx
