#include "archive_window/TMainForm.h"

#include "archive_window/GridTexts.h"
#include "controls/Hints.h"
#include "controls/Pictures.h"
#include "controls/THemisphereButton.h"
#include "controls/THintHandler.h"
#include "controls/TSortGrid.h"
#include "engine/ZipEngine.h"
#include "gui/HistoryCombo.h"
#include "gui/WidgetsUserHost.h"
#include "gui/help/HelpViewer.h"
#include "platform/ProgramInfo.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsKeys.h"
#include "support/AppGlobals.h"
#include "support/FileSpelling.h"
#include "ui_MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>

// The window's own resources live in a static library: register them once.
static void initArchiveWindowResources() {
    Q_INIT_RESOURCE(archive_window);
}

namespace brx {

namespace {

const QString kNoComment = QStringLiteral("AUCUN commentaire détecté dans cette archive.");
const QString kCancelQuestion = QStringLiteral("Souhaitez vous annuler l'opération en cours ?");
const QString kGridDesignHint = QStringLiteral("Clic DROIT souris pour options.");
// Where the sort arrow goes in a title cell, and where the grid starts a
// left-aligned text.
constexpr int kArrowFromRight = 18;
constexpr int kArrowGap = 4;
constexpr int kCellTextLeft = 2;
const QString kRunAfterPrompt =
    QStringLiteral("Double cliquez sur le fichier à lancer après extraction.");

// Colours are given as the numbers of the window's design: blue in the high
// byte, red in the low byte.
QColor designColour(unsigned value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The archive manager's engine as its window stores it.
void applyFormSettings(TZipEngine& engine) {
    engine.setAddOptions(AddOpts(AddDirNames) | AddHiddenFiles);
    engine.setConfirmErase(false);
    engine.setHowToDelete(htdFinal);
    engine.setAddCompLevel(9);
    engine.setSFXPath(QStringLiteral("ZipSFX.bin"));
    engine.setSFXCaption(QStringLiteral("Self-extracting Archive"));
    engine.setAddStoreSuffixes(AddStoreExts(assGIF) | assPNG | assZ | assZIP | assZOO | assARC |
                               assLZH | assARJ | assTAZ | assTGZ | assLHA);
    QFile icon(QStringLiteral(":/archive_window/default.ico"));
    if (icon.open(QIODevice::ReadOnly)) engine.setSFXIcon(icon.readAll());
}

// The arrow the window draws in the title of the sorted column. The arrow
// pictures keep their background in cyan, the grid's transparent colour.
QPixmap sortArrow(TSortDirection direction) {
    const QString file = direction == sdAscending ? QStringLiteral(":/sortgrid/SORTUP.png")
                                                  : QStringLiteral(":/sortgrid/SORTDN.png");
    QImage image = QImage(file).convertToFormat(QImage::Format_ARGB32);
    const QRgb background = qRgb(0, 255, 255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (background & 0xFFFFFF))
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QPixmap::fromImage(image);
}

// The action buttons' 16-point bold caption, made smaller when this
// desktop's fonts are too wide for the disc (the design's font is narrow).
QFont captionFont(QFont font, const QString& caption, int discWidth) {
    font.setBold(true);
    const int room = discWidth - 2 * 4 - 10;
    for (int points = 16; points > 8; --points) {
        font.setPointSize(points);
        if (QFontMetrics(font).horizontalAdvance(caption) <= room) break;
    }
    return font;
}

// The design's fonts, where this desktop lacks them: the nearest narrow faces.
void substituteDesignFonts() {
    const QStringList narrow{QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arimo"),
                             QStringLiteral("DejaVu Sans Condensed")};
    if (QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty())
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), narrow);
    if (QFont::substitutes(QStringLiteral("Arial")).isEmpty())
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("DejaVu Sans")});
}

QString homeFolder() {
    return QDir::homePath() + QLatin1Char('/');
}

QString sectionName(const settings::HistorySection& history) {
    return QString::fromLatin1(history.section);
}

std::optional<QString> defaultItem(const settings::HistorySection& history) {
    if (history.defaultItem == nullptr) return std::nullopt;
    return QString::fromUtf8(history.defaultItem);
}

} // namespace

TMainForm::TMainForm(const QString& argument, QWidget* parent)
    : TMainForm(argument, Services{}, parent) {}

