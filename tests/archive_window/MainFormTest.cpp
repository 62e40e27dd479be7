// The archive manager window created offscreen on archives made here, its
// questions answered by a scripted user host.

#include "ListingArchive.h"
#include "archive_window/TMainForm.h"
#include "controls/Hints.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "platform/ProgramInfo.h"
#include "settings/PrivateProfile.h"
#include "settings/SettingsFile.h"
#include "support/AppGlobals.h"
#include "support/TextFormat.h"
#include "tests/fakes/ScriptedUserHost.h"
#include "ZipBuilder.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTabWidget>
#include <QHeaderView>
#include <QMimeData>
#include <QProgressBar>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace brx;
using brx::test::ListedEntry;

namespace {

QStringList column(const TSortGrid* grid, int col) {
    QStringList texts;
    for (int row = 1; row < grid->RowCount(); ++row) texts << grid->Cells(col, row);
    return texts;
}

QStringList row(const TSortGrid* grid, int r) {
    QStringList texts;
    for (int col = 0; col < grid->ColCount(); ++col) texts << grid->Cells(col, r);
    return texts;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void listsNamesDatesSizesFoldersAndTypes();
    void ratiosTotalsAndSummary();
    void sumsPastTwoGigabytes();
    void headerClicksKeepTheTotalsRowLast();
    void escapeSavesLikeQuitAndTheCloseBoxSavesNothing();
    void hiddenColumnsComeBackInANewWindow();
    void helpOpensItsContext();
    void resizingRefillsTheGrid();
    void alwaysOnTopFollowsItsItem();
    void progressBarFollowsTheEngine();
    void addingAFileThenAFolder();
    void droppingItemsAddsEachOne();
    void deletingSelectedRows();
    void testingReportsTheDamagedEntry();
    void commandBevelsFollowTheMouse();
    void quittingDuringAnAdditionOffersToCancelIt();
    void fileDialogTitleNamesTheStartingFolder();
    void addOptionsFollowTheAddPage();
    void droppedLongPathsAreTakenWhole();
    void deletingAfterConfirmation();
    void testRunCountsTheOneDamagedEntry();
    void operationsWaitWhileTheEngineWorksAndTheBarRepaints();
    void resizesRefillOnceAfterTheLast();
    void firstShowingAppliesTheResizeWidthsWithoutRefilling();
    void sortArrowKeepsClearOfTheCaption();
    void columnWidthsAreTheGridsOwnMeasure();

private:
    std::unique_ptr<TMainForm> window(const QString& argument);
    QString crafted(const QList<ListedEntry>& entries);
    void clickTitle(TMainForm& form, int col);
    QString makeFiles(const QString& folder, const QStringList& names);
    QString zipOf(const QString& folder, const QStringList& names);
    QStringList messages() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedUserHost m_host;
};

void MainFormTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    setSettingsFilePath(m_dir->filePath(QStringLiteral("BRX_EXPL.INI")));
    m_host = ScriptedUserHost();
}

std::unique_ptr<TMainForm> MainFormTest::window(const QString& argument) {
    TMainForm::Services services;
    services.host = &m_host;
    services.dllDirectory = qEnvironmentVariable("BRX_BIN_DIR");
    return std::make_unique<TMainForm>(argument, services);
}

QString MainFormTest::crafted(const QList<ListedEntry>& entries) {
    const QString path = m_dir->filePath(QStringLiteral("liste.zip"));
    if (!brx::test::writeListingArchive(path, entries)) return {};
    return path;
}

void MainFormTest::clickTitle(TMainForm& form, int col) {
    TSortGrid* grid = form.grid();
    const QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                    header->height() / 2);
    QTest::mouseClick(grid->FixedRowsWidget(), Qt::LeftButton, Qt::NoModifier, at);
}

