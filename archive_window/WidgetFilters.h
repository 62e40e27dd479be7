#pragma once
// Small event filters the archive manager's pages put on their controls.

#include <QObject>
#include <functional>

namespace brx {

// The characters a folder box accepts from the keyboard: letters A to Z and
// a to z, digits, blank and ! # $ & * - : @ \ _ ~, and "/" (the separator
// here). Everything else typed (accented letters, ".", "(") is discarded.
bool isAcceptedPathChar(QChar c);

// On a history box's editor: runs onEnter when Enter is pressed and, for a
// folder box, drops the keys that type a refused character. Keys that type
// nothing (arrows, Delete) and control characters (editing shortcuts) pass.
class HistoryKeyFilter : public QObject {
public:
    enum class Keys {
        Paths,
        Any
    };
    HistoryKeyFilter(QObject* parent, Keys keys, std::function<void()> onEnter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Keys m_keys;
    std::function<void()> m_onEnter;
};

// Runs onDoubleClick when the watched widget is double-clicked.
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> onDoubleClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onDoubleClick;
};

} // namespace brx
