#pragma once
// The end of the report wizard: where the report was written, with Open (the document), Show in
// Folder (the folder holding it) and Close. When no program opens it, the dialog says so plainly and
// keeps the path in view.

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace vantor {

// Starts the program that shows a file or folder; false when none can.
using DocumentOpenerHook = std::function<bool(const QString& path)>;

class CReportDoneDialog : public QDialog {
    Q_OBJECT
public:
    CReportDoneDialog(const QString& path, DocumentOpenerHook opener, QWidget* parent = nullptr);

    QLabel* Message() const { return message_; }
    QPushButton* OpenButton() const { return open_; }
    QPushButton* ShowInFolderButton() const { return showInFolder_; }

private:
    // Opens the document or its folder; closes the dialog when that worked, else says why not.
    void Open(const QString& target);

    QString path_;
    DocumentOpenerHook opener_;
    QLabel* message_;
    QPushButton* open_;
    QPushButton* showInFolder_;
};

} // namespace vantor
