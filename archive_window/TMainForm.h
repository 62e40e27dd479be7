#pragma once
// The archive manager window: the archive's path and comment, its entries in
// a sortable grid with a totals row, and the pages of operations below.

#include "archive_window/ArchiveStart.h"
#include "archive_window/ProgressGauge.h"
#include "controls/SortGridTypes.h"

#include <QMainWindow>
#include <QPixmap>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QTimer;

namespace Ui {
class MainForm;
}

namespace brx {

class IProcesses;
class IUserHost;
class THemisphereButton;
class THintHandler;
class TSortGrid;
class TZipEngine;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // What the window is given from outside; defaults: message boxes on the
    // screen and the libraries' usual search.
    struct Services {
        IUserHost* host = nullptr; // not owned
        QString dllDirectory;
    };

    // argument: the program's first argument, in its own letter case.
    explicit TMainForm(const QString& argument, QWidget* parent = nullptr);
    TMainForm(const QString& argument, const Services& services, QWidget* parent = nullptr);
    ~TMainForm() override;

    const ArchiveStart& start() const { return m_start; }
    TZipEngine& engine() const { return *m_engine; }
    TSortGrid* grid() const;

    // Opens the help at a context; by default the program's help viewer.
    std::function<void(int context)> OnHelpRequested;

    // The listing (also run after every change of the archive).
    void FillGrid();
    void FillTotals();

    // Adds one file path or one folder pattern ("folder/*.*").
    void Add(const QString& path);
    void AddClick();
    // Deletes the entries of the selected rows (never the totals row).
    void DeleteClick();
    void TestClick();
    // The "Ajouter" button's choosers; by default the file dialog and the
    // folder browser. An empty answer adds nothing.
    std::function<QString()> OnChooseFile;
    std::function<QString()> OnChooseFolder;

    // The quit command of "&Quitter ", its button and Escape.
    void QuitClick();
    void HelpClick();

    // ---- Extraction page ----
    // The "Extraire" button: the selected rows or every entry into the
    // extraction destination.
    void Extract();
    // Where the next extraction goes: the destination box's text with a
    // trailing separator once the user typed, picked or browsed.
    QString extractDestination() const { return m_extractDestination; }
    // The "..." buttons of both pages use OnChooseFolder (empty: cancelled).

    // ---- ZIP/EXE conversion pages ----
    void ToExeClick();
    void ToZipClick();
    // The engine's self-extractor properties from the two pages' controls.
    void applySfxProperties();
    // The run-after command set by a double click on a grid row.
    QString runAfterCommand() const { return m_runAfter; }
    // Shows icon number index of file in the icon box (empty when it has none).
    void showIcon(const QString& file, int index);
    // "DEFAULT.ICO": icon 0 of default.ico beside the program, when it exists.
    void DefaultIcoClick();
    // The .ico bytes of the shown icon (what the next conversion embeds).
    QByteArray shownIcon() const { return m_iconBytes; }
    // The icon "..." file dialog; empty: cancelled.
    std::function<QString()> OnChooseIconFile;
    // Programs started by the window (file manager, the new program under
    // test); by default this machine's.
    void setProcesses(IProcesses& processes) { m_processes = &processes; }

    // The sort state shared by every column.
    int sortColumn() const { return m_sortColumn; }
    TSortDirection sortDirection() const { return m_sortDirection; }

    // ---- The running engine ----
    // Whether the engine is running a command: the window stays live while
    // it works, and its operations wait for the end of the running one.
    bool engineWorking() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void setupEngine();
    void setupGrid();
    void setupColumnMenu();
    void setupCommands();
    void makeActionButtons();
    void readWindowSettings();
    void loadHistories();
    void applyArgument();
    void showArchivePath();
    void writeTitles();
    void applyAlwaysOnTop(bool onTop);
    void applyColumnItems();
    void applyColumnItem(QAction* item, int column);
    void columnItemTriggered(QAction* item, int column, const char* key);
    void alwaysOnTopTriggered();
    bool writeQuitSettings();
    void refillAfterResize();
    void hoverCommands(QObject* watched);
    // While the engine works: asks whether to cancel it; true when it did.
    bool offerCancel();
    void ZipEngine1Progress(ProgressType type, qint64 size);
    QString summaryText() const;
    void inform(const QString& text);
    bool confirm(const QString& text);
    QString chooseFile();
    QString chooseFolder();

    // ---- Extraction page ----
    void setupExtractPage();
    void destinationEdited();
    void DelComboExtractPathClick();
    void LbDestExtractDblClick();
    void BrowseFolderClick();
    bool prepareDestination();
    bool collectSelectedEntries();
    void openDestinationFolder();

    // ---- ZIP/EXE conversion pages ----
    void setupSfxPages();
    void setupIconBox();
    void DelDefDirExtractClick();
    void BrowseDefExtractClick();
    void StringGrid1DblClick(int row);
    bool PrepareSelfExtractor();
    bool convertKeepingTarget(const QString& target, bool toExe);
    void testNewProgram();
    void conversionFailed();
    QString sfxMessageText() const;
    void BrowseIcoClick();
    void iconIndexChanged(int index);
    void iconFileEdited();
    void setIconIndexEnabled(bool enabled);

    void StringGrid1ClickSort(int col, TSortOptions& options);
    void StringGrid1BeginSort();
    void StringGrid1GetCellFormat(int col, int row, TFormatOptions& format);
    void StringGrid1DrawCell(int col, int row, const QRect& rect);

    std::unique_ptr<Ui::MainForm> m_ui;
    std::unique_ptr<IUserHost> m_ownHost;
    IUserHost* m_host = nullptr;
    std::unique_ptr<TZipEngine> m_engine;
    THintHandler* m_hints = nullptr;
    ArchiveStart m_start;
    QString m_argument;
    QString m_dllDirectory;
    QString m_extractDestination;
    QString m_runAfter;

    QMenu* m_columnMenu = nullptr;
    QAction* m_hideDates = nullptr;
    QAction* m_hideRatio = nullptr;
    QAction* m_hideBefore = nullptr;
    QAction* m_hideAfter = nullptr;
    QAction* m_alwaysOnTop = nullptr;

    THemisphereButton* m_buttonAdd = nullptr;
    THemisphereButton* m_buttonDelete = nullptr;
    THemisphereButton* m_buttonExtract = nullptr;
    THemisphereButton* m_buttonToExe = nullptr;
    THemisphereButton* m_buttonToZip = nullptr;

    // ---- ZIP/EXE conversion pages ----
    IProcesses* m_processes = nullptr; // not owned
    QByteArray m_iconBytes;

    QPixmap m_sortArrows[2]; // ascending, descending
    QTimer* m_resizeTimer = nullptr;
    ProgressGauge m_progress;

    int m_sortColumn = 0;
    TSortDirection m_sortDirection = sdAscending;
    qint64 m_sumCompressed = 0;
    qint64 m_sumUncompressed = 0;

    // ---- Column widths, the sort arrow's room and the first showing ----
protected:
    void showEvent(QShowEvent* event) override;

private:
    // The grid's AutoSizeCol, fast enough for 65,535 rows.
    void autoSizeColumn(int col);
    // Widens the sort column when its title has no room for the arrow.
    void keepSortArrowRoom();
    int sortTitleWidth(int col) const;
    // The widths a resize gives the folder and type columns.
    void applyResizeWidths();
    bool m_shownOnce = false;
};

} // namespace brx
