#pragma once
// The stored-password dialog: the permanent password (two masked entries that
// must match; both empty removes it) and the delay before automatic closing.
// It holds its own settings-file object from creation until it closes.

#include <QDialog>
#include <memory>

namespace Ui {
class FormPswIni;
}

namespace brx {

class IUserHost;
class PrivateProfile;

class TFormPswIni : public QDialog {
    Q_OBJECT
public:
    // host shows the dialog's messages; programFolder is where the settings
    // file lies (the program's folder when empty).
    explicit TFormPswIni(IUserHost& host, QWidget* parent = nullptr, QString programFolder = {});
    ~TFormPswIni() override;

    // From the backup window the delay is shown but cannot be changed; it is
    // still written back on "Ok".
    void setDelayEditable(bool editable);

    // The settings file the dialog works on; null once the dialog has closed.
    const PrivateProfile* settingsFile() const { return m_iniFile.get(); }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void BttnOkClick();
    void refuseEntries(const QString& message);
    void showWarning(const QString& text);

    std::unique_ptr<Ui::FormPswIni> m_ui;
    IUserHost& m_host;
    QString m_programFolder;
    std::unique_ptr<PrivateProfile> m_iniFile;
};

// What the backup window's "Stocker/Changer  le Mot de Passe" does: the
// dialog, modally, with its delay dimmed. programFolder as for TFormPswIni.
void showStoredPasswordDialog(IUserHost& host, QWidget* parent, const QString& programFolder = {});

} // namespace brx
