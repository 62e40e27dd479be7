#pragma once
// What the multi-volume code needs from the engine that runs it: the message
// table, the engine's single message path, its events and its settings.
// The copies run on the GUI thread; nothing here is thread-safe.

#include <QString>
#include <QVariantList>

#include <functional>

namespace brx {

// Message ids used by the volume code (the engine's table holds the texts).
namespace SpanMsg {
inline constexpr int NoMem = 10103;
inline constexpr int NoInFile = 11001;
inline constexpr int FileOpen = 11002;
inline constexpr int NotaDrive = 11003;
inline constexpr int DriveNoMount = 11004;
inline constexpr int NoVolume = 11005;
inline constexpr int NoMemBox = 11006;
inline constexpr int Canceled = 11007;
inline constexpr int FailedSeek = 11008;
inline constexpr int NoOutFile = 11009;
inline constexpr int NoWrite = 11010;
inline constexpr int EOCBadRead = 11011;
inline constexpr int LOHBadRead = 11012;
inline constexpr int CEHBadRead = 11013;
inline constexpr int LOHWrongSig = 11014;
inline constexpr int CEHWrongSig = 11015;
inline constexpr int LONameLen = 11016;
inline constexpr int CENameLen = 11017;
inline constexpr int LOExtraLen = 11018;
inline constexpr int CEExtraLen = 11019;
inline constexpr int DataDesc = 11020;
inline constexpr int ZipData = 11021;
inline constexpr int CECommentLen = 11022;
inline constexpr int EOArchComLen = 11023;
inline constexpr int ErrorUnknown = 11024;
inline constexpr int NoUnattSpan = 11025;
inline constexpr int EntryLost = 11026;
inline constexpr int NoTempFile = 11027;
inline constexpr int LOHBadWrite = 11028;
inline constexpr int CEHBadWrite = 11029;
inline constexpr int EOCBadWrite = 11030;
inline constexpr int ExtWrongSig = 11031;
inline constexpr int NoDiskSpace = 11032;
inline constexpr int InsertDisk = 11033;
inline constexpr int InsertVolume = 11034;
inline constexpr int InDrive = 11035;
inline constexpr int NoValidZip = 11036;
inline constexpr int FirstInSet = 11037;
inline constexpr int NotLastInSet = 11038;
inline constexpr int AskDeleteFile = 11039;
inline constexpr int AskPrevFile = 11040;
inline constexpr int FirstFileOnHD = 11045;
inline constexpr int InsertAVolume = 11046;
inline constexpr int CopyCentral = 11047;
} // namespace SpanMsg

// A failure inside a copy: the message id, its fields and whether the user
// sees it (a cancel answered by the user is not shown again).
struct ESpanError {
    int id = 0;
    QVariantList args;
    bool shown = true;
    QString extra; // appended to the text (the unexpected error's own text)
};

enum class SpanProgress {
    NewFile,
    Update,
    EndOfBatch,
    TotalFiles,
    TotalSize
};

class ISpanEvents {
public:
    virtual ~ISpanEvents() = default;
    // The message table's text with its printf-style fields filled.
    virtual QString messageText(int id, const QVariantList& args = {}) const = 0;
    // The engine's message path: stored, shown when asked (and not unattended),
    // passed to OnMessage.
    virtual void report(int id, const QString& text, bool shown) = 0;
    // OnMessage with code 0 ("Copying: ...").
    virtual void message(const QString& text) = 0;
    virtual void progress(SpanProgress type, const QString& name, qint64 size) = 0;
    // The engine's Cancel property.
    virtual bool cancelRequested() const = 0;
};

struct SpanSettings {
    qint64 KeepFreeOnDisk1 = 0;
    qint64 MaxVolumeSize = 0;
    qint64 MinFreeVolumeSize = 65536;
    bool ConfirmErase = true;
    bool AddDiskSpanErase = false;
    bool Unattended = false;
    QString applicationTitle = QStringLiteral("BRX_EXPLO");
};

// Formats the disk in driveRoot with label; returns the format result
// (-1 error, -2 cancelled, -3 not started, anything else done).
using DiskFormatFn =
    std::function<int(const QString& driveRoot, int driveIndex, const QString& label)>;

} // namespace brx
