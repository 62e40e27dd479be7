#pragma once
// TCheckBox98: a check box drawn by the program whose OnClick runs before
// the state changes, so that a handler reading Checked sees the old state.
// A mouse click, a double click (one more click), Space and the caption's
// Alt accelerator (only while enabled and visible) each count as a click.
// Setting Checked or State from code repaints without running OnClick.

#include "SortGridTypes.h"

#include <QWidget>

#include <cstdint>
#include <functional>

namespace brx {

enum TCheckBoxState : std::uint8_t {
    cbUnchecked = 0,
    cbChecked = 1,
    cbGrayed = 2
};

class TCheckBox98 : public QWidget {
    Q_OBJECT
public:
    explicit TCheckBox98(QWidget* parent = nullptr);
    TCheckBox98(const QString& caption, QWidget* parent);

    std::function<void(TCheckBox98* Sender)> OnClick;

    TCheckBoxState State() const { return m_state; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return m_state == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return m_allowGrayed; }
    void SetAllowGrayed(bool value) { m_allowGrayed = value; }
    // taLeftJustify puts the caption left of the box; taRightJustify right.
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    // "&" marks the accelerator letter.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);

    // What a user's click does: OnClick, then the next state.
    void Click();

    QSize sizeHint() const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QRect boxRect() const;
    void drawMark(QPainter& painter, const QRect& box) const;
    void applyAutoSize();
    void updateShortcut();

    TCheckBoxState m_state = cbUnchecked;
    bool m_allowGrayed = false;
    TAlignment m_alignment = taRightJustify;
    bool m_autoSize = true;
    bool m_pressed = false;
    QString m_caption;
    int m_shortcutId = 0;
};

} // namespace brx
