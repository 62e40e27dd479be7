#pragma once
#include "platform/Keyboard.h"

namespace brx {

class GuiKeyboard final : public IKeyboard {
public:
    bool ctrlHeld() const override;
};

} // namespace brx
