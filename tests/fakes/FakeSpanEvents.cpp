#include "tests/fakes/FakeSpanEvents.h"

namespace brx {

void FakeSpanEvents::progress(ProgressType type, const QString& name, qint64 size) {
    switch (type) {
    case ProgrNewFile:
        newFiles.append(name);
        break;
    case ProgrUpdate:
        updateTotal += size;
        break;
    case ProgrTotalSize:
        totalSize = size;
        break;
    case ProgrEndOfBatch:
        ++endOfBatch;
        break;
    case ProgrTotalFiles:
        break;
    }
}

bool FakeSpanEvents::cancelRequested() const {
    return cancelAfterBytes >= 0 && updateTotal >= cancelAfterBytes;
}

} // namespace brx