TMainForm::TMainForm(const QString& argument, const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::MainForm>())
    , m_host(services.host)
    , m_argument(argument)
    , m_dllDirectory(services.dllDirectory) {
    initArchiveWindowResources();
    if (m_host == nullptr) {
        m_ownHost = std::make_unique<WidgetsUserHost>(this);
        m_host = m_ownHost.get();
    }
    substituteDesignFonts();
    m_ui->setupUi(this);
    setWindowTitle(applicationTitle());
    OnHelpRequested = [this](int context) { ShowHelpContext(this, context); };
    m_resizeTimer = new QTimer(this);
    m_resizeTimer->setSingleShot(true);
    m_resizeTimer->setInterval(150);
    connect(m_resizeTimer, &QTimer::timeout, this, &TMainForm::refillAfterResize);
    FormCreate();
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    m_engine->UnloadZipLibrary();
    m_engine->UnloadUnzLibrary();
}

TSortGrid* TMainForm::grid() const {
    return m_ui->StringGrid1;
}

void TMainForm::FormCreate() {
    setupEngine();
    m_engine->LoadZipLibrary();
    m_engine->LoadUnzLibrary();
    setAcceptDrops(true);
    // Keys reach the window before its controls (Escape, keypad minus).
    qApp->installEventFilter(this);
    m_hints = new THintHandler(this);
    m_hints->OnHint = [this](const QString& longHint) { m_ui->StatusBar1->showMessage(longHint); };
    setupGrid();
    setupColumnMenu();
    setupCommands();
    readWindowSettings();
    loadHistories();
    if (m_alwaysOnTop->isChecked()) applyAlwaysOnTop(true);
    m_ui->EDCmdLn->setText(kRunAfterPrompt);
    m_extractDestination = m_ui->ComboExtractPath->currentText();
    makeActionButtons();
    setupExtractPage();
    setupSfxPages();
    applyArgument();
    DefaultIcoClick();
    showArchivePath();
    m_ui->StringGrid1->SetRowCount(2);
    writeTitles();
    m_sortColumn = 0;
    m_sortDirection = sdAscending;
    if (!m_argument.isEmpty()) FillGrid();
}

void TMainForm::setupEngine() {
    m_engine = std::make_unique<TZipEngine>(m_host);
    m_engine->setOwnerWindow(this);
    m_engine->setDLLDirectory(m_dllDirectory);
    applyFormSettings(*m_engine);
    m_engine->OnProgress = [this](ProgressType type, const QString&, qint64 size) {
        ZipEngine1Progress(type, size);
    };
}

void TMainForm::ZipEngine1Progress(ProgressType type, qint64 size) {
    const int position = m_progress.report(type, size);
    m_ui->ProgressBar1->setValue(position);
    m_ui->ProgressBar1->setVisible(m_progress.visible());
}

void TMainForm::setupGrid() {
    TSortGrid* grid = m_ui->StringGrid1;
    grid->SetColCount(kGridColumnCount);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    grid->SetDefaultRowHeight(15);
    grid->setFont(QFont(QStringLiteral("Arial"), 9));
    grid->SetOptions(TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine |
                     goRangeSelect | goRowSelect | goColSizing | goColMoving | goRowSizing);
    // Long names and the 300-pixel folder column make the grid wider than
    // the window: without a horizontal bar the last columns could not be seen.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->SetSortOnClick(true);
    grid->SetSortSymbol(sgNone);
    grid->SetCaseSensitive(false);
    grid->SetAlignmentHorz(taLeftJustify);
    grid->SetAlignmentVert(taMiddle);
    grid->SetBevelStyle(cbLowered);
    grid->SetProportionalScrollBars(true);
    grid->SetExtendedKeys(false);
    grid->SetFooterRows(0);
    const int designWidths[kGridColumnCount] = {170, 85, 32, 79, 81, 60, 60};
    for (int col = 0; col < kGridColumnCount; ++col) grid->SetColWidths(col, designWidths[col]);
    SetHint(grid, kGridDesignHint);

    m_sortArrows[sdAscending] = sortArrow(sdAscending);
    m_sortArrows[sdDescending] = sortArrow(sdDescending);
    grid->OnClickSort = [this](TSortGrid*, int col, int, TSortOptions& options) {
        StringGrid1ClickSort(col, options);
    };
    grid->OnBeginSort = [this](TSortGrid*, int, TSortOptions&) { StringGrid1BeginSort(); };
    grid->OnEndSort = [this](TSortGrid*, int) { FillTotals(); };
    grid->OnGetCellFormat = [this](TSortGrid*, int col, int row, TGridDrawState,
                                   TFormatOptions& format) {
        StringGrid1GetCellFormat(col, row, format);
    };
    grid->OnDrawCell = [this](TSortGrid*, int col, int row, const QRect& rect, TGridDrawState) {
        StringGrid1DrawCell(col, row, rect);
    };
}

