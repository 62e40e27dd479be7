#pragma once

namespace brx {

class IKeyboard {
public:
    virtual ~IKeyboard() = default;
    // True while a Ctrl key is held down now.
    virtual bool ctrlHeld() const = 0;
};

} // namespace brx
