#include "TFileLabel.h"

#include <QEvent>

namespace brx {

TFileLabel::TFileLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    // Layouts must not widen the label to the full path.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TFileLabel::SetFileName(const QString& value) {
    m_fileName = value;
    shorten();
}

void TFileLabel::SetSeparator(const QString& value) {
    m_separator = value;
    shorten();
}

void TFileLabel::SetDirection(TDirection value) {
    m_direction = value;
    shorten();
}

QSize TFileLabel::sizeHint() const {
    return {width(), QLabel::sizeHint().height()};
}

QSize TFileLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void TFileLabel::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    shorten();
}

void TFileLabel::changeEvent(QEvent* e) {
    QLabel::changeEvent(e);
    if (e->type() == QEvent::FontChange) shorten();
}

void TFileLabel::shorten() {
    setText(
        ShortenPath(m_fileName, m_separator, m_direction, fontMetrics(), contentsRect().width()));
}

} // namespace brx
