#include "TDRLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace brx {

namespace {
constexpr int kDefaultBlinkInterval = 300;
} // namespace

TDRLabel::TDRLabel(QWidget* parent)
    : QWidget(parent)
    , m_fontColor(palette().color(QPalette::WindowText))
    , m_color(palette().color(QPalette::Window))
    , m_shadowColor(palette().color(QPalette::Light)) {
    m_timer.setInterval(kDefaultBlinkInterval);
    connect(&m_timer, &QTimer::timeout, this, &TDRLabel::BlinkTick);
    setMouseTracking(true);
    resize(sizeHint());
}

TDRLabel::TDRLabel(const QString& caption, QWidget* parent) : TDRLabel(parent) {
    SetCaption(caption);
    resize(sizeHint());
}

void TDRLabel::SetCaption(const QString& value) {
    m_caption = value;
    setAccessibleName(QString(value).remove(QLatin1Char('&')));
    updateGeometry();
    update();
}

void TDRLabel::SetFontColor(const QColor& value) {
    m_fontColor = value;
    update();
}

void TDRLabel::SetColor(const QColor& value) {
    m_color = value;
    update();
}

void TDRLabel::SetTransparent(bool value) {
    m_transparent = value;
    update();
}

void TDRLabel::SetDeep(int value) {
    m_deep = static_cast<std::uint8_t>(value);
    updateGeometry();
    update();
}

void TDRLabel::SetShadowColor(const QColor& value) {
    m_shadowColor = value;
    update();
}

void TDRLabel::SetCtl3D(bool value) {
    m_ctl3D = value;
    update();
}

void TDRLabel::SetBorder(TLabelBorder value) {
    m_border = value;
    update();
}

void TDRLabel::SetBlink(TBlinkMode value) {
    if (value == m_blink) return;
    // Whatever a blinking mode did to the text colour is undone first.
    if (m_blink != blNone) m_fontColor = m_savedFontColor;
    m_blink = value;
    if (m_blink == blNone) {
        m_timer.stop();
    } else {
        m_savedFontColor = m_fontColor;
        m_timer.start();
    }
    update();
}

void TDRLabel::BlinkTick() {
    if (m_blink == blHiLo)
        m_fontColor = m_fontColor == m_hiColor ? m_loColor : m_hiColor;
    else if (m_blink == blBlink)
        m_fontColor = m_fontColor != m_color ? m_color : m_savedFontColor;
    update();
}

QSize TDRLabel::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int frame = m_border == boNone ? 0 : 2;
    const int textWidth = fm.horizontalAdvance(shownCaption().remove(QLatin1Char('&')));
    return {textWidth + m_deep + 2 * frame, fm.height() + m_deep + 2 * frame};
}

QString TDRLabel::shownCaption() const {
    // Nothing to show paints as one blank.
    if (m_caption.isEmpty() || m_caption == QLatin1String("&")) return QStringLiteral(" ");
    return m_caption;
}

void TDRLabel::drawBorder(QPainter& painter) const {
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    switch (m_border) {
    case boNone:
        return;
    case boSingle:
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(r);
        return;
    case boRaised:
    case boLowered: {
        const QColor topLeft = m_border == boRaised ? light : dark;
        const QColor bottomRight = m_border == boRaised ? dark : light;
        painter.setPen(topLeft);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        return;
    }
    }
}

void TDRLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_transparent) painter.fillRect(rect(), m_color);
    drawBorder(painter);
    const int frame = m_border == boNone ? 0 : 2;
    const QRect textRect = rect().adjusted(frame, frame, -frame - m_deep, -frame - m_deep);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    const QString text = shownCaption();
    if (m_ctl3D && m_fontColor != m_color) {
        painter.setPen(m_shadowColor);
        painter.drawText(textRect.translated(m_deep, m_deep), flags, text);
    }
    if (m_fontColor == m_color) return;
    painter.setPen(isEnabled() ? m_fontColor
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, flags, text);
}

void TDRLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick)
        OnClick(this);
}

void TDRLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

void TDRLabel::mouseMoveEvent(QMouseEvent* e) {
    if (OnMouseMove) OnMouseMove(this);
    QWidget::mouseMoveEvent(e);
}

} // namespace brx
