#include "TEnhGroupBox.h"

#include <QCheckBox>
#include <QChildEvent>
#include <QPainter>

namespace brx {

namespace {
constexpr int kCheckBoxLeft = 10;
constexpr int kCaptionExtra = 20;
} // namespace

TEnhGroupBox::TEnhGroupBox(QWidget* parent) : QWidget(parent) {
    // Created here, not in the initialiser list: its ChildAdded event
    // arrives at once and must find the members set.
    m_checkBox = new QCheckBox(this);
    m_checkBox->setObjectName(QStringLiteral("ICheckBox"));
    m_checkBox->setChecked(true);
    m_checkBox->setAutoFillBackground(true);
    // clicked: only the user's toggles, never setChecked from code.
    connect(m_checkBox, &QCheckBox::clicked, this, &TEnhGroupBox::userToggled);
    placeCheckBox();
}

TEnhGroupBox::TEnhGroupBox(const QString& caption, QWidget* parent) : TEnhGroupBox(parent) {
    SetCaption(caption);
}

void TEnhGroupBox::SetChecked(bool value) {
    m_checked = value;
    m_checkBox->setChecked(value);
    applyToChildren();
}

QString TEnhGroupBox::Caption() const {
    return m_checkBox->text();
}

void TEnhGroupBox::SetCaption(const QString& value) {
    m_checkBox->setText(value);
    placeCheckBox();
    update();
}

void TEnhGroupBox::userToggled(bool checked) {
    m_checked = checked;
    applyToChildren();
    if (OnClickChecked) OnClickChecked(this);
}

void TEnhGroupBox::applyToChildren() {
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget != m_checkBox) widget->setEnabled(m_checked);
    }
}

void TEnhGroupBox::placeCheckBox() {
    // The caption's width plus room for the box; never narrower than the
    // style needs to show the whole caption.
    const QString text = m_checkBox->text().remove(QLatin1Char('&'));
    const int width = std::max(m_checkBox->fontMetrics().horizontalAdvance(text) + kCaptionExtra,
                               m_checkBox->sizeHint().width());
    m_checkBox->setGeometry(kCheckBoxLeft, 0, width, m_checkBox->sizeHint().height());
}

bool TEnhGroupBox::event(QEvent* e) {
    // A control placed in an unticked group starts disabled.
    if (e->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(e)->child();
        if (m_checkBox != nullptr && child->isWidgetType() && child != m_checkBox && !m_checked)
            static_cast<QWidget*>(child)->setEnabled(false);
    }
    if ((e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) &&
        m_checkBox != nullptr)
        placeCheckBox();
    return QWidget::event(e);
}

void TEnhGroupBox::paintEvent(QPaintEvent*) {
    placeCheckBox();
    QPainter painter(this);
    const int top = m_checkBox->height() / 2;
    const QRectF frame = QRectF(rect()).adjusted(0.5, top + 0.5, -1.5, -1.5);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
}

} // namespace brx
