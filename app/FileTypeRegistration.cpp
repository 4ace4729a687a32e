#include "app/FileTypeRegistration.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamWriter>

namespace vantor {
namespace {

QString DataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// A value of a desktop entry: backslashes and line breaks escaped.
QString DesktopValue(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return text;
}

// A menu text without its keyboard accelerator ("&Import" -> "Import", "&&" -> "&").
QString WithoutAccelerator(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

enum class Written { Same, Changed, Failed };

// A file that already holds `contents` is left alone (no write, no sync), so a start that finds the
// registration as it was costs one read.
Written WriteFile(const QString& path, const QByteArray& contents) {
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.size() == contents.size() &&
        current.readAll() == contents) {
        return Written::Same;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return Written::Failed;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Written::Failed;
    }
    file.write(contents);
    return file.commit() ? Written::Changed : Written::Failed;
}

QByteArray MimeInfo(const QString& mimeType, const QString& description, const QString& extension) {
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("mime-info"));
    writer.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    writer.writeStartElement(QStringLiteral("mime-type"));
    writer.writeAttribute(QStringLiteral("type"), mimeType);
    writer.writeTextElement(QStringLiteral("comment"), description);
    writer.writeEmptyElement(QStringLiteral("glob"));
    writer.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + extension);
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

QByteArray DesktopEntry(const Edition& edition, const QString& mimeType, const QString& executablePath) {
    const QString exec = DesktopExecLine(executablePath);
    QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=") + DesktopValue(edition.title),
        QStringLiteral("Comment=") + DesktopValue(edition.fileTypeDescription),
        QStringLiteral("Exec=") + exec,
        QStringLiteral("MimeType=%1;").arg(mimeType),
        // The icon and menu place the installed entry gives, kept when this one replaces it.
        QStringLiteral("Icon=") + DesktopValue(edition.productName.toLower()),
        QStringLiteral("Categories=Science;Engineering;"),
        QStringLiteral("Terminal=false"),
        QStringLiteral("Actions=import;"),
        QString(),
        QStringLiteral("[Desktop Action import]"),
        QStringLiteral("Name=") + DesktopValue(WithoutAccelerator(edition.shellVerb)),
        QStringLiteral("Exec=") + exec,
    };
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

void RefreshInBackground(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty()) {
        QProcess::startDetached(program, {folder});
    }
}

} // namespace

FileTypeRegistration FileTypeRegistrationFor(const Edition& edition) {
    const QString id = edition.fileTypeClass.toLower();
    const QDir home(DataHome());
    return {QStringLiteral("application/x-") + id,
            home.filePath(QStringLiteral("mime/packages/%1.xml").arg(id)),
            home.filePath(QStringLiteral("applications/%1.desktop").arg(id))};
}

QString DesktopExecLine(const QString& executablePath) {
    // Inside the quotes ", `, $ and \ take a backslash; % is doubled so it is not a field code;
    // then the whole value is escaped as every desktop entry value is.
    QString quoted;
    for (const QChar c : executablePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        }
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return DesktopValue(QLatin1Char('"') + quoted + QLatin1Char('"')) + QStringLiteral(" %f");
}

bool RegisterDataFileType(const Edition& edition, const QString& executablePath, const QString& extension,
                          bool refreshDatabases) {
    if (DataHome().isEmpty()) {
        return false;
    }
    const FileTypeRegistration names = FileTypeRegistrationFor(edition);
    const Written mime =
        WriteFile(names.mimeFile, MimeInfo(names.mimeType, edition.fileTypeDescription, extension));
    const Written desktop =
        mime == Written::Failed
            ? Written::Failed
            : WriteFile(names.desktopFile, DesktopEntry(edition, names.mimeType, executablePath));
    const bool written = mime != Written::Failed && desktop != Written::Failed;
    // The desktop's databases are rebuilt only when a file changed: running both tools on every
    // start cost more than the rest of the start on a small plant.
    if (written && refreshDatabases && (mime == Written::Changed || desktop == Written::Changed)) {
        RefreshInBackground(QStringLiteral("update-mime-database"),
                            QDir(DataHome()).filePath(QStringLiteral("mime")));
        RefreshInBackground(QStringLiteral("update-desktop-database"),
                            QFileInfo(names.desktopFile).absolutePath());
    }
    return written;
}

} // namespace vantor
