#pragma once
// A disk ejector for tests: answers a set outcome and records the roots.

#include "platform/DiskEject.h"

#include <QStringList>

namespace brx {

class FakeDiskEjector final : public IDiskEjector {
public:
    EjectOutcome outcome = EjectOutcome::Ejected;
    QStringList ejectedRoots;

    EjectOutcome eject(const QString& volumeRoot) override {
        ejectedRoots.append(volumeRoot);
        return outcome;
    }
};

} // namespace brx
