#pragma once
// A keyboard whose Ctrl state the test sets.

#include "platform/Keyboard.h"

namespace brx {

class FakeKeyboard final : public IKeyboard {
public:
    bool ctrl = false;
    bool ctrlHeld() const override { return ctrl; }
};

} // namespace brx
