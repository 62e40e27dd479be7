#include "app/ShellVerbs.h"

namespace brx {

namespace {

const QString kBs = QStringLiteral("\\");

QString associationQuestion(const QString& currentClass) {
    return currentClass +
           QStringLiteral(" est actuellement associé avec vos fichiers *.Zip.\rSouhaitez vous "
                          "associer les fichiers *.Zip avec BRX_EXPLO ?");
}

// The class ".zip" will name: ours, unless another class holds it and the
// user keeps it.
QString chooseZipClass(const QString& current, IUserHost& host) {
    if (current.isEmpty() || current == kZipAutoFile) return kZipAutoFile;
    MessageRequest question;
    question.text = associationQuestion(current);
    question.caption = QStringLiteral("BRX_EXPLO");
    question.buttons = MsgButtons::YesNo;
    question.icon = MsgIcon::Warning;
    return host.messageBox(question) == MsgResult::Yes ? kZipAutoFile : current;
}

struct Removal {
    QString shellKey; // the class's "shell" key, opened (and created) first
    QString key;      // removed with its subkeys, below shellKey
};

// In this order; only "command" keys go, except the "Restaurer" verbs.
const Removal kRemovals[] = {
    {QStringLiteral("Folder\\shell"), QStringLiteral("Fichiers Vers &Zip\\command")},
    {QStringLiteral("zip_auto_file\\shell\\"), QStringLiteral("Zip Vers &Exe\\command")},
    {QStringLiteral("Winzip\\shell\\"), QStringLiteral("Zip Vers &Exe\\command")},
    {QStringLiteral("zip_auto_file\\shell\\"), QStringLiteral("Restaurer")},
    {QStringLiteral("Winzip\\shell\\"), QStringLiteral("Restaurer")},
    {QStringLiteral("zip_auto_file\\shell\\"), QStringLiteral("Zip Vers &Fichiers\\command")},
    {QStringLiteral("Winzip\\shell\\"), QStringLiteral("Zip Vers &Fichiers\\command")},
    {QStringLiteral("exefile\\shell"), QStringLiteral("Exe Vers &Zip\\command")},
};

QString joinKey(QString shellKey, const QString& key) {
    if (!shellKey.endsWith(kBs)) shellKey += kBs;
    return shellKey + key;
}

} // namespace

QString verbCommand(const QString& program, const QString& prefix, bool quoteProgram) {
    const QString quote = QStringLiteral("\"");
    const QString shown = quoteProgram ? quote + program + quote : program;
    return shown + QLatin1Char(' ') + prefix + QStringLiteral("\"%1\"");
}

void RegisterVerbs(IClassRootStore& store, IUserHost& host, const QString& programPath) {
    store.writeDefault(QStringLiteral("Folder\\shell\\") + kFolderVerb +
                           QStringLiteral("\\command"),
                       verbCommand(programPath, QStringLiteral("-#"), true));
    store.writeDefault(QStringLiteral("exefile\\shell\\") + kExeVerb + QStringLiteral("\\command"),
                       verbCommand(programPath, QStringLiteral("-&"), false));

    const QString current = store.readDefault(QStringLiteral(".zip"));
    const QString zipClass = chooseZipClass(current, host);
    store.writeDefault(QStringLiteral(".zip"), zipClass);
    store.writeDefault(kZipAutoFile + QStringLiteral("\\defaulticon\\"),
                       programPath + QStringLiteral(",0"));
    const QString shell = zipClass + QStringLiteral("\\shell\\");
    store.writeDefault(shell + kZipToExeVerb + QStringLiteral("\\command"),
                       verbCommand(programPath, QStringLiteral("-&"), false));
    store.writeDefault(shell + kZipToFilesVerb + QStringLiteral("\\command"),
                       verbCommand(programPath, QStringLiteral("-!"), false));
}

void UnregisterVerbs(IClassRootStore& store, IUserHost& host) {
    const QString brx = QStringLiteral(".brx");
    const QString previous = store.readDefault(brx);
    store.writeDefault(brx, previous.isEmpty() ? QStringLiteral("brxfile") : QString());

    for (const Removal& removal : kRemovals) {
        store.createKey(removal.shellKey);
        store.deleteKey(joinKey(removal.shellKey, removal.key));
    }

    MessageRequest info;
    info.text = QStringLiteral("L'extension du shell est désactivée.");
    info.caption = QStringLiteral("Info");
    info.buttons = MsgButtons::Ok;
    host.messageBox(info);
}

} // namespace brx
