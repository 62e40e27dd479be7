#include "app/DesktopExport.h"

#include "app/DesktopQuoting.h"
#include "app/MimeAppsList.h"
#include "app/ThunarActions.h"
#include "platform/TextClassRootStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace brx {

namespace {

const QString kZipMime = QStringLiteral("application/zip");
const QString kDefaultGroup = QStringLiteral("Default Applications");
const QStringList kExeMimes = {QStringLiteral("application/x-ms-dos-executable"),
                               QStringLiteral("application/x-msdownload"),
                               QStringLiteral("application/vnd.microsoft.portable-executable")};
const QString kDescription =
    QStringLiteral("Utilitaire de sauvegarde et de manipulation d'archives ZIP/EXE.");

QString envFolder(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

// The command a file manager runs, with placeholder where the file goes.
QString execLine(const ExportedVerb& verb, const QString& placeholder) {
    return execArgument(verb.program) + QLatin1Char(' ') + execArgument(verb.prefix) +
           QLatin1Char(' ') + placeholder;
}

QString entryLine(const QString& key, const QString& value) {
    return key + QLatin1Char('=') + keyFileValue(value) + QLatin1Char('\n');
}

QStringList mimeTypesOf(VerbTarget target) {
    switch (target) {
    case VerbTarget::Folder:
        return {QStringLiteral("inode/directory")};
    case VerbTarget::Executable:
        return kExeMimes;
    case VerbTarget::Zip:
        return {kZipMime};
    }
    return {};
}

QString targetName(VerbTarget target) {
    switch (target) {
    case VerbTarget::Folder:
        return QStringLiteral("folder");
    case VerbTarget::Executable:
        return QStringLiteral("exe");
    case VerbTarget::Zip:
        return QStringLiteral("zip");
    }
    return {};
}

QString actionGroups(const QList<ExportedVerb>& verbs, const QString& placeholder) {
    QString text;
    for (const ExportedVerb& verb : verbs) {
        text += QStringLiteral("\n[Desktop Action ") + verb.id + QStringLiteral("]\n");
        text += entryLine(QStringLiteral("Name"), verb.label);
        text += entryLine(QStringLiteral("Icon"), kIconName);
        text += entryLine(QStringLiteral("Exec"), execLine(verb, placeholder));
    }
    return text;
}

QString actionIds(const QList<ExportedVerb>& verbs) {
    QString ids;
    for (const ExportedVerb& verb : verbs) ids += verb.id + QLatin1Char(';');
    return ids;
}

// The verb that opening a file with the program runs: opening a ZIP for
// extraction when there is one, else the first.
ExportedVerb openingVerb(const QList<ExportedVerb>& verbs) {
    for (const ExportedVerb& verb : verbs)
        if (verb.prefix == QStringLiteral("-!")) return verb;
    return verbs.first();
}

} // namespace

DesktopFolders DesktopFolders::fromEnvironment() {
    const QString home = QDir::homePath();
    return {envFolder("XDG_CONFIG_HOME", home + QStringLiteral("/.config")),
            envFolder("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))};
}

DesktopExport::DesktopExport(DesktopFolders folders) : m_folders(std::move(folders)) {}

QString DesktopExport::desktopEntryPath() const {
    return m_folders.dataHome + QStringLiteral("/applications/") + kDesktopEntryId;
}
QString DesktopExport::manifestPath() const {
    return m_folders.configHome + QStringLiteral("/BRX_EXPLO/exported.txt");
}
QString DesktopExport::mimeappsPath() const {
    return m_folders.configHome + QStringLiteral("/mimeapps.list");
}
QString DesktopExport::thunarActionsPath() const {
    return m_folders.configHome + QStringLiteral("/Thunar/uca.xml");
}

QStringList DesktopExport::apply(const ExportPlan& plan) {
    m_written.clear();
    m_problems.clear();
    Manifest manifest = readManifest();

    exportDesktopEntry(plan);
    exportServiceMenus(plan);
    exportNemoActions(plan);
    exportNautilusScripts(plan, manifest.files);
    exportThunarActions(plan);
    exportIcons(plan);
    updateZipDefault(plan, manifest);

    for (const QString& old : manifest.files)
        if (!m_written.contains(old) && QFileInfo::exists(old) && !QFile::remove(old))
            m_problems << QStringLiteral("cannot remove ") + old;
    manifest.files = m_written;
    writeManifest(manifest);
    return m_problems;
}

DesktopExport::Manifest DesktopExport::readManifest() const {
    Manifest manifest;
    QFile file(manifestPath());
    if (!file.open(QIODevice::ReadOnly)) return manifest;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString kind = line.section(QLatin1Char('\t'), 0, 0);
        const QString value = line.section(QLatin1Char('\t'), 1);
        if (kind == QStringLiteral("file") && value.startsWith(QLatin1Char('/')))
            manifest.files << value;
        else if (kind == QStringLiteral("zip-default-before")) {
            manifest.ownsZipDefault = true;
            manifest.previousZipDefault = value;
        }
    }
    return manifest;
}

void DesktopExport::writeManifest(const Manifest& manifest) {
    QString text = QStringLiteral("# Files exported by BRX_EXPLO, removed when no longer wanted\n");
    for (const QString& file : manifest.files) text += QStringLiteral("file\t") + file + '\n';
    if (manifest.ownsZipDefault)
        text += QStringLiteral("zip-default-before\t") + manifest.previousZipDefault + '\n';
    const QStringList written = m_written;
    writeFile(manifestPath(), text, false);
    m_written = written; // the manifest does not list itself
}

void DesktopExport::writeFile(const QString& path, const QString& text, bool executable) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        m_problems << QStringLiteral("cannot write ") + path;
        return;
    }
    if (executable)
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner |
                                        QFileDevice::ExeGroup | QFileDevice::ExeOther);
    m_written << path;
}