void TMainForm::setupColumnMenu() {
    m_columnMenu = new QMenu(this);
    m_columnMenu->setObjectName(QStringLiteral("PopupMenu1"));
    auto addItem = [this](const char* name, const QString& caption) {
        QAction* item = m_columnMenu->addAction(caption);
        item->setObjectName(QString::fromLatin1(name));
        item->setCheckable(true);
        return item;
    };
    m_hideDates = addItem("MasquerDates", QStringLiteral("Masquer les Dates"));
    m_hideRatio = addItem("MasquerTxComp", QStringLiteral("Masquer Tx Comp"));
    m_hideBefore = addItem("MasquerAvant", QStringLiteral("Masquer taille  \"Avant\""));
    m_hideAfter = addItem("MasquerApres", QStringLiteral("Masquer taille \" Après\""));
    m_alwaysOnTop = addItem("FenetreVisible", QStringLiteral("Fenêtre toujours visible."));

    connect(m_hideDates, &QAction::triggered, this,
            [this] { columnItemTriggered(m_hideDates, ColDate, settings::kHideColumnDate.key); });
    connect(m_hideRatio, &QAction::triggered, this,
            [this] { columnItemTriggered(m_hideRatio, ColRatio, settings::kHideColumnRatio.key); });
    connect(m_hideBefore, &QAction::triggered, this, [this] {
        columnItemTriggered(m_hideBefore, ColBefore, settings::kHideColumnBefore.key);
    });
    connect(m_hideAfter, &QAction::triggered, this,
            [this] { columnItemTriggered(m_hideAfter, ColAfter, settings::kHideColumnAfter.key); });
    connect(m_alwaysOnTop, &QAction::triggered, this, &TMainForm::alwaysOnTopTriggered);

    TSortGrid* grid = m_ui->StringGrid1;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& pos) { m_columnMenu->popup(grid->mapToGlobal(pos)); });
}

void TMainForm::setupCommands() {
    struct Command {
        THemisphereButton* button;
        QLabel* label;
        QString caption;
        QString hint;
    };
    const Command commands[] = {
        {m_ui->BttnTest, m_ui->LabelTest, QStringLiteral("!"),
         QStringLiteral("| Tester cette archive.")},
        {m_ui->BttnHelp, m_ui->LabelHelp, QStringLiteral("?"), QString()},
        {m_ui->BttnQuit, m_ui->LabelQuit, QString(), QString()},
    };
    for (const Command& command : commands) {
        command.button->SetCaption(command.caption);
        command.button->SetFaceColor(palette().color(QPalette::Button));
        if (!command.hint.isEmpty()) {
            SetHint(command.button, command.hint);
            SetHint(command.label, command.hint);
        }
    }
    // The labels act on a click like their buttons (seen by eventFilter).
    connect(m_ui->BttnHelp, &QAbstractButton::clicked, this, &TMainForm::HelpClick);
    connect(m_ui->BttnQuit, &QAbstractButton::clicked, this, &TMainForm::QuitClick);
    connect(m_ui->BttnTest, &QAbstractButton::clicked, this, &TMainForm::TestClick);

    SetHint(m_ui->TabSheet1, QStringLiteral("| Utiliser le Glisser - Déposer depuis l'explorer "
                                            "pour ajouter un fichier ou le contenu d'un dossier."));
    SetHint(m_ui->CbPath, QStringLiteral("|Stocker les chemins des fichiers."));
    SetHint(m_ui->CbSubDir, QStringLiteral("|Inclure les sous répertoires."));
    SetHint(m_ui->CBaskAdd,
            QStringLiteral("|Demander une confirmation AVANT de comprimer la sélection."));
    SetHint(m_ui->UpTxComp, QStringLiteral("1=Très rapide --  9=Très lent mais très compact."));
    SetHint(m_ui->CBFolderAdd, QStringLiteral("| Ajouter TOUT le contenu d'un répertoire ") +
                                   homeFolder() + QStringLiteral("MonChoix/*.*"));
    SetHint(m_ui->CbAskDel,
            QStringLiteral("|Demander confirmation avant de supprimer des fichiers."));
    // "Un fichier..." and "Un dossier...." exclude each other.
    connect(m_ui->CBFileAdd, &QCheckBox::toggled, this,
            [this](bool on) { m_ui->CBFolderAdd->setChecked(!on); });
    connect(m_ui->CBFolderAdd, &QCheckBox::toggled, this,
            [this](bool on) { m_ui->CBFileAdd->setChecked(!on); });
}

