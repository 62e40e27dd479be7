#pragma once
// One command record for a companion library, laid out for the library's
// version, with every string and array it points to. The strings are
// NUL-terminated UTF-8 copies owned here and released with the command.

#include "engine/base/ZipEngineTypes.h"

#include <brx/ZipDllAbi.h>

#include <QByteArray>
#include <QStringList>
#include <deque>
#include <vector>

namespace brx {

// What an Add or Delete passes to the compression library.
struct ZipCommandInput {
    void* ownerWindow = nullptr;
    void* caller = nullptr;
    BrxCallbackFn callback = nullptr;
    bool trace = false;
    bool verbose = false;
    QString password;
    AddStoreExts storeSuffixes;
    AddOpts options;
    int level = 9;
    QString zipFileName;
    QString tempDir;
    QByteArray comment;
    QStringList specs;
    QStringList excludes;
    bool deleting = false;
};

// What an Extract passes to the decompression library.
struct UnzCommandInput {
    void* ownerWindow = nullptr;
    void* caller = nullptr;
    BrxCallbackFn callback = nullptr;
    bool trace = false;
    bool verbose = false;
    QByteArray password; // as sent (may be the unattended placeholder)
    ExtrOpts options;
    QString zipFileName;
    QStringList specs;
    unsigned passwordReqCount = 1;
};

struct ZipCommand {
    // Old layouts hold at most BRX_OLD_RECORD_MAX_SPECS patterns:
    // tooManySpecs() tells the caller to refuse the command.
    static ZipCommand forZip(const ZipCommandInput& input, int libraryVersion);
    static ZipCommand forUnz(const UnzCommandInput& input, int libraryVersion);

    bool tooManySpecs() const { return m_tooManySpecs; }
    void* record() { return m_record.data(); }
    qsizetype recordSize() const { return m_record.size(); }

    // The ".gif:.zip:.exe" list of suffixes stored without compression.
    static QByteArray storeSuffixList(AddStoreExts suffixes);

private:
    const char* keep(const QString& text);
    const char* keepBytes(const QByteArray& bytes);
    template <class Record>
    Record& allocate();
    template <class Record>
    void fillZipCommon(Record& r, const ZipCommandInput& input);
    template <class Record>
    void fillUnzCommon(Record& r, const UnzCommandInput& input);

    std::vector<char> m_record;
    std::deque<QByteArray> m_strings; // stable addresses
    std::vector<BrxZipFileSpec> m_zipSpecs;
    std::vector<BrxUnzFileSpec> m_unzSpecs;
    std::vector<const char*> m_excludes;
    bool m_tooManySpecs = false;
};

} // namespace brx
