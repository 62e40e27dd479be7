#pragma once
// The temporary names a conversion between .zip and .exe works under, so
// that an existing target is replaced only by a finished result and the
// source stays whole when the conversion fails.

#include <QString>
#include <optional>

namespace brx {

struct ConversionFiles {
    // A second name of the source file beside it (a hard link, or a copy
    // where the file system has none); the conversion reads and then removes it.
    QString source;
    // Where the conversion writes: source's name with the other extension.
    QString result;

    // Makes the second name of original; nothing when it cannot be made.
    static std::optional<ConversionFiles> prepare(const QString& original, bool toExe);

    // Moves the finished result onto target in one step (replacing it).
    bool placeResult(const QString& target) const;
    // Removes whichever temporary file is still there.
    void removeLeftovers() const;
};

} // namespace brx
