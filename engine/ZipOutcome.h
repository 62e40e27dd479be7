#pragma once
// The typed result of one engine operation (Add, Delete, Extract, List, the
// conversions and the multi-volume copies), built from the messages, skips
// and answers the operation produced. Front ends read it instead of the
// libraries' codes or the texts of messages.

#include <QString>

namespace brx {

// Ordered from good to bad: an operation keeps the worst kind it met.
enum class ZipOutcomeKind {
    Ok,            // everything asked for was done
    NothingToDo,   // nothing matched or nothing was newer; the archive is unchanged
    Partial,       // done, but some files or entries failed
    WrongPassword, // encrypted entries could not be opened (password missing or wrong)
    Damaged,       // some entries are damaged (CRC, sizes, unsupported data)
    Cancelled,     // the user or the owner stopped it
    Failed,        // the operation failed; the archive is as it was
    Refused,       // a check before starting refused it
    Unreadable,    // the archive is missing or cannot be read as an archive
};

// How one message of the running operation counts.
enum class ZipMessageKind {
    Info,        // progress notes ("Copying: ...", library loaded)
    Warning,     // worth saying, not a failure
    ChosenSkip,  // an item left alone as asked (existing file kept...)
    NothingToDo, // the operation found nothing to change
    Failure,
};

// The kinds of skipped items (OnExtractSkipped's SkipType).
enum UnZipSkipKind : int {
    SkipOnFreshen = 0,        // freshen: no such file to replace
    SkipNoOverwrite = 1,      // an existing file was kept
    SkipFileExists = 2,       // update/freshen: the existing file is not older
    SkipBadPassword = 3,      // password missing or wrong
    SkipNoEncryptSupport = 4, // encryption method not supported
    SkipCompressionUnknown = 5,
    SkipUnsafePath = 6, // the name would leave the extraction folder
    SkipDamaged = 7,
    SkipCrcError = 8,
    SkipWriteError = 9,
};

// A reason a person can read, in the engine's language (English).
QString skipReasonText(int skipKind);

// Skips the owner asked for (existing files kept, nothing to freshen): no
// failure message comes with them.
inline bool isChosenSkip(int skipKind) {
    return skipKind == SkipOnFreshen || skipKind == SkipNoOverwrite || skipKind == SkipFileExists;
}

struct ZipOutcome {
    ZipOutcomeKind kind = ZipOutcomeKind::Ok;
    QString archive; // the archive the operation worked on (absolute path)
    bool archiveExisted = false;
    bool nothingToDo = false; // the library found nothing to change
    int done = 0;             // SuccessCnt, or 1 for a conversion that succeeded
    int chosenSkips = 0;      // items left alone as asked
    int failures = 0;         // failure messages and failed items
    QString firstFailure;     // the text of the first failure
    // The kind of the message being reported (read inside OnMessage);
    // messages that bypass the record count as information.
    ZipMessageKind messageKind(const QString& text) const {
        return text == lastMessageText ? lastMessage : ZipMessageKind::Info;
    }
    ZipMessageKind lastMessage = ZipMessageKind::Info;
    QString lastMessageText;

    bool succeeded() const {
        return kind == ZipOutcomeKind::Ok || kind == ZipOutcomeKind::NothingToDo;
    }
};

// Collects the outcome of the operation running on one engine. Operations
// nest (Add lists the archive it wrote); only the outermost one starts and
// ends the record.
class ZipOutcomeRecorder {
public:
    const ZipOutcome& outcome() const { return m_outcome; }

    // The outermost operation starts a fresh record. Reading only (List):
    // whatever goes wrong means the archive cannot be read.
    void enter(const QString& archive, bool archiveExisted, bool readingOnly);
    void leave(int done, int result);

    void noteEngineMessage(int id, const QString& text);
    void noteLibraryMessage(int code, const QString& text);
    void noteSkip(int skipKind, const QString& item);
    void noteCrcError(const QString& item);

private:
    void raise(ZipOutcomeKind kind, const QString& text);
    void noteMessage(ZipMessageKind kind, const QString& text);
    void finish(int done, int result);

    ZipOutcome m_outcome;
    int m_depth = 0;
    bool m_readingOnly = false;
};

// Enters the recorder for the lifetime of one operation; the done count is
// read when the operation ends.
class ZipOutcomeScope {
public:
    ZipOutcomeScope(ZipOutcomeRecorder& recorder, const QString& archive, bool archiveExisted,
                    const int* done = nullptr, bool readingOnly = false)
        : m_recorder(recorder)
        , m_done(done) {
        m_recorder.enter(archive, archiveExisted, readingOnly);
    }
    ~ZipOutcomeScope() { m_recorder.leave(m_done ? *m_done : m_result == 0, m_result); }
    ZipOutcomeScope(const ZipOutcomeScope&) = delete;
    ZipOutcomeScope& operator=(const ZipOutcomeScope&) = delete;

    // For operations that return a code: 0 success, anything else failure.
    int setResult(int result) { return m_result = result; }

private:
    ZipOutcomeRecorder& m_recorder;
    const int* m_done;
    int m_result = 0;
};

} // namespace brx
