#pragma once
// What a command writes to its output streams: bytes as they are, text, lines and compact JSON
// objects, an indented JSON array; UTF-8, flushed at once so that a reader of a pipe sees each
// piece when it is written.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>

namespace vantor::cli {

inline void PrintBytes(std::FILE* out, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
    std::fflush(out);
}

inline void PrintText(std::FILE* out, const QString& text) {
    PrintBytes(out, text.toUtf8());
}

inline void PrintLine(std::FILE* out, const QString& line) {
    PrintBytes(out, (line + QLatin1Char('\n')).toUtf8());
}

inline void PrintJsonLine(std::FILE* out, const QJsonObject& object) {
    PrintBytes(out, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

inline void PrintJsonArrayLine(std::FILE* out, const QJsonArray& array) {
    PrintBytes(out, QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n');
}

inline void PrintJsonArray(std::FILE* out, const QJsonArray& array) {
    PrintBytes(out, QJsonDocument(array).toJson(QJsonDocument::Indented));
}

} // namespace vantor::cli
