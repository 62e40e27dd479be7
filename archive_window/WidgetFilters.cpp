#include "archive_window/WidgetFilters.h"

#include <QKeyEvent>

#include <algorithm>

namespace brx {

bool isAcceptedPathChar(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) return true;
    return QStringView(u" !#$&*-:@\\_~/").contains(c);
}

HistoryKeyFilter::HistoryKeyFilter(QObject* parent, Keys keys, std::function<void()> onEnter)
    : QObject(parent)
    , m_keys(keys)
    , m_onEnter(std::move(onEnter)) {}

bool HistoryKeyFilter::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (m_onEnter) m_onEnter();
        return true;
    }
    if (m_keys == Keys::Any) return false;
    const QString text = key->text();
    const bool typesText = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() != 0x7F;
    });
    return typesText && !std::all_of(text.cbegin(), text.cend(), isAcceptedPathChar);
}

DoubleClickFilter::DoubleClickFilter(QObject* parent, std::function<void()> onDoubleClick)
    : QObject(parent)
    , m_onDoubleClick(std::move(onDoubleClick)) {}

bool DoubleClickFilter::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && m_onDoubleClick) m_onDoubleClick();
    return false;
}

} // namespace brx