void TMainForm::makeActionButtons() {
    struct ActionButton {
        THemisphereButton** slot;
        const char* name;
        QWidget* page;
        QString caption;
        QRect geometry;
        unsigned colour;
        QString hint;
    };
    const ActionButton buttons[] = {
        {&m_buttonAdd, "BttnAjouter", m_ui->TabSheet1, QStringLiteral("Ajouter"),
         QRect(272, 64, 90, 90), 0x4080FF, QString()},
        {&m_buttonDelete, "BttnSupp", m_ui->TabSheet3, QStringLiteral("Supp..."),
         QRect(272, 64, 90, 90), 0x8080FF, QStringLiteral("Supprimer.")},
        {&m_buttonExtract, "BttnExtraire", m_ui->TabSheet2, QStringLiteral("Extraire"),
         QRect(272, 64, 90, 90), 0x408000, QString()},
        {&m_buttonToExe, "BttnToExe", m_ui->TabSheet4, QStringLiteral(">> EXE"),
         QRect(272, 140, 90, 35), 0x4080FF, QString()},
        {&m_buttonToZip, "BttnToZip", m_ui->TabSheet4, QStringLiteral(">> ZIP"),
         QRect(24, 140, 90, 35), 0xFF8000, QString()},
    };
    for (const ActionButton& spec : buttons) {
        auto* button = new THemisphereButton(spec.caption, spec.page);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setGeometry(spec.geometry);
        button->SetBevelWidth(4);
        button->setFont(captionFont(button->font(), spec.caption, spec.geometry.width()));
        button->SetFaceColor(designColour(spec.colour));
        if (!spec.hint.isEmpty()) SetHint(button, spec.hint);
        *spec.slot = button;
    }
    connect(m_buttonAdd, &QAbstractButton::clicked, this, &TMainForm::AddClick);
    connect(m_buttonDelete, &QAbstractButton::clicked, this, &TMainForm::DeleteClick);
    connect(m_buttonExtract, &QAbstractButton::clicked, this, &TMainForm::Extract);
}

void TMainForm::readWindowSettings() {
    const PrivateProfile file(settingsFilePath());
    move(settings::read(file, settings::kLeft), settings::read(file, settings::kTop));
    // Before any width was saved the window keeps its design width.
    const int width = settings::read(file, settings::kWidth);
    if (width > 0) resize(width, height());
    m_hideAfter->setChecked(settings::read(file, settings::kHideColumnAfter));
    m_hideBefore->setChecked(settings::read(file, settings::kHideColumnBefore));
    m_hideRatio->setChecked(settings::read(file, settings::kHideColumnRatio));
    m_hideDates->setChecked(settings::read(file, settings::kHideColumnDate));
    m_alwaysOnTop->setChecked(settings::read(file, settings::kAlwaysOnTop));
    m_ui->CBExploExtr->setChecked(settings::read(file, settings::kExploreAfterExtract));
    m_ui->CbMsgExtract->setChecked(settings::read(file, settings::kCountMessageAfterExtract));
    m_ui->UpTxComp->setValue(settings::read(file, settings::kLevel));
}

void TMainForm::loadHistories() {
    const QString file = settingsFilePath();
    LoadHistory(m_ui->ComboExtractPath, file, sectionName(settings::kHistoryExtrDir), homeFolder());
    LoadHistory(m_ui->ComboTitre, file, sectionName(settings::kHistoryTitles),
                defaultItem(settings::kHistoryTitles));
    LoadHistory(m_ui->ComboDefDirExtr, file, sectionName(settings::kHistoryDefExtrDir),
                defaultItem(settings::kHistoryDefExtrDir));
}