void DesktopExport::exportDesktopEntry(const ExportPlan& plan) {
    const QList<ExportedVerb> verbs =
        plan.verbsFor(VerbTarget::Zip) + plan.verbsFor(VerbTarget::Executable);
    if (verbs.isEmpty()) return;
    QStringList mimes;
    if (!plan.verbsFor(VerbTarget::Zip).isEmpty()) mimes << kZipMime;
    if (!plan.verbsFor(VerbTarget::Executable).isEmpty()) mimes << kExeMimes;
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += entryLine(QStringLiteral("Name"), QStringLiteral("BRX_EXPLO"));
    text += entryLine(QStringLiteral("Comment"), kDescription);
    text += entryLine(QStringLiteral("Icon"), kIconName);
    text += entryLine(QStringLiteral("Exec"), execLine(openingVerb(verbs), QStringLiteral("%f")));
    text += QStringLiteral("Terminal=false\nNoDisplay=true\n");
    text += QStringLiteral("Categories=Utility;Archiving;Compression;\n");
    text += QStringLiteral("MimeType=") + mimes.join(QLatin1Char(';')) + QStringLiteral(";\n");
    text += QStringLiteral("Actions=") + actionIds(verbs) + QLatin1Char('\n');
    text += actionGroups(verbs, QStringLiteral("%f"));
    writeFile(desktopEntryPath(), text, false);
}

// Dolphin reads per-user service menus from kio/servicemenus and wants
// them executable. They are written as application entries that are never
// displayed, which Dolphin reads the same way and the desktop validator accepts.
void DesktopExport::exportServiceMenus(const ExportPlan& plan) {
    for (const VerbTarget target : {VerbTarget::Folder, VerbTarget::Executable, VerbTarget::Zip}) {
        const QList<ExportedVerb> verbs = plan.verbsFor(target);
        if (verbs.isEmpty()) continue;
        QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
        text += entryLine(QStringLiteral("Name"), QStringLiteral("BRX_EXPLO"));
        text += entryLine(QStringLiteral("Icon"), kIconName);
        text += entryLine(QStringLiteral("Exec"), execLine(verbs.first(), QStringLiteral("%f")));
        text += QStringLiteral("NoDisplay=true\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n");
        text += QStringLiteral("MimeType=") + mimeTypesOf(target).join(QLatin1Char(';')) +
                QStringLiteral(";\n");
        text += QStringLiteral("Actions=") + actionIds(verbs) + QLatin1Char('\n');
        text += actionGroups(verbs, QStringLiteral("%f"));
        writeFile(m_folders.dataHome + QStringLiteral("/kio/servicemenus/brx_explo-") +
                      targetName(target) + QStringLiteral(".desktop"),
                  text, true);
    }
}

void DesktopExport::exportNemoActions(const ExportPlan& plan) {
    for (const ExportedVerb& verb : plan.verbs) {
        QString text = QStringLiteral("[Nemo Action]\nActive=true\n");
        text += entryLine(QStringLiteral("Name"), verb.label);
        text += entryLine(QStringLiteral("Comment"), kDescription);
        text += entryLine(QStringLiteral("Exec"), execLine(verb, QStringLiteral("%F")));
        text += entryLine(QStringLiteral("Icon-Name"), kIconName);
        text += QStringLiteral("Selection=s\n");
        if (verb.target == VerbTarget::Folder)
            text += QStringLiteral("Extensions=dir;\n");
        else if (verb.target == VerbTarget::Executable)
            text += QStringLiteral("Extensions=exe;EXE;\n");
        else
            text += QStringLiteral("Extensions=zip;ZIP;\n");
        writeFile(m_folders.dataHome + QStringLiteral("/nemo/actions/brx_explo-") + verb.id +
                      QStringLiteral(".nemo_action"),
                  text, false);
    }
}

