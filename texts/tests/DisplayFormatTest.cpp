// Dates and numbers for the user in the chosen language's locale; the sentences of the analysis keep
// the command line's C numbers until a language is chosen.
#include "texts/DisplayFormat.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(DisplayFormatTest, DatesAndNumbersFollowTheChosenLanguage) {
    const QDateTime taken(QDate(2026, 11, 30), QTime(14, 5, 9));
    struct Case {
        const char* language;
        const char* date;
        const char* dateTime;
        const char* number;
        const char* large;
    };
    const Case cases[] = {
        {"Deutsch", "30. Nov. 2026", "30. Nov. 2026 14:05:09", "2,53", "12345,6"},
        {"Fran\u00e7ais", "30 nov. 2026", "30 nov. 2026 14:05:09", "2,53", "12345,6"},
        {"Francais", "30 nov. 2026", "30 nov. 2026 14:05:09", "2,53", "12345,6"},
        {"Espa\u00f1ol", "30 nov 2026", "30 nov 2026 14:05:09", "2,53", "12345,6"},
    };
    for (const Case& c : cases) {
        SetDisplayLanguage(QString::fromUtf8(c.language));
        EXPECT_EQ(DisplayDate(taken.date()), QString::fromUtf8(c.date)) << c.language;
        EXPECT_EQ(DisplayDateTime(taken), QString::fromUtf8(c.dateTime)) << c.language;
        EXPECT_EQ(DisplayNumber(2.534, 2), QString::fromUtf8(c.number)) << c.language;
        EXPECT_EQ(DisplayNumber(12345.6, 1), QString::fromUtf8(c.large)) << c.language;
        EXPECT_EQ(TextNumber(2.534, 'f', 2), QString::fromUtf8(c.number)) << c.language;
        EXPECT_EQ(DisplayNumberText(QStringLiteral("2.53")), QString::fromUtf8(c.number)) << c.language;
        EXPECT_EQ(DisplayNumberText(QStringLiteral("WARNING")), QStringLiteral("WARNING")) << c.language;
        EXPECT_EQ(DisplayNumberText(QStringLiteral("1.2.3")), QStringLiteral("1.2.3")) << c.language;
        // Qt's own widgets (spin boxes, date edits) follow too.
        EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(",")) << c.language;
    }
    // English, or a language without a locale here: the regional settings as they were, and the
    // command line's C numbers in sentences.
    for (const char* other : {"English", "Klingon", ""}) {
        SetDisplayLanguage(QString::fromUtf8(other));
        const QLocale regional = QLocale::system();
        EXPECT_EQ(DisplayDate(taken.date()), regional.toString(taken.date(), QLocale::ShortFormat)) << other;
        EXPECT_EQ(DisplayDateTime(taken), regional.toString(taken, QLocale::ShortFormat)) << other;
        EXPECT_EQ(DisplayNumber(2.534, 2), regional.toString(2.534, 'f', 2)) << other;
        EXPECT_EQ(TextNumber(2.534, 'f', 2), QStringLiteral("2.53")) << other;
        EXPECT_EQ(DisplayNumberText(QStringLiteral("2.53")), regional.toString(2.53, 'f', 2)) << other;
        EXPECT_EQ(TextNumber(0.000123, 'g', 3), QStringLiteral("0.000123")) << other;
        EXPECT_TRUE(DisplayDatePattern().isEmpty()) << other;
        EXPECT_EQ(QLocale().name(), regional.name()) << other;
    }
}

} // namespace
} // namespace vantor
