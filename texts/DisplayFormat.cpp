#include "texts/DisplayFormat.h"

#include "texts/UiText.h"

#include <QRegularExpression>

#include <mutex>
#include <shared_mutex>

namespace vantor {
namespace {

// A language's locale and its date pattern: day, abbreviated month name and year, as the regional
// settings of C write dates, so that no date reads as day/month or month/day by mistake.
struct LanguageLocale {
    const char16_t* name;
    const char16_t* plainName;
    QLocale::Language language;
    QLocale::Territory territory;
    const char* datePattern;
};

constexpr LanguageLocale kLanguageLocales[] = {
    {u"Deutsch", u"Deutsch", QLocale::German, QLocale::Germany, "d. MMM yyyy"},
    {u"Fran\u00e7ais", u"Francais", QLocale::French, QLocale::France, "d MMM yyyy"},
    {u"Espa\u00f1ol", u"Espanol", QLocale::Spanish, QLocale::Spain, "d MMM yyyy"},
};

constexpr const char* kTimePattern = "HH:mm:ss";

struct Display {
    std::shared_mutex mutex;
    bool chosen = false; // a language's locale, else the regional settings' own formats
    QLocale locale = QLocale::system();
    QString datePattern;
};

Display& TheDisplay() {
    static Display display;
    return display;
}

QLocale WithoutGroups(QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

void SetDisplayLanguage(const QString& languageName) {
    Display& display = TheDisplay();
    std::unique_lock lock(display.mutex);
    display.chosen = false;
    display.locale = QLocale::system();
    display.datePattern.clear();
    for (const LanguageLocale& row : kLanguageLocales) {
        if (languageName.compare(QString::fromUtf16(row.name), Qt::CaseInsensitive) == 0 ||
            languageName.compare(QString::fromUtf16(row.plainName), Qt::CaseInsensitive) == 0) {
            display.chosen = true;
            display.locale = QLocale(row.language, row.territory);
            display.datePattern = QString::fromLatin1(row.datePattern);
        }
    }
    QLocale::setDefault(display.locale);
}

QString DisplayDatePattern() {
    Display& display = TheDisplay();
    std::shared_lock lock(display.mutex);
    return display.datePattern;
}

QLocale DisplayLocale() {
    Display& display = TheDisplay();
    std::shared_lock lock(display.mutex);
    return display.chosen ? WithoutGroups(display.locale) : display.locale;
}

QString DisplayNumber(double value, int decimals) {
    return DisplayLocale().toString(value, 'f', decimals);
}

QString DisplayNumber(double value, char format, int precision) {
    return DisplayLocale().toString(value, format, precision);
}

QString DisplayNumberText(const QString& cNumber) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+\\.[0-9]+$"));
    if (!number.match(cNumber).hasMatch()) {
        return cNumber;
    }
    QString text = cNumber;
    text.replace(QLatin1Char('.'), DisplayLocale().decimalPoint());
    return text;
}

QString DisplayBandName(const QString& stored) {
    // The band names of this version and of older ones (documented texts 81 to 87).
    constexpr int kDefaultBandNames[] = {81, 83, 85, 87, text::added::Misalignment};
    for (const int index : kDefaultBandNames) {
        if (stored == EnglishDefaultText(index)) {
            return UiText(index);
        }
    }
    return stored;
}

QString DisplayInteger(qlonglong value) {
    return DisplayLocale().toString(value);
}

QString TextNumber(double value, char format, int precision) {
    Display& display = TheDisplay();
    std::shared_lock lock(display.mutex);
    return display.chosen ? WithoutGroups(display.locale).toString(value, format, precision)
                          : QString::number(value, format, precision);
}

QString DisplayDate(const QDate& date) {
    Display& display = TheDisplay();
    std::shared_lock lock(display.mutex);
    return display.chosen ? display.locale.toString(date, display.datePattern)
                          : display.locale.toString(date, QLocale::ShortFormat);
}

QString DisplayDateTime(const QDateTime& dateTime) {
    Display& display = TheDisplay();
    std::shared_lock lock(display.mutex);
    if (!display.chosen) {
        return display.locale.toString(dateTime, QLocale::ShortFormat);
    }
    return display.locale.toString(dateTime,
                                   display.datePattern + QLatin1Char(' ') + QLatin1String(kTimePattern));
}

QString DisplayTime(const QTime& time) {
    Display& display = TheDisplay();
    std::shared_lock lock(display.mutex);
    return display.chosen ? display.locale.toString(time, QLatin1String(kTimePattern))
                          : display.locale.toString(time, QLocale::ShortFormat);
}

} // namespace vantor
