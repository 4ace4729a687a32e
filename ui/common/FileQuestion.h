#pragma once
// The question for a file to read or write. The desktop asks with the platform's file dialogs;
// tests put their own answer in its place.

#include <QString>

#include <functional>

class QWidget;

namespace vantor {

struct FileRequest {
    QString title;
    QString startPath; // a folder, or a folder and a proposed file name
    QString filter;    // "CSV (*.csv)"
    bool save = false;
};

// The chosen path; empty when the user cancelled.
using FileQuestion = std::function<QString(QWidget* parent, const FileRequest& request)>;

// QFileDialog::getOpenFileName or getSaveFileName.
QString AskWithFileDialog(QWidget* parent, const FileRequest& request);

} // namespace vantor
