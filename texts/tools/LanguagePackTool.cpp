// vantor-langpack: writes the language packs from the reviewed translation tables.
//
//   vantor-langpack OUT_FOLDER TABLE.tsv...
//
// Writes OUT_FOLDER/LangPack.vpl and, per table, "<language>.vpl" with "<language>.vpa". A text the
// table lacks, or translated from another English text, is written in English and reported on
// standard error; the exit status is then still 0 so that the build goes on, and the packs' test
// fails. Exit status 1 when a table cannot be read or a file cannot be written.
#include "texts/LanguagePackWriter.h"
#include "texts/TranslationTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

// The packs' date: the newest review date of the tables, so that the files depend on nothing else.
QDate NewestDate(const QList<vantor::TranslationTable>& tables) {
    QDate newest(2000, 1, 1);
    for (const vantor::TranslationTable& table : tables) {
        if (table.date.isValid() && table.date > newest) {
            newest = table.date;
        }
    }
    return newest;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() < 2) {
        err << "usage: vantor-langpack OUT_FOLDER TABLE.tsv...\n";
        return 2;
    }
    QList<vantor::TranslationTable> tables;
    for (const QString& path : arguments.mid(1)) {
        QString error;
        std::optional<vantor::TranslationTable> table = vantor::ReadTranslationTable(path, &error);
        if (!table) {
            err << error << '\n';
            return 1;
        }
        for (const QString& finding : vantor::CheckTranslationTable(*table)) {
            err << "warning: " << finding << '\n';
        }
        tables.append(std::move(*table));
    }
    const QString out = arguments.first();
    QDir().mkpath(out);
    const vantor::ArchiveDate date =
        vantor::ArchiveDate::FromDateTime(QDateTime(NewestDate(tables), QTime(0, 0)));
    const QString identityA = QLatin1String(vantor::kShippedPackIdentityA);
    const QString identityB = QLatin1String(vantor::kShippedPackIdentityB);
    QString error;
    const vantor::PackDescriptor descriptor{vantor::kPackFormatVersion,
                                            vantor::kLanguageSetVersion,
                                            date,
                                            QStringLiteral("Vantor language packs"),
                                            identityA,
                                            identityB};
    if (!vantor::WritePackDescriptor(QDir(out).filePath(QLatin1String(vantor::kPackDescriptorFile)),
                                     descriptor, &error)) {
        err << error << '\n';
        return 1;
    }
    for (const vantor::TranslationTable& table : tables) {
        vantor::LanguageFileHeader header;
        header.version = vantor::kPackFormatVersion;
        header.date = date;
        header.languageString = table.translator;
        header.identityA = identityA;
        header.identityB = identityB;
        if (!vantor::WriteLanguagePack(out, table.language, header, vantor::PackTexts(table), &error)) {
            err << error << '\n';
            return 1;
        }
    }
    return 0;
}
