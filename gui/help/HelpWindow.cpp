#include "HelpWindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace brx {

namespace {

const char* const kStyleSheet = "h3 { color: #005a5a; margin-top: 10px; }"
                                "a { color: #0050a0; }"
                                "li { margin-bottom: 3px; }";

QToolButton* toolButton(const QString& text, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

HelpWindow::HelpWindow(HelpFile file, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_file(std::move(file)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("BRX_EXPLO - Aide"));
    resize(900, 600);
    buildUi();
    fillContents();
}

void HelpWindow::buildUi() {
    m_back = toolButton(QStringLiteral("◀ Précédent"), this);
    m_forward = toolButton(QStringLiteral("Suivant ▶"), this);
    auto* home = toolButton(QStringLiteral("Sommaire"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("HelpSearch"));
    m_search->setPlaceholderText(QStringLiteral("Rechercher dans l'aide"));
    m_search->setClearButtonEnabled(true);
    auto* find = toolButton(QStringLiteral("Rechercher"), this);
    m_searchResult = new QLabel(this);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(home);
    bar->addSpacing(16);
    bar->addWidget(m_search, 1);
    bar->addWidget(find);
    bar->addWidget(m_searchResult);

    m_contents = new QListWidget(this);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setWordWrap(true);
    m_contents->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setOpenLinks(false);
    m_browser->document()->setDefaultStyleSheet(QString::fromLatin1(kStyleSheet));
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({290, 610});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);

    connect(m_back, &QToolButton::clicked, this, &HelpWindow::back);
    connect(m_forward, &QToolButton::clicked, this, &HelpWindow::forward);
    connect(home, &QToolButton::clicked, this, [this] { showContext(kHelpContents); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::linkClicked);
    connect(m_contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showContext(item->data(Qt::UserRole).toInt()); });
    connect(m_contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showContext(item->data(Qt::UserRole).toInt()); });
    auto search = [this] { findNext(m_search->text()); };
    connect(m_search, &QLineEdit::returnPressed, this, search);
    connect(find, &QToolButton::clicked, this, search);

    new QShortcut(QKeySequence::Back, this, this, &HelpWindow::back);
    new QShortcut(QKeySequence::Forward, this, this, &HelpWindow::forward);
    new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Home), this, this,
                  [this] { showContext(kHelpContents); });
    new QShortcut(QKeySequence::Find, this, this, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
}

void HelpWindow::setFile(HelpFile file) {
    m_file = std::move(file);
    m_history.clear();
    m_position = -1;
    fillContents();
}

void HelpWindow::fillContents() {
    m_contents->clear();
    for (const HelpTopic& topic : m_file.topics()) {
        auto* item = new QListWidgetItem(topic.title, m_contents);
        item->setData(Qt::UserRole, topic.context);
    }
}

void HelpWindow::showContext(int context) {
    if (m_file.topic(context) == nullptr) context = kHelpContents;
    if (m_position >= 0 && m_history[m_position] == context) return display(context);
    m_history.resize(m_position + 1); // a new topic drops the forward part
    m_history << context;
    m_position = m_history.size() - 1;
    display(context);
}

void HelpWindow::back() {
    if (m_position <= 0) return;
    display(m_history[--m_position]);
}

void HelpWindow::forward() {
    if (m_position + 1 >= m_history.size()) return;
    display(m_history[++m_position]);
}

void HelpWindow::display(int context) {
    const HelpTopic* topic = m_file.topic(context);
    if (topic == nullptr) return;
    m_current = context;
    m_browser->setHtml(
        QStringLiteral("<h2>%1</h2>%2").arg(topic->title.toHtmlEscaped(), topic->body));
    for (int row = 0; row < m_contents->count(); ++row)
        if (m_contents->item(row)->data(Qt::UserRole).toInt() == context) {
            QSignalBlocker blocker(m_contents);
            m_contents->setCurrentRow(row);
        }
    updateButtons();
}

void HelpWindow::updateButtons() {
    m_back->setEnabled(m_position > 0);
    m_forward->setEnabled(m_position + 1 < m_history.size());
}

void HelpWindow::linkClicked(const QUrl& url) {
    if (url.scheme().isEmpty() && !url.fragment().isEmpty()) {
        bool ok = false;
        const int context = url.fragment().toInt(&ok);
        if (ok) return showContext(context);
    }
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        QDesktopServices::openUrl(url);
}

bool HelpWindow::findNext(const QString& text) {
    m_searchResult->clear();
    if (text.trimmed().isEmpty()) return false;
    if (m_browser->find(text)) return true;
    // Not (or no more) in this topic: the next topic that holds it, going
    // round the file once.
    const QList<HelpTopic>& topics = m_file.topics();
    qsizetype start = 0;
    for (qsizetype i = 0; i < topics.size(); ++i)
        if (topics[i].context == m_current) start = i;
    for (qsizetype step = 1; step <= topics.size(); ++step) {
        const HelpTopic& topic = topics[(start + step) % topics.size()];
        QTextDocument probe;
        probe.setHtml(QStringLiteral("<h2>%1</h2>%2").arg(topic.title.toHtmlEscaped(), topic.body));
        if (!probe.toPlainText().contains(text, Qt::CaseInsensitive)) continue;
        showContext(topic.context);
        m_browser->moveCursor(QTextCursor::Start);
        return m_browser->find(text);
    }
    m_searchResult->setText(QStringLiteral("Introuvable"));
    return false;
}

HelpWindow* ShowHelpFile(QWidget* parent, const QString& path, int context) {
    static QPointer<HelpWindow> window;
    QString error;
    std::optional<HelpFile> file;
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral(
                    "Le fichier d'aide « %1 » est introuvable.\n\nIl doit se trouver dans le "
                    "dossier du programme :\n%2")
                    .arg(QFileInfo(path).fileName(), QFileInfo(path).absolutePath());
    } else if (file = HelpFile::load(path, &error); !file) {
        error = QStringLiteral("Le fichier d'aide « %1 » est endommagé et ne peut pas être affiché "
                               "(%2)\n\nRéinstallez le programme pour le retrouver.")
                    .arg(QFileInfo(path).fileName(), error);
    }
    if (!file) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Aide"), error, QMessageBox::Ok,
                        parent);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
        return nullptr;
    }
    if (window == nullptr)
        window = new HelpWindow(std::move(*file), parent);
    else
        window->setFile(std::move(*file));
    window->showContext(context);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace brx
