#pragma once
// THemisphereButton: a round push button drawn as a shaded disc (a button
// wider or taller than square: a rectangle with round ends) with an
// inner and an outer bevel ring, an optional picture and a bold caption.
// It takes keyboard focus and is pressed with Space or Enter like any
// button; its accessible name is its caption. Down draws it pressed.
// Grouping (GroupIndex, AllowAllUp) is kept as a value only: the windows
// use plain push buttons.

#include <QAbstractButton>
#include <QPainterPath>
#include <QPixmap>

#include <cstdint>
#include <functional>

namespace brx {

enum THemisphereBevel : std::uint8_t {
    hbNone = 0,
    hbLowered = 1,
    hbRaised = 2
};
enum TBorderStyle : std::uint8_t {
    bsNone = 0,
    bsSingle = 1
};

class THemisphereButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit THemisphereButton(QWidget* parent = nullptr);
    THemisphereButton(const QString& caption, QWidget* parent);

    std::function<void(THemisphereButton* Sender)> OnClick;

    QString Caption() const { return text(); }
    void SetCaption(const QString& value);
    QColor FaceColor() const { return m_faceColor; }
    void SetFaceColor(const QColor& value) {
        m_faceColor = value;
        update();
    }
    bool FaceShaded() const { return m_faceShaded; }
    void SetFaceShaded(bool value) {
        m_faceShaded = value;
        update();
    }
    bool FaceTransparent() const { return m_faceTransparent; }
    void SetFaceTransparent(bool value) {
        m_faceTransparent = value;
        update();
    }
    THemisphereBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(THemisphereBevel value) {
        m_bevelInner = value;
        update();
    }
    THemisphereBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(THemisphereBevel value) {
        m_bevelOuter = value;
        update();
    }
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value) {
        m_bevelWidth = std::max(0, value);
        update();
    }
    QColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(const QColor& value) {
        m_borderColor = value;
        update();
    }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value) {
        m_borderStyle = value;
        update();
    }
    bool Down() const { return m_down; }
    void SetDown(bool value) {
        m_down = value;
        update();
    }
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value) { m_allowAllUp = value; }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value) { m_groupIndex = value; }
    // The picture holds NumGlyphs images side by side; GlyphIndex is shown.
    QPixmap Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap& value) {
        m_glyph = value;
        update();
    }
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value) {
        m_numGlyphs = std::max(1, value);
        update();
    }
    int GlyphIndex() const { return m_glyphIndex; }
    void SetGlyphIndex(int value) {
        m_glyphIndex = value;
        update();
    }
    bool GlyphShaded() const { return m_glyphShaded; }
    void SetGlyphShaded(bool value) {
        m_glyphShaded = value;
        update();
    }
    bool GlyphMapped() const { return m_glyphMapped; }
    void SetGlyphMapped(bool value) { m_glyphMapped = value; }
    bool GlyphTransparent() const { return m_glyphTransparent; }
    void SetGlyphTransparent(bool value) {
        m_glyphTransparent = value;
        update();
    }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool hitButton(const QPoint& pos) const override;

private:
    bool isRound() const;
    QRectF discRect() const;
    QPainterPath shapeOf(const QRectF& rect) const;
    void drawRing(QPainter& painter, const QRectF& outer, THemisphereBevel bevel) const;
    void drawFace(QPainter& painter, const QRectF& face, bool pressed) const;
    void drawContent(QPainter& painter, const QRectF& face, bool pressed) const;

    QColor m_faceColor;
    QColor m_borderColor{Qt::black};
    QPixmap m_glyph;
    THemisphereBevel m_bevelInner = hbRaised;
    THemisphereBevel m_bevelOuter = hbLowered;
    TBorderStyle m_borderStyle = bsSingle;
    int m_bevelWidth = 2;
    int m_groupIndex = 0;
    int m_numGlyphs = 1;
    int m_glyphIndex = 0;
    bool m_faceShaded = true;
    bool m_faceTransparent = false;
    bool m_down = false;
    bool m_allowAllUp = false;
    bool m_glyphShaded = false;
    bool m_glyphMapped = false;
    bool m_glyphTransparent = true;
};

} // namespace brx
