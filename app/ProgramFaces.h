#pragma once
#include "app/Dispatch.h"

namespace brx {

// The real faces: windows on the desktop, each running the event loop until
// it closes.
class ProgramFaces final : public IFaces {
public:
    void registerVerbs() override;
    int showAboutBox() override;
    void unregisterVerbs() override;
    int runArchiveManager(const QString& argument) override;
    int runBackup(const QString& argument) override;
};

} // namespace brx