void MainFormTest::listsNamesDatesSizesFoldersAndTypes() {
    // Real files, archived by Info-ZIP without compression so that the
    // sizes are the files' own.
    QDir root(m_dir->path());
    QVERIFY(root.mkpath(QStringLiteral("src/Docs")));
    const QDateTime when(QDate(2021, 6, 15), QTime(14, 37, 10));
    const QList<QPair<QString, int>> files = {{QStringLiteral("Docs/Rapport.TXT"), 1200},
                                              {QStringLiteral("lisezmoi"), 40},
                                              {QStringLiteral("zeta.Bin"), 7}};
    for (const auto& [name, size] : files) {
        QFile file(root.filePath(QStringLiteral("src/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'a'));
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    }
    QProcess zip;
    zip.setWorkingDirectory(root.filePath(QStringLiteral("src")));
    zip.start(QStringLiteral("zip"),
              {QStringLiteral("-0"), QStringLiteral("-q"), QStringLiteral("-D"),
               root.filePath(QStringLiteral("reel.zip")), QStringLiteral("Docs/Rapport.TXT"),
               QStringLiteral("lisezmoi"), QStringLiteral("zeta.Bin")});
    QVERIFY(zip.waitForFinished());
    QCOMPARE(zip.exitCode(), 0);

    auto form = window(QStringLiteral("-!") + root.filePath(QStringLiteral("reel.zip")));
    const TSortGrid* grid = form->grid();
    QCOMPARE(grid->RowCount(), 5);
    const QLocale locale;
    const QString date = locale.toString(when.date(), QLocale::ShortFormat) + QStringLiteral("  ") +
                         locale.toString(when.time(), QLocale::ShortFormat);
    QCOMPARE(row(grid, 1), (QStringList{"lisezmoi", date, "0% ", "40", "40", "", ""}));
    QCOMPARE(row(grid, 2),
             (QStringList{"Rapport.TXT", date, "0% ", "1200", "1200", "Docs/", ".txt"}));
    QCOMPARE(row(grid, 3), (QStringList{"zeta.Bin", date, "0% ", "7", "7", "", ".bin"}));
    QCOMPARE(row(grid, 4), (QStringList{"Total", "", "0% ", "1247", "1247", "", ""}));
    QCOMPARE(grid->Cells(0, 0), QStringLiteral("Fichier"));
    QCOMPARE(grid->Cells(3, 0), QStringLiteral("Après"));
    QCOMPARE(grid->Row(), 1);
}

void MainFormTest::ratiosTotalsAndSummary() {
    const QString path = crafted({
        {"b/quart.txt", 250, 1000},
        {"douze.dat", 896, 1024},
        {"trente-huit.dat", 640, 1024},
        {"vide.txt", 0, 0},
        {"grossi.ZIP", 112, 100},
        {"sans-date", 5, 10, 0},
    });
    QVERIFY(!path.isEmpty());
    auto form = window(QStringLiteral("-!") + path);
    const TSortGrid* grid = form->grid();
    QCOMPARE(grid->RowCount(), 8);
    QCOMPARE(column(grid, 0), (QStringList{"douze.dat", "grossi.ZIP", "quart.txt", "sans-date",
                                           "trente-huit.dat", "vide.txt", "Total"}));
    QCOMPARE(column(grid, 2),
             (QStringList{"12% ", "-12% ", "75% ", "50% ", "38% ", "0% ", "40% "}));
    QCOMPARE(column(grid, 5), (QStringList{"", "", "b/", "", "", "", ""}));
    QCOMPARE(column(grid, 6), (QStringList{".dat", ".zip", ".txt", "", ".dat", ".txt", ""}));
    QCOMPARE(grid->Cells(1, 4), QString()); // the entry without a valid date
    QVERIFY(!grid->Cells(1, 1).isEmpty());
    QCOMPARE(row(grid, 7), (QStringList{"Total", "", "40% ", "1903", "3158", "", ""}));

    const QString summary = QStringLiteral("|Date : ") +
                            QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) +
                            QStringLiteral(" / 6 Fichier(s) / Réduction : 40% / ") +
                            FormatByteSize(QFileInfo(path).size());
    QCOMPARE(Hint(grid), summary);

    // An archive of empty files only.
    const QString empties = crafted({{"a", 0, 0}, {"b", 0, 0}});
    auto second = window(QStringLiteral("-!") + empties);
    QCOMPARE(row(second->grid(), 3), (QStringList{"Total", "", "0 % ", "0", "0", "", ""}));
    QVERIFY(Hint(second->grid()).contains(QStringLiteral(" / 2 Fichier(s) / Réduction : 0% / ")));
}

void MainFormTest::sumsPastTwoGigabytes() {
    const QString path =
        crafted({{"un.iso", 0xF0000000u, 0xF0000000u}, {"deux.iso", 0xF0000000u, 0xF0000000u}});
    auto form = window(QStringLiteral("-!") + path);
    QCOMPARE(row(form->grid(), 3),
             (QStringList{"Total", "", "0% ", "8053063680", "8053063680", "", ""}));
}

void MainFormTest::headerClicksKeepTheTotalsRowLast() {
    const QString path = crafted({{"a.txt", 30, 300}, {"B.txt", 9, 1000}, {"c.txt", 40, 40}});
    auto form = window(QStringLiteral("-!") + path);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const TSortGrid* grid = form->grid();
    const QStringList totals{"Total", "", "94% ", "79", "1340", "", ""};

    clickTitle(*form, 4); // first click: descending, the sizes as numbers
    QCOMPARE(form->sortDirection(), sdDescending);
    QCOMPARE(column(grid, 4), (QStringList{"1000", "300", "40", "1340"}));
    QCOMPARE(row(grid, 4), totals);

    clickTitle(*form, 4);
    QCOMPARE(column(grid, 4), (QStringList{"40", "300", "1000", "1340"}));
    QCOMPARE(row(grid, 4), totals);

    // The direction is shared: another column after an ascending sort goes down.
    clickTitle(*form, 0);
    QCOMPARE(column(grid, 0), (QStringList{"c.txt", "B.txt", "a.txt", "Total"}));
    QCOMPARE(grid->RowCount(), 5);

    // A new fill keeps the window's sort and the totals last.
    form->FillGrid();
    QCOMPARE(column(grid, 0), (QStringList{"c.txt", "B.txt", "a.txt", "Total"}));
    QCOMPARE(row(grid, 4), totals);
}

void MainFormTest::escapeSavesLikeQuitAndTheCloseBoxSavesNothing() {
    const QString path = crafted({{"a.txt", 30, 300}});
    const QString ini = settingsFilePath();

    // The title bar's close writes nothing.
    {
        auto form = window(QStringLiteral("-!") + path);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->findChild<QSpinBox*>(QStringLiteral("UpTxComp"))->setValue(6);
        QVERIFY(form->close());
    }
    QVERIFY(!QFile::exists(ini));

    auto quitBy = [&](const std::function<void(TMainForm&)>& quit) {
        QFile::remove(ini);
        auto form = window(QStringLiteral("-!") + path);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->move(40, 30);
        form->resize(600, 450);
        form->findChild<QSpinBox*>(QStringLiteral("UpTxComp"))->setValue(7);
        quit(*form);
        QVERIFY(!form->isVisible());
    };
    quitBy([](TMainForm& form) { QTest::keyClick(form.grid(), Qt::Key_Escape); });
    const QByteArray byEscape = readAll(ini);
    quitBy([](TMainForm& form) {
        QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("LabelQuit")), Qt::LeftButton);
    });
    QCOMPARE(readAll(ini), byEscape);

    const PrivateProfile file(ini);
    QCOMPARE(file.keys(QStringLiteral("explo")),
             (QStringList{"top", "left", "width", "level", "exploextr", "msgextr"}));
    QCOMPARE(file.readInt("explo", "level", 0), 7);
    QCOMPARE(file.readInt("explo", "width", 0), 600);
    QCOMPARE(file.readString("HistoryExtrDir", "n0"), QDir::homePath() + "/");
    QCOMPARE(file.readString("titres", "n0"), QStringLiteral("Installation de mon programme"));
    QCOMPARE(file.readString("HistoryDefExtrDir", "n0"),
             QStringLiteral("Dossier TEMP utilisateur"));

    // The next window starts from what was saved.
    auto next = window(QStringLiteral("-!") + path);
    QCOMPARE(next->width(), 600);
    QCOMPARE(next->findChild<QSpinBox*>(QStringLiteral("UpTxComp"))->value(), 7);
}

