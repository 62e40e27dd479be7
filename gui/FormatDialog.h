#pragma once
// The program's own format dialog: shows the drive and the volume label the
// disk will get (the label cannot be changed), starts the format on the
// worker thread, and with confirmErase false starts and closes by itself.

#include "engine/span/DiskFormat.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brx {

class FormatDialog final : public QDialog {
    Q_OBJECT
public:
    FormatDialog(const FormatRequest& request, FormatThread& worker, QWidget* parent = nullptr);

    // The worker's result once it ran; kFormatCancelled when it never started.
    int formatResult() const;

    QLineEdit* labelField() const { return m_label; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* closeButton() const { return m_close; }

public slots:
    void reject() override;

private:
    void startFormat();
    void formatFinished();
    void keepLabel(const QString& text);

    FormatRequest m_request;
    FormatThread& m_worker;
    QLineEdit* m_label = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_close = nullptr;
    bool m_started = false;
};

// IFormatDialog over FormatDialog, for the windows that write sets.
class WidgetFormatDialog final : public IFormatDialog {
public:
    explicit WidgetFormatDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    int exec(const FormatRequest& request, FormatThread& worker) override;

private:
    QWidget* m_parent;
};

} // namespace brx
