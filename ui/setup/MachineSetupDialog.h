#pragma once
// "Machine Setup": the machine's names and its exception e-mail addresses, stored through the
// catalogue editor when OK is pressed. A refusal shows its message and leaves the dialog open.

#include "app/CatalogueEditor.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace vantor {

class NameFields;

class CMachineSetupDialog : public QDialog {
    Q_OBJECT
public:
    // A new machine has an empty sItemGUID; it goes just before the machine `before`, or last.
    CMachineSetupDialog(CatalogueEditor& editor, Prompter& prompter, const CMachine& machine,
                        const QString& before = {}, QWidget* parent = nullptr);

    QString SavedGuid() const { return saved_; }
    QStringList Addresses() const;

    // The address typed in the field joins the list: at most five, each a valid address, once.
    void AddAddress();
    void RemoveSelectedAddress();
    void RemoveAllAddresses();

    void accept() override;

private:
    CatalogueEditor& editor_;
    Prompter& prompter_;
    CMachine machine_;
    QString before_;
    NameFields* names_;
    QLineEdit* address_;
    QListWidget* addresses_;
    QString saved_;
};

} // namespace vantor
