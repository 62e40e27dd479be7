#pragma once
// The one-click backup window. For now it shows the folder it was started
// on; the options, the run and the report come with the engine.

#include <QMainWindow>

namespace brx {

class TSaveForm1 : public QMainWindow {
    Q_OBJECT
public:
    // argument: the program's first argument; its first two characters (the
    // "-#" of the folder verb) are dropped.
    explicit TSaveForm1(const QString& argument, QWidget* parent = nullptr);

    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
};

} // namespace brx
