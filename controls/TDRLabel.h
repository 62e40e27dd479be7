#pragma once
// TDRLabel: a label with a shadow under its text, an optional border and
// two blinking modes. blHiLo swaps the text between HiColor and LoColor,
// blBlink makes the text vanish and come back; leaving a blinking mode
// gives the text back the colour it had before. A new label leaves Deep
// pixels of room for the shadow in its size.

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace brx {

enum TLabelBorder : std::uint8_t {
    boNone = 0,
    boSingle = 1,
    boRaised = 2,
    boLowered = 3
};
enum TBlinkMode : std::uint8_t {
    blNone = 0,
    blBlink = 1,
    blHiLo = 2
};

class TDRLabel : public QWidget {
    Q_OBJECT
public:
    explicit TDRLabel(QWidget* parent = nullptr);
    TDRLabel(const QString& caption, QWidget* parent);

    std::function<void(TDRLabel*Sender)> OnClick, OnDblClick, OnMouseMove;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    // The text colour and the label's own (background) colour.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor& value);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    int Deep() const { return m_deep; }
    void SetDeep(int value);
    QColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(const QColor& value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    TLabelBorder Border() const { return m_border; }
    void SetBorder(TLabelBorder value);
    TBlinkMode Blink() const { return m_blink; }
    void SetBlink(TBlinkMode value);
    int BlinkInterval() const { return m_timer.interval(); }
    void SetBlinkInterval(int value) { m_timer.setInterval(value); }
    QColor HiColor() const { return m_hiColor; }
    void SetHiColor(const QColor& value) { m_hiColor = value; }
    QColor LoColor() const { return m_loColor; }
    void SetLoColor(const QColor& value) { m_loColor = value; }
    bool Blinking() const { return m_timer.isActive(); }

    // One step of blinking, as the timer runs it.
    void BlinkTick();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void drawBorder(QPainter& painter) const;
    QString shownCaption() const;

    QString m_caption;
    QColor m_fontColor;
    QColor m_color;
    QColor m_shadowColor;
    QColor m_hiColor{0, 0, 255};
    QColor m_loColor{0, 0, 128};
    QColor m_savedFontColor;
    bool m_transparent = false;
    bool m_ctl3D = true;
    std::uint8_t m_deep = 1;
    TLabelBorder m_border = boNone;
    TBlinkMode m_blink = blNone;
    QTimer m_timer;
};

} // namespace brx
