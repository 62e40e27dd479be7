#include "THintHandler.h"

#include "Hints.h"

#include <QCoreApplication>
#include <QDynamicPropertyChangeEvent>
#include <QWidget>

namespace brx {

THintHandler::THintHandler(QWidget* window) : QObject(window), m_window(window) {
    // Enter and leave events go to each control, not to the window: the
    // handler watches them application-wide and keeps those of its window.
    qApp->installEventFilter(this);
}

THintHandler::~THintHandler() {
    qApp->removeEventFilter(this);
}

bool THintHandler::belongsToWindow(const QWidget* widget) const {
    return widget != nullptr && m_window != nullptr &&
           (widget == m_window || m_window->isAncestorOf(widget));
}

void THintHandler::hover(QWidget* widget) {
    m_hovered = widget;
    const QString hint = GetLongHint(EffectiveHint(widget));
    if (hint == m_current) return;
    m_current = hint;
    if (OnHint) OnHint(m_current);
}

bool THintHandler::eventFilter(QObject* watched, QEvent* e) {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!belongsToWindow(widget)) return false;
    switch (e->type()) {
    case QEvent::Enter:
        hover(widget);
        break;
    case QEvent::Leave:
        if (widget == m_hovered) hover(widget == m_window ? nullptr : widget->parentWidget());
        break;
    case QEvent::DynamicPropertyChange:
        if (m_hovered != nullptr && (widget == m_hovered || widget->isAncestorOf(m_hovered)))
            hover(m_hovered);
        break;
    case QEvent::ToolTip:
        return !m_showHint;
    default:
        break;
    }
    return false;
}

} // namespace brx
