#include "properties/FontDescription.h"

#include <QList>
#include <QStringList>

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// The named weights of the older 0-99 scale and their weights on the
// current scale.
constexpr struct {
    int legacy, current;
} namedWeights[] = {
    {0, 100}, {12, 200}, {25, 300}, {50, 400}, {57, 500}, {63, 600}, {75, 700}, {81, 800}, {87, 900},
};

// The current weight of the named legacy weight nearest to legacy, the
// lighter one when two are as near.
int currentWeight(int legacy)
{
    int weight = namedWeights[0].current;
    int distance = INT_MAX;
    for (const auto &named : namedWeights) {
        if (std::abs(named.legacy - legacy) < distance) {
            distance = std::abs(named.legacy - legacy);
            weight = named.current;
        }
    }
    return weight;
}

// Reads the numeric fields of a description, remembering whether every one
// was a number in its range.
class FieldReader {
public:
    explicit FieldReader(const QList<QStringView> &fields) : m_fields(fields) {}

    int integer(qsizetype index, int lowest = INT_MIN, int highest = INT_MAX)
    {
        bool ok = false;
        const int number = m_fields.at(index).toInt(&ok);
        m_ok = m_ok && ok && number >= lowest && number <= highest;
        return number;
    }
    bool flag(qsizetype index) { return integer(index, 0, 1) != 0; }
    double real(qsizetype index)
    {
        bool ok = false;
        const double number = m_fields.at(index).toDouble(&ok);
        m_ok = m_ok && ok && std::isfinite(number);
        return number;
    }
    bool ok() const { return m_ok; }

private:
    const QList<QStringView> &m_fields;
    bool m_ok = true;
};

} // namespace

std::optional<FontDescription> FontDescription::fromString(QStringView text)
{
    const QList<QStringView> fields = text.split(u',');
    const qsizetype count = fields.size();
    const bool legacy = count == 10 || count == 11;
    const bool brief = count <= 2; // "family" or "family,point size", as people write them
    if ((!legacy && !brief && count != 16 && count != 17) || fields.first().isEmpty())
        return std::nullopt;

    FontDescription font;
    FieldReader read(fields);
    font.family = fields.first().toString();
    if (brief) {
        if (count == 2 && (font.pointSize = read.real(1)) <= 0)
            return std::nullopt;
        return read.ok() ? std::optional(font) : std::nullopt;
    }
    const double pointSize = read.real(1);
    const int pixelSize = read.integer(2);
    if (pixelSize > 0)
        font.pixelSize = pixelSize;
    else if (pointSize > 0)
        font.pointSize = pointSize;
    font.styleHint = read.integer(3, 0, 8);
    font.weight = legacy ? currentWeight(read.integer(4, 0, 99)) : read.integer(4, 1, 1000);
    font.style = Style(read.integer(5, Normal, Oblique));
    font.underline = read.flag(6);
    font.strikeOut = read.flag(7);
    font.fixedPitch = read.flag(8);
    read.flag(9);
    if (!legacy) {
        font.capitalization = read.integer(10, 0, 4);
        font.letterSpacingType = read.integer(11, 0, 1);
        font.letterSpacing = read.real(12);
        font.wordSpacing = read.real(13);
        font.stretch = read.integer(14, 0, 4000);
        font.styleStrategy = read.integer(15, 0);
    }
    if (count == 11 || count == 17)
        font.styleName = fields.last().toString();
    return read.ok() ? std::optional(font) : std::nullopt;
}

QString FontDescription::toString() const
{
    QStringList fields{family,
                       QString::number(pointSize),
                       QString::number(pixelSize),
                       QString::number(styleHint),
                       QString::number(weight),
                       QString::number(int(style)),
                       QString::number(int(underline)),
                       QString::number(int(strikeOut)),
                       QString::number(int(fixedPitch)),
                       QStringLiteral("0"),
                       QString::number(capitalization),
                       QString::number(letterSpacingType),
                       QString::number(letterSpacing),
                       QString::number(wordSpacing),
                       QString::number(stretch),
                       QString::number(styleStrategy)};
    if (!styleName.isEmpty())
        fields.append(styleName);
    return fields.join(u',');
}