void MainFormTest::hiddenColumnsComeBackInANewWindow() {
    const QString path = crafted({{"a.txt", 30, 300}});
    {
        auto form = window(QStringLiteral("-!") + path);
        QAction* dates = form->findChild<QAction*>(QStringLiteral("MasquerDates"));
        QCOMPARE(dates->text(), QStringLiteral("Masquer les Dates"));
        QVERIFY(form->grid()->ColWidths(1) > 0);
        dates->trigger();
        QCOMPARE(form->grid()->ColWidths(1), 0);
        form->FillGrid();
        QCOMPARE(form->grid()->ColWidths(1), 0);
        // The title-bar close: the column's state was written at once.
    }
    QCOMPARE(PrivateProfile(settingsFilePath()).readInt("explo", "md", 0), 1);
    auto next = window(QStringLiteral("-!") + path);
    QVERIFY(next->findChild<QAction*>(QStringLiteral("MasquerDates"))->isChecked());
    QCOMPARE(next->grid()->ColWidths(1), 0);
    QVERIFY(next->grid()->ColWidths(2) > 0);
}

void MainFormTest::helpOpensItsContext() {
    auto form = window(QStringLiteral("-!") + crafted({{"a.txt", 30, 300}}));
    QList<int> contexts;
    form->OnHelpRequested = [&](int context) { contexts << context; };
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("BttnHelp")), Qt::LeftButton,
                      Qt::NoModifier, QPoint(14, 14));
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("LabelHelp")), Qt::LeftButton);
    QCOMPARE(contexts, (QList<int>{219, 219}));
    QCOMPARE(helpFile(), programFolder() + QStringLiteral("bramblex.hlp"));
}

void MainFormTest::resizingRefillsTheGrid() {
    const QString path = crafted({{"a.txt", 30, 300}, {"b.txt", 9, 1000}});
    auto form = window(QStringLiteral("-!") + path);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    TSortGrid* grid = form->grid();
    grid->SetColWidths(5, 60);
    grid->SetCells(0, 1, QStringLiteral("changé"));
    form->resize(620, 460);
    QTRY_COMPARE(grid->ColWidths(5), 300);
    QCOMPARE(column(grid, 0), (QStringList{"a.txt", "b.txt", "Total"}));
}

