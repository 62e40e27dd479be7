#pragma once
// Shows the verbs of the class-root key store on the Linux desktop, so that
// file managers offer them: a desktop entry for the program ("Open with",
// with one action per verb), Dolphin service menus, Nemo actions, Nautilus
// scripts, Thunar custom actions, the program's icon, and the default
// application of application/zip while ".zip" belongs to our class. Every
// file written is listed in a manifest beside the key store, so a later run
// removes exactly what an earlier one wrote and nothing of the user's.

#include "app/ExportedVerbs.h"

#include <QStringList>

namespace brx {

struct DesktopFolders {
    QString configHome; // $XDG_CONFIG_HOME or ~/.config
    QString dataHome;   // $XDG_DATA_HOME or ~/.local/share
    static DesktopFolders fromEnvironment();
};

inline const QString kDesktopEntryId = QStringLiteral("brx_explo.desktop");
inline const QString kIconName = QStringLiteral("brx_explo");

class DesktopExport {
public:
    explicit DesktopExport(DesktopFolders folders);

    // Brings the exported files in line with plan; returns what went wrong
    // (the rest is done anyway).
    QStringList apply(const ExportPlan& plan);

    QString desktopEntryPath() const;
    QString manifestPath() const;
    QString mimeappsPath() const;
    QString thunarActionsPath() const;

private:
    struct Manifest {
        QStringList files;
        bool ownsZipDefault = false;
        QString previousZipDefault;
    };
    Manifest readManifest() const;
    void writeManifest(const Manifest& manifest);

    void writeFile(const QString& path, const QString& text, bool executable);
    void exportDesktopEntry(const ExportPlan& plan);
    void exportServiceMenus(const ExportPlan& plan);
    void exportNemoActions(const ExportPlan& plan);
    void exportNautilusScripts(const ExportPlan& plan, const QStringList& ownedBefore);
    void exportThunarActions(const ExportPlan& plan);
    void exportIcons(const ExportPlan& plan);
    void updateZipDefault(const ExportPlan& plan, Manifest& manifest);

    DesktopFolders m_folders;
    QStringList m_written;
    QStringList m_problems;
};

// Runs the export for the user's folders from the store; problems go to
// stderr and never stop the program.
void exportShellVerbs(const IClassRootStore& store);

} // namespace brx
