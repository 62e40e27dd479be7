#pragma once
// THintHandler: the hint service of one window. While the mouse is over a
// control of the window, OnHint receives the control's long hint (the
// status bar shows it); it is sent again when the hint of that control
// changes. ShowHint off suppresses the tool tips of the window only; the
// status bar keeps its long hints.

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace brx {

class THintHandler : public QObject {
    Q_OBJECT
public:
    explicit THintHandler(QWidget* window);
    ~THintHandler() override;

    std::function<void(const QString& LongHint)> OnHint;

    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value) { m_showHint = value; }
    // The long hint last sent.
    QString CurrentHint() const { return m_current; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool belongsToWindow(const QWidget* widget) const;
    void hover(QWidget* widget);

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_hovered;
    QString m_current;
    bool m_showHint = true;
};

} // namespace brx