void MainFormTest::alwaysOnTopFollowsItsItem() {
    const QString path = crafted({{"a.txt", 30, 300}});
    {
        auto form = window(QStringLiteral("-!") + path);
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QAction* item = form->findChild<QAction*>(QStringLiteral("FenetreVisible"));
        QCOMPARE(item->text(), QStringLiteral("Fenêtre toujours visible."));
        item->trigger();
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
    QCOMPARE(PrivateProfile(settingsFilePath()).readInt("explo", "ftop", 1), 0);
    auto next = window(QStringLiteral("-!") + path);
    QVERIFY(!next->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void MainFormTest::progressBarFollowsTheEngine() {
    auto form = window(QStringLiteral("-!") + crafted({{"a.txt", 30, 300}}));
    auto* bar = form->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    QCOMPARE(bar->maximum(), 1001);
    QVERIFY(!bar->isVisibleTo(form.get()));
    TZipEngine& engine = form->engine();
    engine.OnProgress(ProgrTotalSize, QString(), 2000);
    QVERIFY(bar->isVisibleTo(bar->parentWidget()));
    QCOMPARE(bar->value(), 1);
    engine.OnProgress(ProgrUpdate, QStringLiteral("a.txt"), 1000);
    QCOMPARE(bar->value(), 500);
    engine.OnProgress(ProgrEndOfBatch, QString(), 0);
    QVERIFY(bar->isHidden());
}

QString MainFormTest::makeFiles(const QString& folder, const QStringList& names) {
    const QString base = m_dir->filePath(folder);
    for (const QString& name : names) {
        const QString path = base + QLatin1Char('/') + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return {};
        file.write(QByteArray("contenu de ") + name.toUtf8() + QByteArray(200, 'z'));
    }
    return base;
}

// A stored (uncompressed) archive of the files, made by Info-ZIP.
QString MainFormTest::zipOf(const QString& folder, const QStringList& names) {
    const QString base = makeFiles(folder, names);
    const QString archive = m_dir->filePath(folder + QStringLiteral(".zip"));
    QProcess zip;
    zip.setWorkingDirectory(base);
    zip.start(QStringLiteral("zip"), QStringList{"-0", "-q", "-D", archive} + names);
    if (!zip.waitForFinished() || zip.exitCode() != 0) return {};
    return archive;
}

QStringList MainFormTest::messages() const {
    QStringList texts;
    for (const MessageRequest& request : m_host.messages) texts << request.text;
    return texts;
}

void MainFormTest::addingAFileThenAFolder() {
    const QString source =
        makeFiles(QStringLiteral("src"), {"seul.txt", "d/un.txt", "d/s/deux.TXT"});
    const QString archive = m_dir->filePath(QStringLiteral("nouveau.zip"));
    auto form = window(QStringLiteral("-!") + archive);
    QCOMPARE(form->grid()->RowCount(), 2);

    form->Add(source + QStringLiteral("/seul.txt"));
    QVERIFY(QFile::exists(archive));
    QVERIFY(!form->engine().AddOptions().testFlag(AddUpdate)); // a new archive
    QCOMPARE(column(form->grid(), 0), (QStringList{"seul.txt", "Total"}));

    form->findChild<QCheckBox*>(QStringLiteral("CbPath"))->setChecked(false);
    form->findChild<QCheckBox*>(QStringLiteral("CBFileAdd"))->setChecked(false);
    form->OnChooseFolder = [&] { return source + QStringLiteral("/d"); };
    form->AddClick();
    const AddOpts used = form->engine().AddOptions();
    QVERIFY(used.testFlag(AddUpdate));
    QVERIFY(used.testFlag(AddHiddenFiles) && used.testFlag(AddRecurseDirs));
    QVERIFY(!used.testFlag(AddDirNames));
    QCOMPARE(column(form->grid(), 0), (QStringList{"deux.TXT", "seul.txt", "un.txt", "Total"}));
    // The first file kept its path (less the root), the folder's files none.
    QCOMPARE(column(form->grid(), 5), (QStringList{"", source.mid(1) + "/", "", ""}));
    QVERIFY(m_host.messages.isEmpty());

    // Adding to a window without an archive.
    auto none = window(QStringLiteral("-!") + archive);
    none->engine().setZipFileName(QString());
    none->Add(source + QStringLiteral("/seul.txt"));
    QCOMPARE(messages(), QStringList{"Error - open a zip file first"});
}

void MainFormTest::droppingItemsAddsEachOne() {
    const QString source =
        makeFiles(QStringLiteral("src"), {"a.txt", "b.txt", "dos/c.txt", "dos/d.txt"});
    const QString archive = m_dir->filePath(QStringLiteral("depot.zip"));
    auto form = window(QStringLiteral("-!") + archive);
    form->findChild<QCheckBox*>(QStringLiteral("CBaskAdd"))->setChecked(true);
    m_host.defaultAnswer = MsgResult::Yes;

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(source + "/a.txt"), QUrl::fromLocalFile(source + "/dos"),
                  QUrl::fromLocalFile(source + "/b.txt")});
    // As the desktop delivers it: the drag enters, then the items drop.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);

    const QString question =
        QStringLiteral("Souhaitez vous comprimer les fichiers sélectionnés ?[ %1 ]");
    QCOMPARE(messages(),
             (QStringList{question.arg(source + "/a.txt"), question.arg(source + "/dos/*.*"),
                          question.arg(source + "/b.txt")}));
    QStringList names = column(form->grid(), 0);
    QCOMPARE(names.size(), 5);
    QCOMPARE(names.last(), QStringLiteral("Total"));
    names.removeLast();
    names.sort();
    QCOMPARE(names, (QStringList{"a.txt", "b.txt", "c.txt", "d.txt"}));
    QCOMPARE(column(form->grid(), 5).filter(QStringLiteral("dos/")).size(), 2);
}

void MainFormTest::deletingSelectedRows() {
    const QString archive = zipOf(QStringLiteral("del"), {"a.txt", "b.txt", "c/d.txt"});
    QVERIFY(!archive.isEmpty());
    auto form = window(QStringLiteral("-!") + archive);
    TSortGrid* grid = form->grid();
    QCOMPARE(column(grid, 0), (QStringList{"a.txt", "b.txt", "d.txt", "Total"}));

    // The totals row alone is no selection.
    grid->SetSelection(TGridRect{0, 4, 6, 4});
    form->DeleteClick();
    QCOMPARE(messages(), QStringList{"Error - no files selected"});

    // With the question on, No keeps everything; keypad minus asks it too.
    m_host.messages.clear();
    form->findChild<QCheckBox*>(QStringLiteral("CbAskDel"))->setChecked(true);
    grid->SetSelection(TGridRect{0, 2, 6, 4});
    m_host.queueAnswer(MsgResult::No);
    QTest::keyClick(grid, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(messages(), QStringList{"Effacer le ou les fichier(s) sélectionnés ?"});
    QCOMPARE(grid->RowCount(), 5);

    // Rows 2 to 4: b.txt and c/d.txt, the totals row left out.
    m_host.messages.clear();
    form->findChild<QCheckBox*>(QStringLiteral("CbAskDel"))->setChecked(false);
    grid->SetSelection(TGridRect{0, 2, 6, 4});
    form->DeleteClick();
    QCOMPARE(m_host.messages.size(), 1);
    QVERIFY(messages().constFirst().startsWith("2 fichiers effacés. Durée processus : "));
    QCOMPARE(column(grid, 0), (QStringList{"a.txt", "Total"}));
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    QVERIFY(unzip.waitForFinished());
    QCOMPARE(QString::fromUtf8(unzip.readAllStandardOutput()).trimmed(), QStringLiteral("a.txt"));
}

void MainFormTest::testingReportsTheDamagedEntry() {
    const QString archive = zipOf(QStringLiteral("test"), {"a.txt", "b.txt", "c.txt"});
    QVERIFY(!archive.isEmpty());
    {
        auto form = window(QStringLiteral("-!") + archive);
        form->TestClick();
        QCOMPARE(m_host.messages.size(), 1);
        QVERIFY(
            messages().constFirst().startsWith("TOUS les fichiers sont corrects. Durée test : "));
        QVERIFY(form->engine().ExtrOptions().testFlag(ExtrTest));
    }
    // Damage the stored data of b.txt: its check value no longer matches.
    QFile file(archive);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype at = bytes.indexOf("contenu de b.txt");
    QVERIFY(at > 0);
    bytes[at + 3] = 'X';
    file.seek(0);
    file.write(bytes);
    file.close();

    m_host.messages.clear();
    m_host.defaultAnswer = MsgResult::Ok;
    auto form = window(QStringLiteral("-!") + archive);
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("LabelTest")), Qt::LeftButton);
    QCOMPARE(messages().constLast(),
             QStringLiteral("ERREURS !! Nombre de fichiers incorrects ou non testés : 1"));
}

