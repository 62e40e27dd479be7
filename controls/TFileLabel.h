#pragma once
// TFileLabel: a one-line label that shows FileName shortened to its width
// (see ShortenPath). It never wraps and never sizes itself; the text is
// shortened again when the path, the separator, the direction, the width or
// the font change. The full path is available as FileName().

#include "PathShortening.h"

#include <QLabel>

namespace brx {

// The label's default separator: this platform's path separator. Named apart
// from support's kPathSeparator, a QChar of the same namespace: two inline
// variables of one name would be merged by the linker whatever their types.
inline const QString kFileLabelDefaultSeparator = QStringLiteral("/");

class TFileLabel : public QLabel {
    Q_OBJECT
public:
    explicit TFileLabel(QWidget* parent = nullptr);

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& value);
    QString Separator() const { return m_separator; }
    void SetSeparator(const QString& value);
    TDirection Direction() const { return m_direction; }
    void SetDirection(TDirection value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void shorten();

    QString m_fileName;
    QString m_separator = kFileLabelDefaultSeparator;
    TDirection m_direction = drFromLeft;
};

} // namespace brx
