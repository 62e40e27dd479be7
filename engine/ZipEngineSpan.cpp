// The multi-volume copies and the directory reader's volume requests, run
// with the engine's settings, events and message path.

#include "engine/ZipEngine.h"
#include "engine/span/ReadSpan.h"
#include "engine/span/SpanInput.h"
#include "engine/span/WriteSpan.h"
#include "support/AppGlobals.h"

#include <QFile>

namespace brx {

namespace {

// The engine as the volume code sees it.
class EngineSpanEvents final : public ISpanEvents {
public:
    explicit EngineSpanEvents(TZipEngine& engine) : m_engine(engine) {}

    void report(int id, const QString& text, bool shown) override {
        m_engine.reportMessage(id, text, shown);
    }
    void message(const QString& text) override {
        if (m_engine.OnMessage) m_engine.OnMessage(0, text);
    }
    void progress(ProgressType type, const QString& name, qint64 size) override {
        if (m_engine.OnProgress) m_engine.OnProgress(type, name, size);
    }
    bool cancelRequested() const override { return m_engine.Cancel(); }

private:
    TZipEngine& m_engine;
};

} // namespace

SpanSettings TZipEngine::spanSettings() const {
    SpanSettings settings;
    settings.KeepFreeOnDisk1 = m_keepFreeOnDisk1;
    settings.MaxVolumeSize = m_maxVolumeSize;
    settings.MinFreeVolumeSize = m_minFreeVolumeSize;
    settings.ConfirmErase = m_confirmErase;
    settings.AddDiskSpanErase = m_addOptions.testFlag(AddDiskSpanErase);
    settings.Unattended = m_messages.unattended();
    settings.applicationTitle = applicationTitle();
    return settings;
}

int TZipEngine::WriteSpan(const QString& source, const QString& firstVolume) {
    ZipOutcomeScope outcome(m_outcome, firstVolume, false);
    EngineSpanEvents events(*this);
    SpanContext context{*m_volumes, *m_host, events, spanSettings(), m_diskFormat};
    return outcome.setResult(brx::WriteSpan(context, source, firstVolume));
}

int TZipEngine::ReadSpan(const QString& archiveName, QString& target) {
    ZipOutcomeScope outcome(m_outcome, archiveName, true);
    EngineSpanEvents events(*this);
    SpanContext context{*m_volumes, *m_host, events, spanSettings(), m_diskFormat};
    return outcome.setResult(brx::ReadSpan(context, archiveName, target));
}

// The directory reader needs another volume of the set: it is asked for
// with the engine's settings and events.
QString TZipEngine::requestDirectoryVolume(const QString& current, int disk, int totalDisks) {
    EngineSpanEvents events(*this);
    const SpanSettings settings = spanSettings();
    SpanDrive drive(*m_volumes, *m_host, events, settings);
    drive.setDriveOf(current);
    drive.TotalDisks = totalDisks;
    SpanInput input(drive, current);
    input.openVolume(disk);
    const QString name = input.inputName();
    input.close();
    return name;
}

} // namespace brx
