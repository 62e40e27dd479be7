// Call sites of the self-extractor conversion and of the multi-volume copies.
// Until those parts of the engine exist, each reports that it is not
// available and fails, so that callers take their failure paths.

#include "engine/ZipEngine.h"

#include <QFile>

namespace brx {

namespace {

constexpr int kNotAvailable = -9;
const QString kNotAvailableText = QStringLiteral("\nThis operation is not available in this version of the program.");

} // namespace

int TZipEngine::ConvertToExe()
{
    ShowExceptionError(EZipEngine::withDetail(SF_NoZipSFXBin, kNotAvailableText));
    return kNotAvailable;
}

int TZipEngine::ConvertToZip()
{
    ShowExceptionError(EZipEngine::withDetail(CZ_BrowseError, kNotAvailableText));
    return kNotAvailable;
}

int TZipEngine::WriteSpan(const QString&, const QString&)
{
    ShowExceptionError(EZipEngine::withDetail(DS_NoUnattSpan, kNotAvailableText));
    return kNotAvailable;
}

int TZipEngine::ReadSpan(const QString&, QString& target)
{
    target.clear();
    ShowExceptionError(EZipEngine::withDetail(DS_NoUnattSpan, kNotAvailableText));
    return kNotAvailable;
}

// The directory of a spanned set lives on another volume: asking for it is
// the multi-volume reader's job.
void TZipEngine::openDirectoryVolume(QFile&, int disk)
{
    throw EZipEngine(DS_InsertAVolume, disk + 1);
}

} // namespace brx
