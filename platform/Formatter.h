#pragma once
// Formatting a removable disk as FAT with a given volume label. Called on a
// worker thread; implementations keep no state shared with the GUI thread.

#include <QString>

namespace brx {

class IFormatter {
public:
    virtual ~IFormatter() = default;
    // Formats the removable volume mounted at root (with a trailing "/") and
    // gives it label (at most 11 characters). Returns false, with a reason in
    // error, when the volume is not removable or the format failed.
    virtual bool formatVolume(const QString& root, const QString& label, QString* error) = 0;
};

// The formatter of this machine.
IFormatter& systemFormatter();

} // namespace brx
