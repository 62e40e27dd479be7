#pragma once
// Hints of the form "short|long": the short part is the control's tool tip
// (none when the hint starts with "|"), the long part (after "|", or the
// whole hint) is what the window's status bar shows while the mouse is over
// the control. A control without a hint shows the hint of its nearest
// parent that has one.

#include <QString>

class QWidget;

namespace brx {

QString GetShortHint(const QString& hint);
QString GetLongHint(const QString& hint);

// Stores the hint on the widget and sets its tool tip.
void SetHint(QWidget* widget, const QString& hint);
QString Hint(const QWidget* widget);
// The hint of the widget or of its nearest parent with one.
QString EffectiveHint(const QWidget* widget);

} // namespace brx
