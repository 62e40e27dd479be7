#pragma once
// Option sets, enumerations and event signatures of the archive engine.
// Option-set members keep their bit position (member n = bit n); the
// libraries give the options their meaning.

#include "engine/base/ZipDirEntry.h"

#include <QFlags>
#include <QString>
#include <functional>

namespace brx {

enum AddOptsEnum : unsigned {
    AddDirNames = 1u << 0,
    AddRecurseDirs = 1u << 1,
    AddMove = 1u << 2,
    AddFreshen = 1u << 3,
    AddUpdate = 1u << 4,
    AddZipTime = 1u << 5,
    AddForceDOS = 1u << 6,
    AddHiddenFiles = 1u << 7,
    AddArchiveOnly = 1u << 8,
    AddResetArchive = 1u << 9,
    AddEncrypt = 1u << 10,
    AddSeparateDirs = 1u << 11,
    AddDiskSpan = 1u << 12,
    AddDiskSpanErase = 1u << 13,
};
Q_DECLARE_FLAGS(AddOpts, AddOptsEnum)

enum ExtrOptsEnum : unsigned {
    ExtrDirNames = 1u << 0,
    ExtrOverWrite = 1u << 1,
    ExtrFreshen = 1u << 2,
    ExtrUpdate = 1u << 3,
    ExtrTest = 1u << 4,
};
Q_DECLARE_FLAGS(ExtrOpts, ExtrOptsEnum)

// Suffixes the compression library stores without compressing, in member order.
enum AddStoreSuffixEnum : unsigned {
    assGIF = 1u << 0,
    assPNG = 1u << 1,
    assZ = 1u << 2,
    assZIP = 1u << 3,
    assZOO = 1u << 4,
    assARC = 1u << 5,
    assLZH = 1u << 6,
    assARJ = 1u << 7,
    assTAZ = 1u << 8,
    assTGZ = 1u << 9,
    assLHA = 1u << 10,
    assEXE = 1u << 11,
};
Q_DECLARE_FLAGS(AddStoreExts, AddStoreSuffixEnum)
inline constexpr unsigned kAddStoreSuffixCount = 12;

enum SFXOptsEnum : unsigned {
    SFXAskCmdLine = 1u << 0,
    SFXAskFiles = 1u << 1,
    SFXHideOverWriteBox = 1u << 2,
    SFXCheckSize = 1u << 3,
    SFXAutoRun = 1u << 4,
    SFXNoSuccessMsg = 1u << 5,
};
Q_DECLARE_FLAGS(SFXOpts, SFXOptsEnum)

enum OvrOpts {
    OvrConfirm,
    OvrAlways,
    OvrNever
};
enum THowToDelete {
    htdFinal,
    htdAllowUndo
};

enum ProgressType {
    ProgrNewFile = 0,
    ProgrUpdate = 1,
    ProgrEndOfBatch = 2,
    ProgrTotalFiles = 3,
    ProgrTotalSize = 4
};

// The kind of a skipped item, as the decompression library numbers it.
using UnZipSkipTypes = int;

// The engine's events. The sender is left out: each owner holds one engine
// and binds its handler to it.
using TZipMessageEvent = std::function<void(int ErrCode, const QString& Message)>;
using TProgressEvent =
    std::function<void(ProgressType ProgrType, const QString& Filename, qint64 FileSize)>;
using TNotifyEvent = std::function<void()>;
using TNewNameEvent = std::function<void(int SeqNo, const ZipDirEntry& ZipEntry)>;
using TSetNewNameEvent = std::function<void(QString& OldFileName, bool& IsChanged)>;
using TPasswordErrorEvent =
    std::function<void(QString& NewPassword, const QString& ForFile, unsigned& RepeatCount)>;
using TCRC32ErrorEvent = std::function<void(const QString& ForFile, uint32_t FoundCRC,
                                            uint32_t ExpectedCRC, bool& DoExtract)>;
using TExtractOverwriteEvent =
    std::function<void(const QString& ForFile, bool IsOlder, bool& DoOverwrite)>;
using TExtractSkippedEvent =
    std::function<void(const QString& ForFile, UnZipSkipTypes SkipType, int ExtError)>;
using TCopyZipOverwriteEvent = std::function<void(const QString& ForFile, bool& DoOverwrite)>;

} // namespace brx

Q_DECLARE_OPERATORS_FOR_FLAGS(brx::AddOpts)
Q_DECLARE_OPERATORS_FOR_FLAGS(brx::ExtrOpts)
Q_DECLARE_OPERATORS_FOR_FLAGS(brx::AddStoreExts)
Q_DECLARE_OPERATORS_FOR_FLAGS(brx::SFXOpts)