void MainFormTest::commandBevelsFollowTheMouse() {
    auto form = window(QStringLiteral("-!") + crafted({{"a.txt", 30, 300}}));
    auto enter = [&](const char* name) {
        QEnterEvent event(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(form->findChild<QWidget*>(QString::fromLatin1(name)), &event);
    };
    auto shadow = [&](const char* name) {
        return form->findChild<QFrame*>(QString::fromLatin1(name))->frameShadow();
    };
    enter("LabelHelp");
    enter("LabelQuit");
    QCOMPARE(shadow("BevelHelp"), QFrame::Sunken);
    QCOMPARE(shadow("BevelQuit"), QFrame::Sunken);
    QCOMPARE(shadow("BevelTest"), QFrame::Raised);
    enter("CentralPanel"); // the window itself raises the quit bevel only
    QCOMPARE(shadow("BevelQuit"), QFrame::Raised);
    QCOMPARE(shadow("BevelHelp"), QFrame::Sunken);
    enter("PanelBottom");
    QCOMPARE(shadow("BevelHelp"), QFrame::Raised);
}

void MainFormTest::quittingDuringAnAdditionOffersToCancelIt() {
    const QString archive = zipOf(QStringLiteral("occupe"), {"a.txt"});
    const QString more = makeFiles(QStringLiteral("plus"), {"b.txt", "c.txt"});
    const QByteArray before = readAll(archive);
    const QString cancelQuestion = QStringLiteral("Souhaitez vous annuler l'opération en cours ?");
    for (const MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
        QFile::remove(settingsFilePath());
        m_host.messages.clear();
        auto form = window(QStringLiteral("-!") + archive);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const TProgressEvent shown = form->engine().OnProgress;
        bool asked = false;
        form->engine().OnProgress = [&](ProgressType type, const QString& name, qint64 size) {
            shown(type, name, size);
            if (type != ProgrNewFile || asked) return;
            asked = true;
            m_host.queueAnswer(answer);
            m_host.queueAnswer(answer);
            QTest::keyClick(form->grid(), Qt::Key_Escape); // the quit command
            QVERIFY(!form->close());                       // and the close box
        };
        form->Add(more + QStringLiteral("/*.*"));
        QVERIFY(asked);
        QVERIFY(form->isVisible());
        QCOMPARE(messages().count(cancelQuestion), 2);
        QVERIFY(!QFile::exists(settingsFilePath()));
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tqq"), archive});
        QVERIFY(unzip.waitForFinished());
        QCOMPARE(unzip.exitCode(), 0);
        if (answer == MsgResult::Yes)
            QCOMPARE(readAll(archive), before);
        else
            QCOMPARE(column(form->grid(), 0), (QStringList{"a.txt", "b.txt", "c.txt", "Total"}));
    }
}

namespace {

// A scripted host whose event passes are real ones, as on the desktop: the
// window repaints and timers run while the engine works.
class LiveHost final : public IUserHost {
public:
    explicit LiveHost(ScriptedUserHost& script) : m_script(script) {}
    MsgResult messageBox(const MessageRequest& request) override {
        return m_script.messageBox(request);
    }
    std::optional<QString> askPassword(const QString& caption, const QString& prompt) override {
        return m_script.askPassword(caption, prompt);
    }
    void setBusy(bool busy) override { m_script.setBusy(busy); }
    void processEvents() override {
        QCoreApplication::processEvents();
        if (OnEvents) OnEvents();
    }
    std::function<void()> OnEvents;

private:
    ScriptedUserHost& m_script;
};

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

QStringList zipNames(const QString& archive) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    unzip.waitForFinished();
    QStringList names = QString::fromUtf8(unzip.readAllStandardOutput())
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    return names;
}

void dropUrls(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

} // namespace

void MainFormTest::fileDialogTitleNamesTheStartingFolder() {
    const QString source = makeFiles(QStringLiteral("choix"), {"pris.txt", "sous/autre.txt"});
    const QString archive = m_dir->filePath(QStringLiteral("dialogue.zip"));
    const QString startFolder = QDir::currentPath();
    const QString title = QStringLiteral("Choisir un fichier ou un dossier") + startFolder;
    auto form = window(QStringLiteral("-!") + archive);

    QStringList titles;
    QString startedIn;
    QString enteredFolder;
    bool several = false;
    // Plays the user once the dialog is up; whatever it finds, the dialog ends.
    std::function<void()> user = [&] {
        QFileDialog* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(top); d && d->isVisible()) dialog = d;
        if (dialog == nullptr) {
            QTimer::singleShot(20, user);
            return;
        }
        titles << dialog->windowTitle();
        startedIn = dialog->directory().absolutePath();
        several = dialog->fileMode() == QFileDialog::ExistingFiles;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (name == nullptr) {
            dialog->reject();
            return;
        }
        // Into another folder by its path, as a user types it.
        name->setText(source + QStringLiteral("/sous"));
        QTest::keyClick(name, Qt::Key_Return);
        titles << dialog->windowTitle();
        enteredFolder = dialog->directory().absolutePath();
        dialog->selectFile(source + QStringLiteral("/pris.txt"));
        QMetaObject::invokeMethod(dialog, "accept");
    };
    QTimer::singleShot(0, user);
    form->AddClick();
    QCOMPARE(titles, (QStringList{title, title}));
    QCOMPARE(enteredFolder, source + QStringLiteral("/sous"));
    QCOMPARE(startedIn, QDir(startFolder).absolutePath());
    QVERIFY(several);
    QCOMPARE(column(form->grid(), 0), (QStringList{"pris.txt", "Total"}));
}