// Nautilus lists every executable of its scripts folder under its file name
// and runs it in the selection's folder with the selected names as arguments.
void DesktopExport::exportNautilusScripts(const ExportPlan& plan, const QStringList& ownedBefore) {
    for (const ExportedVerb& verb : plan.verbs) {
        const QString path = m_folders.dataHome + QStringLiteral("/nautilus/scripts/") + verb.label;
        if (QFileInfo::exists(path) && !ownedBefore.contains(path)) {
            m_problems << path + QStringLiteral(" belongs to the user; left unchanged");
            continue;
        }
        const QString text =
            QStringLiteral("#!/bin/sh\n# BRX_EXPLO: %1\n[ -n \"$1\" ] || exit 0\nf=$1\n"
                           "case $f in /*) ;; *) f=$PWD/$f ;; esac\nexec %2 %3 \"$f\"\n")
                .arg(verb.label, shellArgument(verb.program), shellArgument(verb.prefix));
        writeFile(path, text, true);
    }
}

void DesktopExport::exportThunarActions(const ExportPlan& plan) {
    QList<ThunarAction> actions;
    for (const ExportedVerb& verb : plan.verbs) {
        const bool folder = verb.target == VerbTarget::Folder;
        QString patterns = QStringLiteral("*");
        if (verb.target == VerbTarget::Zip) patterns = QStringLiteral("*.zip;*.ZIP;*.Zip");
        if (verb.target == VerbTarget::Executable) patterns = QStringLiteral("*.exe;*.EXE;*.Exe");
        actions.append(
            ThunarAction{kThunarIdPrefix + verb.id, verb.label, kIconName,
                         execLine(verb, QStringLiteral("%f")), kDescription, patterns,
                         folder ? QStringLiteral("directories") : QStringLiteral("other-files")});
    }
    QString problem;
    if (!mergeThunarActions(thunarActionsPath(), actions, &problem)) m_problems << problem;
}

// The build places the program's icon in the hicolor layout beside it; the
// sizes that exist are copied into the user's icon theme.
void DesktopExport::exportIcons(const ExportPlan& plan) {
    if (plan.iconProgram.isEmpty() || plan.verbs.isEmpty()) return;
    const QString source = QFileInfo(plan.iconProgram).absolutePath() + QStringLiteral("/icons");
    const QString name = kIconName + QStringLiteral(".png");
    QDirIterator it(source, {name}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = QDir(source).relativeFilePath(from);
        if (!relative.startsWith(QStringLiteral("hicolor/"))) continue;
        const QString to = m_folders.dataHome + QStringLiteral("/icons/") + relative;
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::remove(to);
        if (QFile::copy(from, to))
            m_written << to;
        else
            m_problems << QStringLiteral("cannot copy ") + from;
    }
}

void DesktopExport::updateZipDefault(const ExportPlan& plan, Manifest& manifest) {
    MimeAppsList list(mimeappsPath());
    const QString current = list.value(kDefaultGroup, kZipMime).value_or(QString());
    const bool wanted = plan.zipIsOurs && m_written.contains(desktopEntryPath());
    if (wanted && current != kDesktopEntryId) {
        if (!manifest.ownsZipDefault) manifest.previousZipDefault = current;
        manifest.ownsZipDefault = true;
        if (!list.setValue(kDefaultGroup, kZipMime, kDesktopEntryId))
            m_problems << QStringLiteral("cannot write ") + mimeappsPath();
    } else if (!wanted && manifest.ownsZipDefault) {
        // The user's earlier choice comes back, unless the user has chosen
        // another application since.
        if (current == kDesktopEntryId) {
            const QString before = manifest.previousZipDefault;
            if (!list.setValue(kDefaultGroup, kZipMime,
                               before.isEmpty() ? std::nullopt : std::optional(before)))
                m_problems << QStringLiteral("cannot write ") + mimeappsPath();
        }
        manifest.ownsZipDefault = false;
    }
}

void exportShellVerbs(const IClassRootStore& store) {
    try {
        DesktopExport exporter(DesktopFolders::fromEnvironment());
        for (const QString& problem : exporter.apply(planFromStore(store)))
            qWarning("BRX_EXPLO: %s", qPrintable(problem));
    } catch (const std::exception& error) {
        qWarning("BRX_EXPLO: desktop entries not updated: %s", error.what());
    }
}

} // namespace brx