void TMainForm::applyArgument() {
    m_start = deriveArchiveStart(m_argument, programFolder(), existingFileSpelling);
    if (m_start.page == StartPage::Extract) m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet2);
    if (m_start.page == StartPage::ZipExe) m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet4);
    if (!m_start.pictureFile.isEmpty()) ShowPicture(m_ui->ImagePage, m_start.pictureFile, true);
    m_engine->setZipFileName(m_start.startPath);
}

void TMainForm::showArchivePath() {
    m_ui->LabelArchive->SetFileName(m_engine->ZipFileName());
    const QString comment = m_engine->ZipComment();
    SetHint(m_ui->LabelArchive, comment.size() < 2 ? kNoComment : comment);
}

void TMainForm::writeTitles() {
    const QString titles[kGridColumnCount] = {QStringLiteral("Fichier"), QStringLiteral("Date"),
                                              QStringLiteral("%"),       QStringLiteral("Après"),
                                              QStringLiteral("Avant"),   QStringLiteral("Chemin"),
                                              QStringLiteral("Type")};
    for (int col = 0; col < kGridColumnCount; ++col)
        m_ui->StringGrid1->SetCells(col, 0, titles[col]);
}

void TMainForm::applyAlwaysOnTop(bool onTop) {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) show();
}

void TMainForm::applyColumnItems() {
    applyColumnItem(m_hideDates, ColDate);
    applyColumnItem(m_hideRatio, ColRatio);
    applyColumnItem(m_hideBefore, ColBefore);
    applyColumnItem(m_hideAfter, ColAfter);
}

void TMainForm::applyColumnItem(QAction* item, int column) {
    if (item->isChecked())
        m_ui->StringGrid1->SetColWidths(column, 0);
    else
        autoSizeColumn(column);
    keepSortArrowRoom();
}

void TMainForm::columnItemTriggered(QAction* item, int column, const char* key) {
    applyColumnItem(item, column);
    PrivateProfile file(settingsFilePath());
    file.writeBool(QString::fromLatin1(settings::kExplo), QString::fromLatin1(key),
                   item->isChecked());
}

void TMainForm::alwaysOnTopTriggered() {
    applyAlwaysOnTop(m_alwaysOnTop->isChecked());
    PrivateProfile file(settingsFilePath());
    settings::write(file, settings::kAlwaysOnTop, m_alwaysOnTop->isChecked());
}

bool TMainForm::writeQuitSettings() {
    try {
        PrivateProfile file(settingsFilePath());
        settings::write(file, settings::kTop, y());
        settings::write(file, settings::kLeft, x());
        settings::write(file, settings::kWidth, width());
        settings::write(file, settings::kLevel, m_ui->UpTxComp->value());
        settings::write(file, settings::kExploreAfterExtract, m_ui->CBExploExtr->isChecked());
        settings::write(file, settings::kCountMessageAfterExtract, m_ui->CbMsgExtract->isChecked());
        SaveHistory(m_ui->ComboExtractPath, file.path(), sectionName(settings::kHistoryExtrDir));
        SaveHistory(m_ui->ComboDefDirExtr, file.path(), sectionName(settings::kHistoryDefExtrDir));
        SaveHistory(m_ui->ComboTitre, file.path(), sectionName(settings::kHistoryTitles));
        return true;
    } catch (const SettingsWriteError& e) {
        // The window stays open so that nothing the user chose is lost unseen.
        m_host->messageBox(MessageRequest{e.text(), applicationTitle(), MsgButtons::Ok,
                                          MsgIcon::Error, MsgResult::None});
        return false;
    }
}

bool TMainForm::engineWorking() const {
    return m_engine->ZipBusy() || m_engine->UnzBusy();
}

bool TMainForm::offerCancel() {
    if (!engineWorking()) return false;
    // Closing under a running library would leave the archive half written:
    // the user may cancel the operation instead, and the window stays open.
    const MsgResult answer = m_host->messageBox(MessageRequest{
        kCancelQuestion, applicationTitle(), MsgButtons::YesNo, MsgIcon::Warning, MsgResult::None});
    if (answer != MsgResult::No) m_engine->setCancel(true);
    return true;
}