void MainFormTest::addOptionsFollowTheAddPage() {
    const QString source =
        makeFiles(QStringLiteral("opt"), {"haut.txt", ".cache", "bas/dessous.txt"});
    const QString archive = m_dir->filePath(QStringLiteral("options.zip"));
    auto form = window(QStringLiteral("-!") + archive);
    form->findChild<QSpinBox*>(QStringLiteral("UpTxComp"))->setValue(7);
    form->findChild<QCheckBox*>(QStringLiteral("CbSubDir"))->setChecked(false);
    form->Add(source + QStringLiteral("/*.*"));
    AddOpts used = form->engine().AddOptions();
    QCOMPARE(form->engine().AddCompLevel(), 7);
    QVERIFY(used.testFlag(AddHiddenFiles) && used.testFlag(AddDirNames));
    QVERIFY(!used.testFlag(AddRecurseDirs) && !used.testFlag(AddUpdate));
    QVERIFY(!used.testFlag(AddEncrypt));
    // Hidden files come in, the subfolder does not; names keep their path.
    const QString stored = source.mid(1) + QLatin1Char('/');
    QCOMPARE(zipNames(archive), (QStringList{stored + ".cache", stored + "haut.txt"}));

    form->findChild<QCheckBox*>(QStringLiteral("CbSubDir"))->setChecked(true);
    form->findChild<QSpinBox*>(QStringLiteral("UpTxComp"))->setValue(1);
    form->Add(source + QStringLiteral("/*.*"));
    used = form->engine().AddOptions();
    QCOMPARE(form->engine().AddCompLevel(), 1);
    QVERIFY(used.testFlag(AddRecurseDirs) && used.testFlag(AddUpdate));
    QCOMPARE(zipNames(archive), (QStringList{stored + ".cache", stored + "bas/",
                                             stored + "bas/dessous.txt", stored + "haut.txt"}));
}

