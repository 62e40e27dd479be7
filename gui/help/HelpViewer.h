#pragma once
// Opens the program's help, "bramblex.hlp" beside the program, at a
// context number (219: the contents).

class QWidget;

namespace brx {
void ShowHelpContext(QWidget* parent, int context);
} // namespace brx
