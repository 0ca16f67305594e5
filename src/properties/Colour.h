#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// A colour with 8 bits a channel, or the invalid colour, as settings name
// it: "#" followed by 3, 6, 8 (alpha first), 9 or 12 hexadecimal digits, or
// one of the SVG colour keywords or "transparent", in either case.
class Colour {
public:
    // The invalid colour.
    constexpr Colour() = default;
    constexpr Colour(int red, int green, int blue, int alpha = 255)
        : m_red(quint8(red)), m_green(quint8(green)), m_blue(quint8(blue)), m_alpha(quint8(alpha)), m_valid(true)
    {
    }

    // The colour the name gives, or the invalid colour when it gives none.
    static Colour fromName(QStringView name);

    bool isValid() const { return m_valid; }
    int red() const { return m_red; }
    int green() const { return m_green; }
    int blue() const { return m_blue; }
    int alpha() const { return m_alpha; }
    // "#rrggbb" in lower case, without the alpha; empty for the invalid colour.
    QString name() const;

    bool operator==(const Colour &) const = default;

private:
    quint8 m_red = 0;
    quint8 m_green = 0;
    quint8 m_blue = 0;
    quint8 m_alpha = 0;
    bool m_valid = false;
};
