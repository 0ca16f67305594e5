#include <gtest/gtest.h>

#include "properties/Colour.h"
#include "properties/FontDescription.h"

void PrintTo(const FontDescription &font, std::ostream *out)
{
    *out << font.toString().toStdString();
}

namespace {

TEST(Colour, namesReadAsHexDigitsOrKeywordsInEitherCase)
{
    // The name read; its "#rrggbb" name (empty: invalid) and alpha.
    const struct { const char *text, *name; int alpha; } cases[] = {
        {"#123", "#112233", 255},
        {"#AbCdEf", "#abcdef", 255},
        {"#80112233", "#112233", 0x80},
        {"#800fff000", "#80ff00", 255}, // 0x800 of 0xfff rounds to 0x80
        {"#8000FFFF0000", "#80ff00", 255},
        {"YellowGreen", "#9acd32", 255},
        {"Transparent", "#000000", 0},
        {"#12345", "", 0},
        {"#1234567890abc", "", 0},
        {"#12g", "", 0},
        {"123456", "", 0},
        {"lightgoldenrodyellowx", "", 0}, // longer than any keyword
        {"r\u00e9d", "", 0},
    };
    for (const auto &c : cases) {
        const Colour colour = Colour::fromName(QString::fromUtf8(c.text));
        EXPECT_EQ(colour.name(), QString::fromLatin1(c.name)) << c.text;
        EXPECT_EQ(colour.isValid(), *c.name != 0) << c.text;
        EXPECT_EQ(colour.alpha(), c.alpha) << c.text;
    }
}

TEST(FontDescription, descriptionsReadInEitherFormAndWriteTheCurrentOne)
{
    // The description read and the one written back (null: no font).
    const struct { const char *text, *written; } cases[] = {
        {"Sans,10.50,-1,2,75,1,1,1,1,0,Bold Italic", "Sans,10.5,-1,2,700,1,1,1,1,0,0,0,0,0,0,1,Bold Italic"},
        {"X,9,-1,5,40,0,0,0,0,0", "X,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"},   // nearest named weight
        {"X,9,-1,5,60,0,0,0,0,0", "X,9,-1,5,500,0,0,0,0,0,0,0,0,0,0,1"},   // the lighter of two
        {"X,10,12,5,50,2,0,0,0,0", "X,-1,12,5,400,2,0,0,0,0,0,0,0,0,0,1"}, // pixels win
        {"X,9,-1,7,350,2,0,1,1,0,3,1,1.5,-2,150,17", "X,9,-1,7,350,2,0,1,1,0,3,1,1.5,-2,150,17"},
        {"X,9,-1,5,700,0,0,0,0,0,0,0,0,0,0,1,Light", "X,9,-1,5,700,0,0,0,0,0,0,0,0,0,0,1,Light"},
        {"X,9,-1,5,700,0,0,0,0,0,0,0,0,0,0,1,", "X,9,-1,5,700,0,0,0,0,0,0,0,0,0,0,1"},
        {"Courier", "Courier,-1,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"},   // as people write them
        {"Courier,10.5", "Courier,10.5,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"},
        // No family, a count of fields of neither form, a field out of range.
        {"", nullptr},
        {"Courier,0", nullptr},
        {"X,9,-1,5,50,0,0,0,0,0,0,0", nullptr},
        {"X,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1,Light,", nullptr},
        {"X,nine,-1,5,50,0,0,0,0,0", nullptr},
        {"X,nan,-1,5,50,0,0,0,0,0", nullptr},
        {"X,9,-1,5,100,0,0,0,0,0", nullptr},
        {"X,9,-1,5,0,0,0,0,0,0,0,0,0,0,0,1", nullptr},
        {"X,9,-1,9,50,0,0,0,0,0", nullptr},
        {"X,9,-1,5,50,3,0,0,0,0", nullptr},
        {"X,9,-1,5,50,0,2,0,0,0", nullptr},
        {"X,9,-1,5,400,0,0,0,0,0,0,2,0,0,0,1", nullptr},
    };
    for (const auto &c : cases) {
        const std::optional<FontDescription> font = FontDescription::fromString(QString::fromLatin1(c.text));
        ASSERT_EQ(font.has_value(), c.written != nullptr) << c.text;
        if (!font)
            continue;
        EXPECT_EQ(font->toString(), QString::fromLatin1(c.written)) << c.text;
        EXPECT_EQ(FontDescription::fromString(font->toString()), font) << c.text;
    }

    // Each field lands where it belongs.
    EXPECT_EQ(FontDescription::fromString(u"M,-1,14,7,300,2,1,0,1,0,3,1,1.5,-2,150,17,Light"),
              (FontDescription{.family = "M", .pixelSize = 14, .styleHint = 7, .weight = 300,
                               .style = FontDescription::Oblique, .underline = true, .fixedPitch = true,
                               .capitalization = 3, .letterSpacingType = 1, .letterSpacing = 1.5,
                               .wordSpacing = -2, .stretch = 150, .styleStrategy = 17, .styleName = "Light"}));
}

} // namespace
