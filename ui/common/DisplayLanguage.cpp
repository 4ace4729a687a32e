#include "ui/common/DisplayLanguage.h"

#include "graphviews/GraphLanguage.h"
#include "texts/DisplayFormat.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace vantor {
namespace {

// Qt's own texts ("Cancel" in QFileDialog, "Print" in QPrintDialog): the translator of the language
// shown, installed once and replaced on every change of language.
std::unique_ptr<QTranslator>& QtTranslator() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

bool ApplyDisplayLanguage(const QString& language) {
    UseDisplayLanguage(language);
    const QString pattern = DisplayDatePattern();
    std::unique_ptr<QTranslator>& translator = QtTranslator();
    if (translator) {
        QCoreApplication::removeTranslator(translator.get());
        translator.reset();
    }
    if (pattern.isEmpty() || QCoreApplication::instance() == nullptr) {
        return false;
    }
    auto loaded = std::make_unique<QTranslator>();
    if (!loaded->load(DisplayLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(loaded.get());
    translator = std::move(loaded);
    return true;
}

} // namespace vantor