void MainFormTest::droppedLongPathsAreTakenWhole() {
    // A path of some 300 characters whose first 254 name another, existing
    // folder: a cut path would add the wrong thing.
    const QString segment(60, QLatin1Char('d'));
    QString deep = QStringLiteral("long");
    for (int i = 0; i < 4; ++i) deep += QLatin1Char('/') + segment;
    const QString base = makeFiles(deep, {"fichier-au-bout.txt", "dossier/dedans.txt"});
    QVERIFY(!base.isEmpty());
    const QString file = base + QStringLiteral("/fichier-au-bout.txt");
    QVERIFY(file.size() > 254);
    QVERIFY(QFileInfo(file.left(254)).exists() == false);
    makeFiles(QFileInfo(file.left(254)).path().mid(m_dir->path().size() + 1), {"intrus.txt"});

    const QString archive = m_dir->filePath(QStringLiteral("long.zip"));
    auto form = window(QStringLiteral("-!") + archive);
    form->findChild<QCheckBox*>(QStringLiteral("CbPath"))->setChecked(false);
    dropUrls(form.get(),
             {QUrl::fromLocalFile(file), QUrl::fromLocalFile(base + QStringLiteral("/dossier"))});
    QCOMPARE(zipNames(archive), (QStringList{"dedans.txt", "fichier-au-bout.txt"}));
    QVERIFY(m_host.messages.isEmpty());
}

void MainFormTest::deletingAfterConfirmation() {
    const QString archive = zipOf(QStringLiteral("oui"), {"a.txt", "b.txt"});
    auto form = window(QStringLiteral("-!") + archive);
    form->findChild<QCheckBox*>(QStringLiteral("CbAskDel"))->setChecked(true);
    form->grid()->SetSelection(TGridRect{0, 1, 6, 1});
    m_host.queueAnswer(MsgResult::Yes);
    auto* button = form->findChild<QAbstractButton*>(QStringLiteral("BttnSupp"));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(45, 45));
    QCOMPARE(m_host.messages.size(), 2);
    QCOMPARE(messages().constFirst(),
             QStringLiteral("Effacer le ou les fichier(s) sélectionnés ?"));
    QVERIFY(messages().constLast().startsWith("1 fichiers effacés. Durée processus : "));
    QCOMPARE(zipNames(archive), QStringList{"b.txt"});
    QCOMPARE(column(form->grid(), 0), (QStringList{"b.txt", "Total"}));
}

void MainFormTest::testRunCountsTheOneDamagedEntry() {
    const std::string text(3000, 'r');
    std::vector<ziptest::BuildEntry> entries(4);
    entries[0].name = "bon.txt";
    entries[0].data = text;
    entries[1].name = "abime.txt";
    entries[1].data = text;
    entries[1].crc = 0x12345678; // the data no longer matches its check value
    entries[2].name = "dossier/range.txt";
    entries[2].data = "court";
    entries[2].method = 0;
    entries[3].name = "vide.txt";
    const std::string bytes = ziptest::buildZip(entries);
    const QString archive = m_dir->filePath(QStringLiteral("abime.zip"));
    QFile file(archive);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    file.close();

    m_host.defaultAnswer = MsgResult::Ok;
    auto form = window(QStringLiteral("-!") + archive);
    QCOMPARE(form->grid()->RowCount(), 6);
    QTest::mouseClick(form->findChild<QWidget*>(QStringLiteral("BttnTest")), Qt::LeftButton,
                      Qt::NoModifier, QPoint(14, 14));
    QCOMPARE(messages().constLast(),
             QStringLiteral("ERREURS !! Nombre de fichiers incorrects ou non testés : 1"));
    QCOMPARE(QFileInfo(archive).size(), qint64(bytes.size())); // a test writes nothing
}

void MainFormTest::operationsWaitWhileTheEngineWorksAndTheBarRepaints() {
    const QString archive = zipOf(QStringLiteral("vivant"), {"a.txt"});
    const QString more = makeFiles(QStringLiteral("ajout"), {"b.txt", "c.txt", "d.txt"});
    LiveHost live(m_host);
    TMainForm::Services services;
    services.host = &live;
    services.dllDirectory = qEnvironmentVariable("BRX_BIN_DIR");
    TMainForm form(QStringLiteral("-!") + archive, services);
    form.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
        ->setCurrentWidget(form.findChild<QWidget*>(QStringLiteral("TabSheet1")));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    PaintCounter counter;
    bar->installEventFilter(&counter);

    // Everything a user can start while the first addition runs.
    bool tried = false;
    live.OnEvents = [&] {
        if (tried || !form.engineWorking()) return;
        tried = true;
        form.grid()->SetSelection(TGridRect{0, 1, 6, 1});
        form.DeleteClick();
        form.TestClick();
        QTest::keyClick(form.grid(), Qt::Key_Minus, Qt::KeypadModifier);
        form.Add(more + QStringLiteral("/b.txt"));
        dropUrls(&form, {QUrl::fromLocalFile(more + QStringLiteral("/c.txt"))});
    };
    form.Add(more + QStringLiteral("/*.*"));
    QVERIFY(tried);
    QVERIFY(m_host.messages.isEmpty());
    QVERIFY(counter.paints > 0); // painted while the addition ran: hidden after it
    QVERIFY(bar->isHidden());
    QCOMPARE(column(form.grid(), 0), (QStringList{"a.txt", "b.txt", "c.txt", "d.txt", "Total"}));
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-tqq"), archive});
    QVERIFY(unzip.waitForFinished());
    QCOMPARE(unzip.exitCode(), 0);
}