void TMainForm::QuitClick() {
    if (offerCancel()) return;
    if (writeQuitSettings()) close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (offerCancel()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TMainForm::HelpClick() {
    setHelpFile(programFolder() + kHelpFileName);
    if (OnHelpRequested) OnHelpRequested(kHelpContext);
}

void TMainForm::hoverCommands(QObject* watched) {
    const std::pair<QLabel*, QFrame*> commands[] = {{m_ui->LabelTest, m_ui->BevelTest},
                                                    {m_ui->LabelHelp, m_ui->BevelHelp},
                                                    {m_ui->LabelQuit, m_ui->BevelQuit}};
    for (const auto& [label, bevel] : commands)
        if (watched == label) bevel->setFrameShadow(QFrame::Sunken);
    if (watched == m_ui->PanelBottom || watched == m_ui->PageControl1) {
        for (const auto& [label, bevel] : commands) bevel->setFrameShadow(QFrame::Raised);
    }
    if (watched == this || watched == m_ui->CentralPanel)
        m_ui->BevelQuit->setFrameShadow(QFrame::Raised);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        hoverCommands(watched);
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_ui->LabelHelp) HelpClick();
        if (watched == m_ui->LabelQuit) QuitClick();
        if (watched == m_ui->LabelTest) TestClick();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        QuitClick();
        return true;
    }
    if (key->key() == Qt::Key_Minus && key->modifiers().testFlag(Qt::KeypadModifier)) {
        DeleteClick();
        return true;
    }
    return false;
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // One refill once the user stops dragging the frame. Sizes given before
    // the window first shows follow the fill of its creation: see showEvent.
    if (!m_argument.isEmpty() && isVisible()) m_resizeTimer->start();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce || m_argument.isEmpty()) return;
    m_shownOnce = true;
    // The grid was filled a moment ago and nobody could change it since: a
    // refill would give the same rows, so only the widths of a resize apply.
    applyResizeWidths();
}

void TMainForm::refillAfterResize() {
    // The operation under way refills the grid when it ends; the new widths
    // wait until then.
    if (engineWorking()) {
        m_resizeTimer->start();
        return;
    }
    FillGrid();
    applyResizeWidths();
}

void TMainForm::applyResizeWidths() {
    m_ui->StringGrid1->SetColWidths(ColFolder, 300);
    autoSizeColumn(ColType);
    keepSortArrowRoom();
}

void TMainForm::StringGrid1ClickSort(int col, TSortOptions& options) {
    m_sortDirection = m_sortDirection == sdAscending ? sdDescending : sdAscending;
    m_sortColumn = col;
    options.SortKind = skAutomatic;
    options.SortDirection = m_sortDirection;
    options.CaseSensitive = false;
    keepSortArrowRoom();
}

void TMainForm::StringGrid1BeginSort() {
    TSortGrid* grid = m_ui->StringGrid1;
    grid->SetRowCount(grid->RowCount() - 1);
}

void TMainForm::StringGrid1GetCellFormat(int col, int row, TFormatOptions& format) {
    if (row == 0) return;
    if (col != ColName && col != ColFolder) format.AlignmentHorz = taRightJustify;
    if (row == m_ui->StringGrid1->RowCount() - 1) {
        format.Font.setBold(true);
        format.Font.Color = Qt::red;
    }
}

void TMainForm::StringGrid1DrawCell(int col, int row, const QRect& rect) {
    QPainter* canvas = m_ui->StringGrid1->Canvas();
    if (row != 0 || col != m_sortColumn || canvas == nullptr) return;
    canvas->drawPixmap(rect.right() + 1 - kArrowFromRight, rect.top() + 1,
                       m_sortArrows[m_sortDirection]);
}

// The arrow is drawn a fixed distance from the title's right edge: a column
// narrower than its caption and that distance would draw it over the caption.
int TMainForm::sortTitleWidth(int col) const {
    const TSortGrid* grid = m_ui->StringGrid1;
    const int captionRight =
        kCellTextLeft + QFontMetrics(grid->font()).horizontalAdvance(grid->Cells(col, 0));
    return captionRight + kArrowGap + kArrowFromRight;
}

void TMainForm::keepSortArrowRoom() {
    TSortGrid* grid = m_ui->StringGrid1;
    const int width = grid->ColWidths(m_sortColumn);
    // A hidden column stays hidden.
    if (width > 0 && width < sortTitleWidth(m_sortColumn))
        grid->SetColWidths(m_sortColumn, sortTitleWidth(m_sortColumn));
}

} // namespace brx
