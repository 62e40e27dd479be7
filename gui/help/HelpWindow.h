#pragma once
// The help viewer: the list of topics on the left, the topic on the right,
// links between topics, back and forward through the topics seen, the
// contents page, and a search that finds a word in the current topic and
// then in the following ones.

#include "HelpFile.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QLabel;

namespace brx {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(HelpFile file, QWidget* parent = nullptr);

    void setFile(HelpFile file);
    // Shows a topic and records it in the history; an unknown context
    // shows the contents.
    void showContext(int context);
    int currentContext() const { return m_current; }
    void back();
    void forward();
    // Selects the next occurrence of the text, from the current topic on;
    // false when no topic holds it.
    bool findNext(const QString& text);

private:
    void buildUi();
    void display(int context);
    void linkClicked(const QUrl& url);
    void updateButtons();
    void fillContents();

    HelpFile m_file;
    QList<int> m_history;
    qsizetype m_position = -1;
    int m_current = 0;
    QListWidget* m_contents = nullptr;
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_searchResult = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};

// Opens (or brings up) the viewer on the help file at `path`; a missing or
// damaged file gives a French message box and returns null.
HelpWindow* ShowHelpFile(QWidget* parent, const QString& path, int context);

} // namespace brx
