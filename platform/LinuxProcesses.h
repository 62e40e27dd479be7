#pragma once
#include "platform/Processes.h"

namespace brx {

class LinuxProcesses final : public IProcesses {
public:
    std::unique_ptr<IStartedProcess> startWatched(const QStringList& argv, ShowMode mode) override;
    bool startDetached(const QStringList& argv, ShowMode mode) override;
    QStringList associatedCommand(const QString& filePath) const override;
};

} // namespace brx
