#pragma once
// "Vib Point Setup" and the lubrication point's setup: every field of the point, checked and
// stored through the catalogue editor when OK is pressed. A refusal shows its message and leaves
// the dialog open with the values entered.

#include "analysis/DisplayUnits.h"
#include "app/CatalogueEditor.h"

#include <QDialog>

class QLineEdit;

namespace vantor {

class AlarmFields;
class NameFields;
class PointAlarmsTab;
class PointBearingsSection;
class SeverityStandardSection;

class CVibPointSetupDialog : public QDialog {
    Q_OBJECT
public:
    // A new point has an empty sItemGUID and its machine in sParentGUID; it goes just before the
    // point `before`, or last. Alarm levels are shown in the velocity unit of `units`.
    CVibPointSetupDialog(CatalogueEditor& editor, Prompter& prompter, const CVib& vib,
                         const DisplayUnits& units, const QString& before = {}, QWidget* parent = nullptr);

    // The stored point's GUID once OK has stored it.
    QString SavedGuid() const { return saved_; }
    // The section of the bearings the point watches.
    PointBearingsSection& Bearings() const { return *bearings_; }
    // The section of the standard that judges the point's severity.
    SeverityStandardSection& Severity() const { return *severity_; }
    // The Alarms tab: baseline, change and band alarms and the envelope band.
    PointAlarmsTab& Alarms() const { return *alarms_; }
    // The limits of an ISO machine group into the ISO fields (group 1..4, foundation 0..1); any
    // other choice leaves them as they were.
    void ProposeIsoLimits(int group, int foundation);

    void accept() override;

private:
    void HzEdited(const QString& text);
    void RpmEdited(const QString& text);
    void ChooseIsoLimits();

    CatalogueEditor& editor_;
    Prompter& prompter_;
    CVib vib_;
    DisplayUnits units_;
    QString before_;
    NameFields* names_;
    QString shownHz_; // the stored speed as the field first shows it
    QLineEdit* hz_;
    QLineEdit* rpm_;
    QLineEdit* lastSpeedEdit_;
    AlarmFields* iso_;
    AlarmFields* bearing_;
    PointBearingsSection* bearings_;
    SeverityStandardSection* severity_;
    PointAlarmsTab* alarms_;
    QString saved_;
};

class CLubePointSetupDialog : public QDialog {
    Q_OBJECT
public:
    CLubePointSetupDialog(CatalogueEditor& editor, Prompter& prompter, const CLube& lube,
                          const QString& before = {}, QWidget* parent = nullptr);

    QString SavedGuid() const { return saved_; }
    void accept() override;

private:
    CatalogueEditor& editor_;
    Prompter& prompter_;
    CLube lube_;
    QString before_;
    NameFields* names_;
    QLineEdit* type_;
    QLineEdit* units_;
    AlarmFields* bearing_;
    QString saved_;
};

} // namespace vantor