void MainFormTest::resizesRefillOnceAfterTheLast() {
    const QString path = crafted({{"a.txt", 30, 300}, {"b.txt", 9, 1000}});
    auto form = window(QStringLiteral("-!") + path);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(400); // the refill of the first showing
    TSortGrid* grid = form->grid();
    int fills = 0;
    const auto endSort = grid->OnEndSort;
    grid->OnEndSort = [&](TSortGrid* g, int col) {
        ++fills;
        endSort(g, col);
    };
    grid->SetCells(0, 1, QStringLiteral("changé"));
    // The frame dragged through five sizes, faster than the refill's delay.
    QSize previous = form->size();
    for (int step = 1; step <= 5; ++step) {
        const QSize next(580 + 10 * step, 440 + 5 * step);
        QResizeEvent resize(next, previous);
        QApplication::sendEvent(form.get(), &resize);
        previous = next;
    }
    QCOMPARE(grid->Cells(0, 1), QStringLiteral("changé")); // none while dragging
    QTRY_COMPARE(fills, 1);
    QTest::qWait(300);
    QCOMPARE(fills, 1);
    QCOMPARE(column(grid, 0), (QStringList{"a.txt", "b.txt", "Total"}));
    QCOMPARE(grid->ColWidths(5), 300);
}

void MainFormTest::firstShowingAppliesTheResizeWidthsWithoutRefilling() {
    const QString path = crafted({{"a.txt", 30, 300}, {"b.txt", 9, 1000}});
    auto form = window(QStringLiteral("-!") + path);
    TSortGrid* grid = form->grid();
    int fills = 0;
    const auto endSort = grid->OnEndSort;
    grid->OnEndSort = [&](TSortGrid* g, int col) {
        ++fills;
        endSort(g, col);
    };
    QCOMPARE(grid->ColWidths(5), 60);
    form->resize(600, 450); // before showing, as the saved width is applied
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(400);
    QCOMPARE(fills, 0);
    QCOMPARE(grid->ColWidths(5), 300);
    QCOMPARE(column(grid, 0), (QStringList{"a.txt", "b.txt", "Total"}));
    // Once shown, a resize refills.
    form->resize(640, 470);
    QTRY_COMPARE(fills, 1);
}

void MainFormTest::sortArrowKeepsClearOfTheCaption() {
    // Names shorter than the caption "Fichier": the column is as narrow as
    // its title.
    const QString path = crafted({{"a", 30, 300}, {"b", 9, 1000}});
    auto form = window(QStringLiteral("-!") + path);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    TSortGrid* grid = form->grid();
    const QFontMetrics metrics(grid->font());
    auto arrowLeft = [&](int col) { return grid->ColWidths(col) - 18; };
    auto captionRight = [&](int col) { return 2 + metrics.horizontalAdvance(grid->Cells(col, 0)); };
    QVERIFY(arrowLeft(0) > captionRight(0));
    // The arrow's cyan background is transparent.
    auto cyanInTitles = [&] {
        const QImage titles = grid->FixedRowsWidget()->grab().toImage();
        for (int y = 0; y < titles.height(); ++y)
            for (int x = 0; x < titles.width(); ++x)
                if ((titles.pixel(x, y) & 0xFFFFFF) == 0x00FFFF) return true;
        return false;
    };
    QVERIFY(!cyanInTitles());
    clickTitle(*form, 2); // "%" now carries the arrow
    QVERIFY(!cyanInTitles());
    QVERIFY(arrowLeft(2) > captionRight(2));
    // Hiding the sorted column keeps it hidden.
    form->findChild<QAction*>(QStringLiteral("MasquerTxComp"))->trigger();
    QCOMPARE(grid->ColWidths(2), 0);
    form->FillGrid();
    QCOMPARE(grid->ColWidths(2), 0);
}

void MainFormTest::columnWidthsAreTheGridsOwnMeasure() {
    QList<ListedEntry> entries;
    for (int i = 0; i < 700; ++i)
        entries.append({QByteArray("dossier/nom-") + QByteArray::number(i * 7919 % 100000) +
                            (i % 3 ? ".txt" : ".Wav"),
                        uint32_t(i * 104729 % 900000), uint32_t(i * 15485863u % 9000000 + 1)});
    entries.append({"Élément à l’accent ́combiné.txt", 1, 1});
    auto form = window(QStringLiteral("-!") + crafted(entries));
    TSortGrid* grid = form->grid();
    QCOMPARE(grid->RowCount(), 703);
    for (const int col : {1, 2, 3, 4}) {
        const int filled = grid->ColWidths(col);
        grid->AutoSizeCol(col);
        QCOMPARE(filled, grid->ColWidths(col));
    }
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
