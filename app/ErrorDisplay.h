#pragma once
// The general error display. Qt does not let an exception cross its event
// dispatch: one that escapes a handler would end the program. The
// application object catches it instead, shows its text in a message box,
// writes it to the standard error stream, and the program goes on.

#include <QApplication>
#include <QString>

namespace brx {

class IUserHost;

// The text of the exception being handled; call it inside a catch block.
// Texts of the program's own errors come back as they stand; an exception
// that carries no text gives "Erreur inconnue.".
QString currentErrorText();

// Writes "BRX_EXPLO: <text>" to stderr and shows text in a box captioned with
// the application title, with the error icon and an OK button. An error that
// arises while such a box is open is only written: a handler that fails on
// every repaint must not stack boxes without end.
void showUnhandledError(const QString& text);

// Who shows the box: the desktop's message boxes by default (nullptr), a
// scripted host in tests.
void setErrorDisplayHost(IUserHost* host);

class BrxApplication : public QApplication {
public:
    BrxApplication(int& argc, char** argv);
    // Every event goes through here; an exception its handler lets escape
    // reaches the general error display and the event counts as handled.
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace brx
