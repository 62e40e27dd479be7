#include "THemisphereButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace brx {

THemisphereButton::THemisphereButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_faceColor(palette().color(QPalette::Button)) {
    setFocusPolicy(Qt::StrongFocus);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (OnClick) OnClick(this);
    });
}

THemisphereButton::THemisphereButton(const QString& caption, QWidget* parent)
    : THemisphereButton(parent) {
    SetCaption(caption);
}

void THemisphereButton::SetCaption(const QString& value) {
    setText(value);
    setAccessibleName(QString(value).remove(QLatin1Char('&')));
    update();
}

QSize THemisphereButton::sizeHint() const {
    const int side = std::max(40, fontMetrics().horizontalAdvance(text()) + 4 * m_bevelWidth + 16);
    return {side, side};
}

void THemisphereButton::keyPressEvent(QKeyEvent* e) {
    // Enter presses the button as Space does.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(e);
}

bool THemisphereButton::isRound() const {
    return width() == height();
}

QRectF THemisphereButton::discRect() const {
    if (!isRound()) return QRectF(0.5, 0.5, width() - 1.0, height() - 1.0);
    const qreal side = width() - 1.0;
    return {(width() - side) / 2.0, (height() - side) / 2.0, side, side};
}

// A square button is a disc. Any other button is a rectangle with fully
// rounded ends, so that a wide caption keeps its room instead of being cut
// by a disc as small as the button's height.
QPainterPath THemisphereButton::shapeOf(const QRectF& rect) const {
    QPainterPath path;
    if (isRound()) {
        path.addEllipse(rect);
    } else {
        const qreal radius = std::min(rect.width(), rect.height()) / 2.0;
        path.addRoundedRect(rect, radius, radius);
    }
    return path;
}

bool THemisphereButton::hitButton(const QPoint& pos) const {
    return shapeOf(discRect()).contains(QPointF(pos));
}

void THemisphereButton::drawRing(QPainter& painter, const QRectF& outer,
                                 THemisphereBevel bevel) const {
    if (bevel == hbNone || m_bevelWidth == 0) return;
    // Light from the top left: a raised ring is light above, dark below.
    const QColor light = m_faceColor.lighter(170);
    const QColor dark = m_faceColor.darker(190);
    QLinearGradient gradient(outer.topLeft(), outer.bottomRight());
    gradient.setColorAt(0.0, bevel == hbRaised ? light : dark);
    gradient.setColorAt(1.0, bevel == hbRaised ? dark : light);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawPath(shapeOf(outer));
}

void THemisphereButton::drawFace(QPainter& painter, const QRectF& face, bool pressed) const {
    if (m_faceTransparent) return;
    QColor base = isEnabled() ? m_faceColor : palette().color(QPalette::Disabled, QPalette::Button);
    if (pressed) base = base.darker(115);
    if (m_faceShaded) {
        const QPointF spot = face.center() - QPointF(face.width() / 5, face.height() / 5);
        QRadialGradient gradient(spot, std::max(face.width(), face.height()) * 0.75);
        gradient.setColorAt(0.0, base.lighter(150));
        gradient.setColorAt(1.0, base.darker(130));
        painter.setBrush(gradient);
    } else {
        painter.setBrush(base);
    }
    painter.setPen(Qt::NoPen);
    painter.drawPath(shapeOf(face));
}

void THemisphereButton::drawContent(QPainter& painter, const QRectF& face, bool pressed) const {
    const QPointF shift = pressed ? QPointF(1, 1) : QPointF(0, 0);
    QRectF area = face.translated(shift);
    if (!m_glyph.isNull()) {
        const int w = m_glyph.width() / m_numGlyphs;
        const QRect source(std::clamp(m_glyphIndex, 0, m_numGlyphs - 1) * w, 0, w,
                           m_glyph.height());
        const qreal top = text().isEmpty() ? area.center().y() - source.height() / 2.0
                                           : area.center().y() - source.height();
        painter.drawPixmap(QPointF(area.center().x() - w / 2.0, top), m_glyph, source);
        if (!text().isEmpty()) area.setTop(area.center().y());
    }
    const QColor ink = isEnabled() ? palette().color(QPalette::ButtonText)
                                   : palette().color(QPalette::Disabled, QPalette::ButtonText);
    painter.setPen(ink);
    painter.setFont(font());
    painter.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void THemisphereButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool pressed = isDown() || m_down;
    QRectF disc = discRect();
    if (m_borderStyle == bsSingle) {
        painter.setPen(QPen(m_borderColor, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shapeOf(disc));
        disc.adjust(1, 1, -1, -1);
    }
    // A pressed button shows its bevels the other way round.
    auto flipped = [pressed](THemisphereBevel b) {
        if (!pressed || b == hbNone) return b;
        return b == hbRaised ? hbLowered : hbRaised;
    };
    drawRing(painter, disc, flipped(m_bevelOuter));
    if (m_bevelOuter != hbNone)
        disc.adjust(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    drawRing(painter, disc, flipped(m_bevelInner));
    if (m_bevelInner != hbNone)
        disc.adjust(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    drawFace(painter, disc, pressed);
    drawContent(painter, disc, pressed);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shapeOf(disc.adjusted(2, 2, -2, -2)));
    }
}

} // namespace brx
