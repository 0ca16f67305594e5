#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A font as settings describe it, in the comma-separated font-to-string
// form. The current form has 16 fields:
//   family, point size, pixel size, style hint, weight, style, underline,
//   strike-out, fixed pitch, a field no longer used (0), capitalisation,
//   letter-spacing type, letter spacing, word spacing, stretch, style strategy
// and, when the font has one, a 17th: its style name. The older form stops
// after the unused field (10 fields, or 11 with the style name) and weighs
// fonts on a scale of 0 to 99 instead of 1 to 1000. Written by hand, a
// font is often just "family" or "family,point size".
struct FontDescription {
    enum Style { Normal, Italic, Oblique };

    QString family;
    // At most one size is given; the other (or both) is -1.
    double pointSize = -1;
    int pixelSize = -1;
    int styleHint = 5;  // any style
    int weight = 400;   // 400 normal, 700 bold
    Style style = Normal;
    bool underline = false;
    bool strikeOut = false;
    bool fixedPitch = false;
    int capitalization = 0;
    int letterSpacingType = 0;  // 0 a percentage, 1 absolute
    double letterSpacing = 0;
    double wordSpacing = 0;
    int stretch = 0;
    int styleStrategy = 1;
    QString styleName;

    // The font the text describes in either form, or none when the text
    // has another number of fields, no family, or a field that is not a
    // number in its range. A font sized in pixels loses its point size.
    static std::optional<FontDescription> fromString(QStringView text);
    // The current form, without the style name when there is none.
    QString toString() const;

    bool italic() const { return style != Normal; }
    bool operator==(const FontDescription &) const = default;
};
