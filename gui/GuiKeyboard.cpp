#include "gui/GuiKeyboard.h"

#include <QGuiApplication>

namespace brx {

bool GuiKeyboard::ctrlHeld() const {
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

} // namespace brx
