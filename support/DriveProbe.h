#pragma once
// Whether a volume is usable, asked without any dialog.

#include <QString>

namespace brx {

class IVolumes;

enum ProbeResult : int {
    kProbeNotReady = 0,     // not mounted, or no such folder
    kProbeOtherFailure = 1, // for example permission denied
    kProbeEmpty = 2,
    kProbeHasEntry = 3,
};

// root: a volume root (mount point, trailing "/" optional).
int ProbeDrive(const QString& root);
int ProbeDrive(const QString& root, const IVolumes& volumes);

} // namespace brx
