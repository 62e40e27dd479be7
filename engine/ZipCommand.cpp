#include "engine/ZipCommand.h"

#include <cstring>

namespace brx {

namespace {

constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
const char* const kStoreSuffixes[kAddStoreSuffixCount] = {"gif", "png", "z",   "zip", "zoo", "arc",
                                                          "lzh", "arj", "taz", "tgz", "lha", "exe"};

int32_t flag(bool on) {
    return on ? kTrue : kFalse;
}

} // namespace

QByteArray ZipCommand::libraryPassword(const QString& password) {
    QByteArray utf8 = password.toUtf8();
    utf8.truncate(qsizetype(brxPasswordBytes(utf8.constData(), size_t(utf8.size()))));
    return utf8;
}

QByteArray ZipCommand::storeSuffixList(AddStoreExts suffixes) {
    QByteArray list;
    for (unsigned i = 0; i < kAddStoreSuffixCount; ++i)
        if (suffixes.testFlag(AddStoreSuffixEnum(1u << i)))
            list += QByteArray(".") + kStoreSuffixes[i] + ':';
    list.chop(1);
    return list;
}

const char* ZipCommand::keepBytes(const QByteArray& bytes) {
    m_strings.push_back(bytes);
    return m_strings.back().constData(); // QByteArray data is NUL-terminated
}

const char* ZipCommand::keep(const QString& text) {
    return keepBytes(text.toUtf8());
}

template <class Record>
Record& ZipCommand::allocate() {
    m_record.assign(sizeof(Record), 0);
    return *reinterpret_cast<Record*>(m_record.data());
}

// Offsets 0 to 127: the same in both compression layouts.
template <class Record>
void ZipCommand::fillZipCommon(Record& r, const ZipCommandInput& in) {
    const AddOpts o = in.options;
    r.ownerWindow = in.ownerWindow;
    r.caller = in.caller;
    r.version = BRX_RECORD_VERSION;
    r.callback = in.callback;
    r.trace = flag(in.trace);
    QByteArray password = libraryPassword(in.password);
    password.resize(BRX_PASSWORD_BUFFER_SIZE, '\0');
    r.password = const_cast<char*>(keepBytes(password));
    const QByteArray suffixes = storeSuffixList(in.storeSuffixes);
    r.storeSuffixes = suffixes.isEmpty() ? nullptr : keepBytes(suffixes);
    r.encrypt = flag(o & AddEncrypt);
    r.hiddenFiles = flag(o & AddHiddenFiles);
    r.dirEntries = flag(!(o & AddSeparateDirs));
    r.verbose = flag(in.verbose || in.trace);
    r.levelGiven = kTrue;
    r.level = in.level;
    r.namesOnly = flag(!(o & AddDirNames));
    r.recurse = int16_t(flag(o & AddRecurseDirs));
    r.adding = kTrue;
    r.forceDos = flag(o & AddForceDOS);
    r.move = flag(o & AddMove);
    r.update = flag(o & AddUpdate);
    r.freshen = flag((o & AddFreshen) && !(o & AddUpdate));
    r.zipTime = flag(o & AddZipTime);
    r.specCount = int32_t(in.specs.size());
    r.zipFileName = keep(in.zipFileName);
    if (in.deleting) {
        r.deleteEntries = kTrue;
        r.adding = r.namesOnly = r.move = r.update = r.freshen = r.encrypt = kFalse;
        r.recurse = 0;
    }
}

ZipCommand ZipCommand::forZip(const ZipCommandInput& in, int libraryVersion) {
    ZipCommand c;
    if (libraryVersion < BRX_ZIP_SHORT_RECORD_VERSION) {
        c.m_tooManySpecs = in.specs.size() > BRX_OLD_RECORD_MAX_SPECS;
        auto& r = c.allocate<BrxZipCommandRecordOld>();
        c.fillZipCommon(r, in);
        r.check = BRX_RECORD_CHECK;
        for (qsizetype i = 0; i < in.specs.size() && i < BRX_OLD_RECORD_MAX_SPECS; ++i)
            r.specs[i] = c.keep(in.specs[i]);
        return c;
    }
    auto& r = c.allocate<BrxZipCommandRecord>();
    c.fillZipCommon(r, in);
    r.tempDir = in.tempDir.isEmpty() ? nullptr : c.keep(in.tempDir);
    c.m_zipSpecs.assign(in.specs.size(), BrxZipFileSpec{});
    for (qsizetype i = 0; i < in.specs.size(); ++i) c.m_zipSpecs[i].spec = c.keep(in.specs[i]);
    r.specs = c.m_zipSpecs.data();
    if (libraryVersion >= BRX_RECORD_V160_FIELDS) {
        r.comment = in.comment.isEmpty() ? nullptr : c.keepBytes(in.comment);
        r.archiveOnly = (in.options & AddArchiveOnly) ? 1 : 0;
        r.resetArchive = (in.options & AddResetArchive) ? 1 : 0;
        for (const QString& exclude : in.excludes) c.m_excludes.push_back(c.keep(exclude));
        r.excludeCount = int32_t(c.m_excludes.size());
        r.excludes = c.m_excludes.data();
    }
    r.check = BRX_RECORD_CHECK;
    return c;
}

// Offsets 0 to 71: the same in both decompression layouts.
template <class Record>
void ZipCommand::fillUnzCommon(Record& r, const UnzCommandInput& in) {
    const ExtrOpts o = in.options;
    r.ownerWindow = in.ownerWindow;
    r.caller = in.caller;
    r.version = BRX_RECORD_VERSION;
    r.callback = in.callback;
    r.trace = flag(in.trace);
    r.password = const_cast<char*>(keepBytes(in.password));
    r.test = flag(o & ExtrTest);
    r.always40 = kTrue;
    r.verbose = flag(in.verbose || in.trace);
    r.update = flag(o & ExtrUpdate);
    r.freshen = flag((o & ExtrFreshen) && !(o & ExtrUpdate));
    r.dirNames = flag(o & ExtrDirNames);
    r.overwrite = flag(o & ExtrOverWrite);
    r.specCount = int32_t(in.specs.size());
    r.zipFileName = keep(in.zipFileName);
}

ZipCommand ZipCommand::forUnz(const UnzCommandInput& in, int libraryVersion) {
    ZipCommand c;
    if (libraryVersion < BRX_UNZ_SHORT_RECORD_VERSION) {
        c.m_tooManySpecs = in.specs.size() > BRX_OLD_RECORD_MAX_SPECS;
        auto& r = c.allocate<BrxUnzCommandRecordOld>();
        c.fillUnzCommon(r, in);
        r.check = BRX_RECORD_CHECK;
        for (qsizetype i = 0; i < in.specs.size() && i < BRX_OLD_RECORD_MAX_SPECS; ++i)
            r.specs[i] = c.keep(in.specs[i]);
        return c;
    }
    auto& r = c.allocate<BrxUnzCommandRecord>();
    c.fillUnzCommon(r, in);
    c.m_unzSpecs.assign(in.specs.size(), BrxUnzFileSpec{});
    for (qsizetype i = 0; i < in.specs.size(); ++i) c.m_unzSpecs[i].spec = c.keep(in.specs[i]);
    r.specs = c.m_unzSpecs.data();
    if (libraryVersion >= BRX_RECORD_V160_FIELDS) r.passwordReqCount = int32_t(in.passwordReqCount);
    r.check = BRX_RECORD_CHECK;
    return c;
}

} // namespace brx
