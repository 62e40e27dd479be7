#include "Hints.h"

#include <QVariant>
#include <QWidget>

namespace brx {

namespace {
const char* const kHintProperty = "brxHint";
} // namespace

QString GetShortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString GetLongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(GetShortHint(hint));
    widget->setProperty(kHintProperty, hint);
}

QString Hint(const QWidget* widget) {
    return widget->property(kHintProperty).toString();
}

QString EffectiveHint(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        const QString hint = Hint(widget);
        if (!hint.isEmpty()) return hint;
        if (widget->isWindow()) break;
    }
    return {};
}

} // namespace brx
