#pragma once
// A formatter for tests: records what it was asked to format and on which
// thread, answers a scripted result, and can be held until released.

#include "platform/Formatter.h"

#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

namespace brx {

struct FakeFormatCall {
    QString root;
    QString label;
    QThread* thread = nullptr;
};

class FakeFormatter final : public IFormatter {
public:
    bool formatVolume(const QString& root, const QString& label, QString* error) override;

    QList<FakeFormatCall> calls() const;
    bool succeed = true;
    // When set, each format waits until release() is called.
    bool hold = false;
    void release() { m_gate.release(); }
    // Acquired once a held format has started.
    QSemaphore started;

private:
    mutable QMutex m_mutex;
    QList<FakeFormatCall> m_calls;
    QSemaphore m_gate;
};

} // namespace brx
