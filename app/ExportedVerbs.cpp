#include "app/ExportedVerbs.h"

#include "app/ShellVerbs.h"

namespace brx {

namespace {

const QString kBs = QStringLiteral("\\");

void addVerbsOfClass(const IClassRootStore& store, const QString& className, VerbTarget target,
                     QList<ExportedVerb>& out) {
    const QString shell = className + kBs + QStringLiteral("shell");
    if (!store.keyExists(shell)) return;
    for (const QString& verb : store.subKeys(shell)) {
        const QString command = shell + kBs + verb + kBs + QStringLiteral("command");
        if (!store.keyExists(command)) continue;
        const auto parsed = parseVerbCommand(store.peekDefault(command));
        if (!parsed) continue;
        QString id = verbLabel(verb).toLower();
        for (QChar& c : id)
            if (!c.isLetterOrNumber()) c = QLatin1Char('-');
        out.append(ExportedVerb{target, verbLabel(verb), id, parsed->program, parsed->prefix});
    }
}

bool isClassCleanedByUnregistration(const QString& className) {
    return className.compare(kZipAutoFile, Qt::CaseInsensitive) == 0 ||
           className.compare(QStringLiteral("Winzip"), Qt::CaseInsensitive) == 0;
}

} // namespace

QList<ExportedVerb> ExportPlan::verbsFor(VerbTarget target) const {
    QList<ExportedVerb> out;
    for (const ExportedVerb& verb : verbs)
        if (verb.target == target) out.append(verb);
    return out;
}

std::optional<VerbCommand> parseVerbCommand(const QString& command) {
    const QString tail = QStringLiteral("\"%1\"");
    if (!command.endsWith(tail) || command.size() < tail.size() + 4) return std::nullopt;
    const QString head = command.left(command.size() - tail.size());
    const QString prefix = head.right(2);
    if (prefix != QStringLiteral("-#") && prefix != QStringLiteral("-!") &&
        prefix != QStringLiteral("-&"))
        return std::nullopt;
    if (head.at(head.size() - 3) != QLatin1Char(' ')) return std::nullopt;
    QString program = head.left(head.size() - 3);
    if (program.size() >= 2 && program.startsWith(QLatin1Char('"')) &&
        program.endsWith(QLatin1Char('"')))
        program = program.mid(1, program.size() - 2);
    if (!program.startsWith(QLatin1Char('/'))) return std::nullopt;
    return VerbCommand{program, prefix};
}

// "&" marks the shortcut letter; "&&" stands for one "&".
QString verbLabel(const QString& verbName) {
    QString label;
    for (qsizetype i = 0; i < verbName.size(); ++i) {
        if (verbName.at(i) == QLatin1Char('&')) {
            if (i + 1 < verbName.size() && verbName.at(i + 1) == QLatin1Char('&'))
                label += verbName.at(++i);
            continue;
        }
        label += verbName.at(i);
    }
    return label;
}

ExportPlan planFromStore(const IClassRootStore& store) {
    ExportPlan plan;
    addVerbsOfClass(store, QStringLiteral("Folder"), VerbTarget::Folder, plan.verbs);
    addVerbsOfClass(store, QStringLiteral("exefile"), VerbTarget::Executable, plan.verbs);

    // Unregistration leaves the verbs it wrote under a class of another
    // program; on this desktop nothing else would ever remove them, so
    // they are shown only while the program's folder verb is installed
    // (written first by every registration, removed first by unregistration).
    const QString zipClass = store.peekDefault(QStringLiteral(".zip"));
    const bool installed = !plan.verbsFor(VerbTarget::Folder).isEmpty();
    if (!zipClass.isEmpty() && (installed || isClassCleanedByUnregistration(zipClass)))
        addVerbsOfClass(store, zipClass, VerbTarget::Zip, plan.verbs);
    plan.zipIsOurs = zipClass == kZipAutoFile && !plan.verbsFor(VerbTarget::Zip).isEmpty();

    QString icon = store.peekDefault(kZipAutoFile + kBs + QStringLiteral("defaulticon"));
    if (icon.endsWith(QStringLiteral(",0"))) icon.chop(2);
    if (icon.startsWith(QLatin1Char('/'))) plan.iconProgram = icon;
    return plan;
}

} // namespace brx
