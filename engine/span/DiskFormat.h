#pragma once
// Formatting a removable disk before a volume of a set is written to it.
// The format runs on a worker thread (FormatThread) while the GUI thread
// processes events; one process-wide slot lets only one format run at a
// time. The dialog that shows it belongs to the GUI (IFormatDialog).

#include "engine/span/SpanHost.h"

#include <QString>

namespace brx {

class FormatThread;
class IFormatter;
class IUserHost;

inline constexpr int kFormatError = -1;
inline constexpr int kFormatCancelled = -2;
inline constexpr int kFormatNotStarted = -3;

struct FormatRequest {
    QString driveRoot;
    int driveIndex = 0;
    QString volumeLabel;      // the label the disk must get; the user cannot change it
    bool confirmErase = true; // false: the format starts and the dialog closes by itself
};

class IFormatDialog {
public:
    virtual ~IFormatDialog() = default;
    // Shows the format dialog; starts worker when the format is started
    // (by the user, or at once when confirmErase is false) and returns its
    // result, or kFormatCancelled when the dialog was closed without formatting.
    virtual int exec(const FormatRequest& request, FormatThread& worker) = 0;
};

// The engine's disk format: returns the result (0 done, -1 error or a
// format already running, -2 cancelled, -3 not started). Without a dialog
// the format runs only when confirmErase is false (nobody could confirm it).
int DiskFormat(const FormatRequest& request, IFormatter& formatter, IFormatDialog* dialog,
               IUserHost& host);

// The formatter the volume writer calls for each disk (AddDiskSpanErase).
DiskFormatFn makeDiskFormat(IFormatter& formatter, IFormatDialog* dialog, IUserHost& host,
                            bool confirmErase);

// The process-wide slot: the owner of the format that runs now, or null.
const void* formatSlotOwner();

// Starts worker and waits for it, processing events meanwhile.
int runFormatThread(FormatThread& worker, IUserHost& host);

} // namespace brx
