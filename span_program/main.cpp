// Brx_Span.exe: the spanning program started by the backup for small
// removable disks, with one argument "archive<>destination folder".

#include "gui/WidgetsUserHost.h"
#include "platform/Volumes.h"
#include "span_program/SpanProgram.h"
#include "support/AppGlobals.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brx::setApplicationTitle(QStringLiteral("Brx_Span"));
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    // The backup joins archive and folder with "<>"; a shell may split a
    // folder with blanks into several words, which belong together.
    QStringList words = app.arguments().mid(1);
    const QString argument = words.join(QLatin1Char(' '));
    brx::WidgetsUserHost widgets;
    brx::FrenchDiskPrompts host(widgets);
    brx::SpanJob job{brx::systemVolumes(), host, folder, folder};
    return brx::runSpanProgram(argument, job) == 0 ? 0 : 1;
}
