#pragma once
// Value types of the sortable grid TSortGrid: enumerations (ordinals fixed),
// the sort and cell-format records, the grid's option set and rectangle.

#include <QBrush>
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QString>

#include <cstdint>

namespace brx {

enum TSortDirection : std::uint8_t {
    sdAscending = 0,
    sdDescending = 1
};
enum TSortSymbol : std::uint8_t {
    sgNone = 0,
    sgArrow = 1,
    sgGlyph = 2,
    sgCustom = 3
};
enum TCellBevelStyle : std::uint8_t {
    cbNone = 0,
    cbRaised = 1,
    cbLowered = 2
};
enum TVertAlignment : std::uint8_t {
    taTopJustify = 0,
    taBottomJustify = 1,
    taMiddle = 2
};
enum TAlignment : std::uint8_t {
    taLeftJustify = 0,
    taRightJustify = 1,
    taCenter = 2
};
enum TSortKind : std::uint8_t {
    skAutomatic = 0,
    skText = 1,
    skNumeric = 2,
    skDateTime = 3,
    skTime = 4,
    skCustom = 5
};

// Plain comparison of two sort keys: negative, zero or positive.
using TCompareProc = int (*)(const QString& key1, const QString& key2);

struct TSortOptions {
    TSortKind SortKind = skAutomatic;
    TSortDirection SortDirection = sdAscending;
    bool CaseSensitive = false;
    TCompareProc CompareProc = nullptr; // used with skCustom only
};

// A font that carries its colour, as the grid's canvas font does.
class TFont : public QFont {
public:
    TFont() = default;
    explicit TFont(const QFont& font, QColor color = Qt::black) : QFont(font), Color(color) {}
    QColor Color = Qt::black;
};

// Filled for every cell before it is drawn or measured; OnGetCellFormat may
// change any field and the grid then draws with the result.
struct TFormatOptions {
    QBrush Brush;
    TFont Font;
    TAlignment AlignmentHorz = taLeftJustify;
    TVertAlignment AlignmentVert = taTopJustify;
    TCellBevelStyle Bevel = cbNone;
    QColor HighlightColor;
    QColor ShadowColor;
    bool HideText = false;
};

enum TGridDrawStateFlag : unsigned {
    gdSelected = 1,
    gdFocused = 2,
    gdFixed = 4
};
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goRowSizing = 1u << 5,
    goColSizing = 1u << 6,
    goRowMoving = 1u << 7,
    goColMoving = 1u << 8,
    goEditing = 1u << 9,
    goAlwaysShowEditor = 1u << 10,
    goRowSelect = 1u << 11,
    goThumbTracking = 1u << 12,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

// Inclusive cell rectangle in grid numbers (fixed rows and columns counted).
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
};

struct TSortedListEntry {
    QString Key;
    int SourceRow = 0;
};

} // namespace brx
