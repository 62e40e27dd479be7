#pragma once
// The archive manager window. For now it shows which archive and page the
// start-up derived; the listing, pages and operations come with the engine.

#include "archive_window/ArchiveStart.h"

#include <QMainWindow>

class QLabel;

namespace brx {

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // argument: the program's first argument, in its own letter case.
    explicit TMainForm(const QString& argument, QWidget* parent = nullptr);

    const ArchiveStart& start() const { return m_start; }

private:
    ArchiveStart m_start;
};

} // namespace brx
