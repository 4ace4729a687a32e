#pragma once
// The settings dialogs of the Set-up menu. Each shows the current values; OK stores the changed
// record at once (CAppData::WriteSettings), Cancel changes nothing. Each Run... function answers
// whether anything was stored, so that the views can redraw.

#include "app/CAppData.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace vantor {

bool RunUnitsDialog(CAppData& app, QWidget* parent);              // X-axis and Y-axis units
bool RunDecimalPlacesDialog(CAppData& app, QWidget* parent);      // decimals of g, mm/s, inch/s
bool RunFftDisplayDialog(CAppData& app, QWidget* parent);         // bar or line, automatic fault detection
bool RunBandNamesDialog(CAppData& app, QWidget* parent);          // the VA band names
bool RunMachineStatusDialog(CAppData& app, QWidget* parent);      // status columns, status as values
bool RunEmailExceptionsDialog(CAppData& app, QWidget* parent);    // e-mail on upload, sent automatically
bool RunExceptionAddressesDialog(CAppData& app, QWidget* parent); // the exception e-mail address list
bool RunMailServerDialog(CAppData& app, QWidget* parent);         // the outgoing mail server, test message

// A dialog that edits a copy of the settings record; OK checks and collects the fields into the
// copy, then stores it.
class CSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CSettingsDialog(CAppData& app, const QString& title, QWidget* parent);
    void accept() override;

protected:
    // Fills `settings` from the fields; false (after showing why) keeps the dialog open.
    virtual bool Collect(CSettings& settings) = 0;
    // Lays out the fields above the OK and Cancel buttons.
    void SetFields(QLayout* fields);

    CAppData& app_;
};

class CUnitsDialog : public CSettingsDialog {
    Q_OBJECT
public:
    CUnitsDialog(CAppData& app, QWidget* parent = nullptr);

protected:
    bool Collect(CSettings& settings) override;

private:
    QComboBox* xAxis_;
    QComboBox* yAxis_;
};

class CDecimalPlacesDialog : public CSettingsDialog {
    Q_OBJECT
public:
    static constexpr int kMaxDecimals = 6;
    CDecimalPlacesDialog(CAppData& app, QWidget* parent = nullptr);

protected:
    bool Collect(CSettings& settings) override;

private:
    QSpinBox* g_;
    QSpinBox* mms_;
    QSpinBox* inchS_;
};

class CFftDisplayDialog : public CSettingsDialog {
    Q_OBJECT
public:
    CFftDisplayDialog(CAppData& app, QWidget* parent = nullptr);

protected:
    bool Collect(CSettings& settings) override;

private:
    QButtonGroup* lineOrBar_;
    QButtonGroup* ovo_;
};

class CBandNamesDialog : public CSettingsDialog {
    Q_OBJECT
public:
    static constexpr int kMaxBandNameLength = 25;
    CBandNamesDialog(CAppData& app, QWidget* parent = nullptr);

protected:
    bool Collect(CSettings& settings) override;

private:
    std::array<QLineEdit*, 4> names_{};
};

class CStatusColumnsDialog : public CSettingsDialog {
    Q_OBJECT
public:
    static constexpr int kMaxColumns = 3;
    CStatusColumnsDialog(CAppData& app, QWidget* parent = nullptr);

protected:
    bool Collect(CSettings& settings) override;

private:
    void Ticked(QCheckBox* box);

    std::vector<QCheckBox*> kinds_; // by measure kind
    std::vector<int> order_;        // kinds in the order they were ticked
    QCheckBox* asValues_;
};

class CEmailExceptionsDialog : public CSettingsDialog {
    Q_OBJECT
public:
    CEmailExceptionsDialog(CAppData& app, QWidget* parent = nullptr);

protected:
    bool Collect(CSettings& settings) override;

private:
    QCheckBox* onUpload_;
    QCheckBox* autoSend_;
};

class CMailServerDialog : public CSettingsDialog {
    Q_OBJECT
public:
    CMailServerDialog(CAppData& app, QWidget* parent = nullptr);

    // Sends the test message with the values entered (stored or not) to the test address.
    void SendTest();
    // Stores the settings, and the password in the user's secret store (never in the settings).
    void accept() override;

protected:
    bool Collect(CSettings& settings) override;

private:
    QLineEdit* host_;
    QSpinBox* port_;
    QComboBox* security_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* allowPlainAuth_;
    QLineEdit* from_;
    QLineEdit* testTo_;
    QString storedPassword_;
};

// "Exception E-Mail Addresses": the list that receives every exception e-mail. Additions and
// removals are stored when OK is pressed.
class CExceptionAddressesDialog : public QDialog {
    Q_OBJECT
public:
    CExceptionAddressesDialog(CAppData& app, QWidget* parent = nullptr);

    bool IsOpen() const { return opened_; }
    QStringList Addresses() const;
    void AddAddress();
    void accept() override;

private:
    CAppData& app_;
    QLineEdit* address_;
    QListWidget* list_;
    QStringList stored_;
    bool opened_ = false;
};

} // namespace vantor
