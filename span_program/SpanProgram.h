#pragma once
// The spanning program "Brx_Span.exe": writes a finished archive onto the
// disks of a removable drive with the engine's multi-volume writer, asking
// for each disk in French, then reads the set back to check every volume.
// Its one argument is "archive<>destination folder". It reports failure or
// abandon only by leaving "SpanFileError.txt" in its own folder, which the
// backup that started it looks for.

#include "engine/base/UserHost.h"

#include <QString>

namespace brx {

class IVolumes;

inline const QString kSpanMarkerName = QStringLiteral("SpanFileError.txt");

struct SpanArguments {
    QString archive;
    QString destinationFolder; // with a trailing "/"
};

// Splits "archive<>folder"; false when either side is missing.
bool parseSpanArgument(const QString& argument, SpanArguments& arguments);

// The engine's disk prompts, asked in French; every other question passes
// through unchanged.
class FrenchDiskPrompts final : public IUserHost {
public:
    explicit FrenchDiskPrompts(IUserHost& inner) : m_inner(inner) {}

    MsgResult messageBox(const MessageRequest& request) override;
    std::optional<QString> askPassword(const QString& caption, const QString& prompt) override {
        return m_inner.askPassword(caption, prompt);
    }
    void setBusy(bool busy) override { m_inner.setBusy(busy); }
    void processEvents() override { m_inner.processEvents(); }

private:
    IUserHost& m_inner;
};

// The French text of an engine disk prompt; the text itself when it is none.
QString frenchDiskPrompt(const QString& text);

struct SpanJob {
    IVolumes& volumes;
    IUserHost& host;       // already French (FrenchDiskPrompts)
    QString programFolder; // where the marker goes
    QString libraryFolder; // where UNZDLL.DLL is, for the check
};

// Runs the whole job; 0 when every volume was written and read back right.
// Otherwise the marker holds the reason and a negative code is returned.
int runSpanProgram(const QString& argument, SpanJob& job);

} // namespace brx
