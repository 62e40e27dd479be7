#pragma once
#include <QDialog>

namespace brx {

// The About box: the program's name and version, what it is, a close button.
class TEXPL_AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TEXPL_AboutBox(QWidget* parent = nullptr);
};

} // namespace brx
