#pragma once
// Message boxes over QMessageBox with the program's French button captions.

#include "engine/base/UserHost.h"

class QWidget;

namespace brx {

MsgResult showMessageBox(QWidget* parent, const MessageRequest& request);

} // namespace brx
