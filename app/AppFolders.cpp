#include "app/AppFolders.h"

#include <QDir>

namespace vantor {
namespace {

QString Join(const QString& folder, const QString& name) {
    return QDir(folder).filePath(name);
}

} // namespace

QString SecurityWarningText(const QString& dataRoot) {
    return QStringLiteral(
               "Security Warning:\r\n\r\nThis application needs Full rights to the following folder, "
               "subfolders and files to run.\r\n\r\n%1\r\n\r\nPlease set your security settings "
               "accordingly.")
        .arg(QDir::toNativeSeparators(dataRoot));
}

AppFolders AppFolders::Resolve(const Edition& edition, const QString& commonAppData,
                               const QString& userAppData) {
    AppFolders f;
    f.dataRoot = Join(Join(commonAppData, edition.companyName), edition.productName);
    f.userRoot = Join(Join(userAppData, edition.companyName), edition.productName);
    f.dataFolder = Join(f.dataRoot, QStringLiteral("Data"));
    f.syncFolder = Join(f.dataFolder, QStringLiteral("Sync"));
    f.userSettingsFile = Join(f.userRoot, QStringLiteral("UserSettings.cfg"));
    f.securityWarning = SecurityWarningText(f.dataRoot);
    f.SetCurrentRoot(f.dataRoot, edition);
    return f;
}

void AppFolders::SetCurrentRoot(const QString& root, const Edition& edition) {
    currentRoot = root;
    databaseFolder = Join(root, QStringLiteral("Database"));
    databaseFile = Join(databaseFolder, edition.profileName + QStringLiteral(".mdb"));
    stylesFolder = Join(root, QStringLiteral("Styles"));
    languageFolder = Join(root, QStringLiteral("Language"));
    logosFolder = Join(root, QStringLiteral("Logos"));
    emptyDatabaseFolder = Join(databaseFolder, QStringLiteral("Empty"));
    emptyDatabaseFile = Join(emptyDatabaseFolder, edition.profileName + QStringLiteral(".mdb"));
}

} // namespace vantor
