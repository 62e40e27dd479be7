#include "TComboBox98.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace brx {

TComboBox98::TComboBox98(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    installEditor();
}

void TComboBox98::installEditor() {
    QLineEdit* edit = lineEdit();
    setCompleter(nullptr);
    edit->installEventFilter(this);
    // textEdited: only the user's own changes, never the text we set.
    connect(edit, &QLineEdit::textEdited, this, &TComboBox98::completeText);
}

bool TComboBox98::eventFilter(QObject* watched, QEvent* e) {
    if (watched == lineEdit() && e->type() == QEvent::KeyPress)
        m_lastKey = static_cast<QKeyEvent*>(e)->key();
    return QComboBox::eventFilter(watched, e);
}

void TComboBox98::completeText(const QString& typed) {
    if (!m_complete || !isEditable()) return;
    if (m_lastKey == Qt::Key_Backspace || m_lastKey == Qt::Key_Delete) return;
    // An emptied box (cut, select and type nothing) is left empty.
    if (typed.isEmpty() || typed.size() < m_minLengthComplete || count() == 0) return;
    for (int i = 0; i < count(); ++i) {
        const QString item = itemText(i);
        if (!item.startsWith(typed, Qt::CaseInsensitive)) continue;
        QString completion = item.mid(typed.size());
        bool accept = true;
        if (OnComplete) OnComplete(this, m_lastKey, accept, completion);
        if (accept) {
            lineEdit()->setText(typed + completion);
            lineEdit()->setSelection(static_cast<int>(typed.size()),
                                     static_cast<int>(completion.size()));
        }
        return;
    }
}

} // namespace brx
