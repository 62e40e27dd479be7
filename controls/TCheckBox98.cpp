#include "TCheckBox98.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcutEvent>

namespace brx {

namespace {
constexpr int kBoxSize = 13;
constexpr int kGap = 5;
} // namespace

TCheckBox98::TCheckBox98(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    applyAutoSize();
}

TCheckBox98::TCheckBox98(const QString& caption, QWidget* parent) : TCheckBox98(parent) {
    SetCaption(caption);
}

void TCheckBox98::SetState(TCheckBoxState value) {
    if (value == cbGrayed && !m_allowGrayed) value = cbUnchecked;
    if (value == m_state) return;
    m_state = value;
    update();
}

void TCheckBox98::SetAlignment(TAlignment value) {
    m_alignment = value == taLeftJustify ? taLeftJustify : taRightJustify;
    update();
}

void TCheckBox98::SetAutoSize(bool value) {
    m_autoSize = value;
    applyAutoSize();
}

void TCheckBox98::SetCaption(const QString& value) {
    m_caption = value;
    setAccessibleName(QString(value).remove(QLatin1Char('&')));
    updateShortcut();
    applyAutoSize();
    update();
}

void TCheckBox98::Click() {
    // The handler runs while State still holds the old value.
    if (OnClick) OnClick(this);
    switch (m_state) {
    case cbUnchecked:
        m_state = m_allowGrayed ? cbGrayed : cbChecked;
        break;
    case cbChecked:
        m_state = cbUnchecked;
        break;
    case cbGrayed:
        m_state = cbChecked;
        break;
    }
    update();
}

QSize TCheckBox98::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const QString text = QString(m_caption).remove(QLatin1Char('&'));
    const int textWidth = text.isEmpty() ? 0 : kGap + fm.horizontalAdvance(text) + 2;
    return {kBoxSize + 2 + textWidth, std::max(kBoxSize + 4, fm.height() + 2)};
}

void TCheckBox98::applyAutoSize() {
    if (m_autoSize) resize(sizeHint());
    updateGeometry();
}

void TCheckBox98::updateShortcut() {
    if (m_shortcutId != 0) releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    const QKeySequence mnemonic = QKeySequence::mnemonic(m_caption);
    if (!mnemonic.isEmpty()) m_shortcutId = grabShortcut(mnemonic);
}

bool TCheckBox98::event(QEvent* e) {
    if (e->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(e);
        if (shortcut->shortcutId() == m_shortcutId) {
            if (isEnabled() && isVisible()) {
                setFocus(Qt::ShortcutFocusReason);
                Click();
            }
            return true;
        }
    }
    return QWidget::event(e);
}

void TCheckBox98::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) applyAutoSize();
    QWidget::changeEvent(e);
}

void TCheckBox98::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    m_pressed = true;
    update();
}

void TCheckBox98::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed) return QWidget::mouseReleaseEvent(e);
    m_pressed = false;
    if (rect().contains(e->position().toPoint()))
        Click();
    else
        update();
}

void TCheckBox98::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of a double click is one more click; its release
    // must not count again.
    if (e->button() != Qt::LeftButton) return;
    m_pressed = false;
    Click();
}

void TCheckBox98::keyPressEvent(QKeyEvent* e) {
    // Space belongs to the box: it must not reach a default button.
    if (e->key() == Qt::Key_Space) return e->accept();
    QWidget::keyPressEvent(e);
}

void TCheckBox98::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) return Click();
    QWidget::keyReleaseEvent(e);
}

QRect TCheckBox98::boxRect() const {
    const int top = (height() - kBoxSize) / 2;
    const int left = m_alignment == taLeftJustify ? width() - kBoxSize - 1 : 1;
    return {left, top, kBoxSize, kBoxSize};
}

void TCheckBox98::drawMark(QPainter& painter, const QRect& box) const {
    QPainterPath tick;
    tick.moveTo(box.left() + 3, box.top() + 6.5);
    tick.lineTo(box.left() + 5.5, box.top() + 9.5);
    tick.lineTo(box.left() + 10, box.top() + 3.5);
    const QColor ink = m_state == cbGrayed || !isEnabled() ? palette().color(QPalette::Mid)
                                                           : palette().color(QPalette::Text);
    painter.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
}

void TCheckBox98::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect box = boxRect();
    QColor face = palette().color(isEnabled() ? QPalette::Base : QPalette::Window);
    if (m_state == cbGrayed) face = palette().color(QPalette::Button);
    if (m_pressed) face = face.darker(110);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(face);
    painter.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
    if (m_state != cbUnchecked) drawMark(painter, box);

    const QRect textRect = m_alignment == taLeftJustify
                               ? QRect(0, 0, box.left() - kGap, height())
                               : QRect(box.right() + kGap + 1, 0, width(), height());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const int align = Qt::AlignVCenter | Qt::TextShowMnemonic |
                      (m_alignment == taLeftJustify ? Qt::AlignRight : Qt::AlignLeft);
    painter.drawText(textRect, align, m_caption);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            textRect.adjusted(-2, 1, -1, -2).intersected(rect().adjusted(0, 0, -1, -1)));
    }
}

} // namespace brx
