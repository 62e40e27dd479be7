#pragma once
// The engine side of a multi-volume copy for tests: a record of every report, message and progress
// event.

#include "engine/span/SpanHost.h"

#include <QList>
#include <QStringList>

namespace brx {

struct FakeSpanReport {
    int id = 0;
    QString text;
    bool shown = true;
};

class FakeSpanEvents final : public ISpanEvents {
public:
    void report(int id, const QString& text, bool shown) override {
        reports.append({id, text, shown});
    }
    void message(const QString& text) override { messages.append(text); }
    void progress(ProgressType type, const QString& name, qint64 size) override;
    bool cancelRequested() const override;

    QList<FakeSpanReport> reports;
    QStringList messages;
    QStringList newFiles;
    qint64 updateTotal = 0;
    qint64 totalSize = -1;
    int endOfBatch = 0;
    // Cancel becomes set once this many bytes were reported copied (-1: never).
    qint64 cancelAfterBytes = -1;
};

} // namespace brx
