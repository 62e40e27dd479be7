#pragma once
// TPasswordDlg: the engine's modal password prompt, built in code. The
// windows hand passwordDlgPrompt to their WidgetsUserHost so that the
// engine's password requests show this dialog.

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brx {

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    // Shows the dialog modally; the entered text, or empty when not confirmed.
    QString ShowPasswordDlg(const QString& caption, const QString& prompt);

    bool confirmed() const { return m_confirmed; }
    QLineEdit* passwordEdit() const { return m_edit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_confirmed = false; // only the OK button sets it
};

// For WidgetsUserHost: the text when confirmed, nothing otherwise.
std::optional<QString> passwordDlgPrompt(const QString& caption, const QString& prompt);

} // namespace brx
