#pragma once
// The Help menu's dialogs: "Shortcuts" (each key with what it does), "ISO Standards" (the
// ISO 10816-3:1998 zone limits per machine group and foundation) and "About" (version, build date,
// the libraries the program is built on with their licences, where the user guide is). The ISO dialog is also
// the chooser of a point editor: with choosing on, every limit pair is a button that closes the dialog with
// its group and foundation.

#include "ui/window/DisplayCommands.h"

#include <QDialog>

#include <optional>

class QTableWidget;

namespace vantor {

class CShortcutsDialog : public QDialog {
    Q_OBJECT
public:
    CShortcutsDialog(const std::vector<DisplayCommands::Shortcut>& shortcuts, QWidget* parent = nullptr);
    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    // The libraries the program links, with the licence each is used under.
    struct Library {
        const char* name;
        const char* licence;
    };
    static const std::vector<Library>& Libraries();

    CAboutDialog(const QString& title, const QString& company, const QString& guideFolder,
                 QWidget* parent = nullptr);
    // The dialog's text as shown (rich text).
    QString Text() const { return text_; }

private:
    QString text_;
};

class CIsoStandardsDialog : public QDialog {
    Q_OBJECT
public:
    // The title the standard gives its table.
    static constexpr const char* kTitle = "ISO 10816-3:1998(E)";

    explicit CIsoStandardsDialog(bool choosing, QWidget* parent = nullptr);

    struct Choice {
        int group = 0;      // 1 to 4
        int foundation = 0; // 0 rigid, 1 flexible
    };
    // The pressed limit pair; none when the dialog was closed without choosing.
    std::optional<Choice> Chosen() const { return chosen_; }
    // Presses the button of a group (1..4) and foundation (0, 1); false when there is none.
    bool Choose(int group, int foundation);
    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
    bool choosing_;
    std::optional<Choice> chosen_;
};

} // namespace vantor
