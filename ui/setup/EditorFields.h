#pragma once
// The fields the catalogue editors share: numbers typed in the user's locale, the name pair with
// "Same as Name", and an alarm pair (switch, warning, critical) shown in a display unit.

#include <QGroupBox>
#include <QString>
#include <QStringList>

#include <optional>

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QListWidget;

namespace vantor {

class Prompter;

// A number as typed: the user's locale first, then the plain form with '.'. Nothing for text that
// is not (yet) a number; an empty entry is 0.
std::optional<double> ParseEntry(const QString& text);
// True while an entry is still being typed: it ends with a decimal point or is only a sign.
bool IsIncompleteEntry(const QString& text);
// The shortest text that reads back as the same single-precision value.
QString FormatEntry(float value);
// A value as its field shows it: rounded to `decimals`, trailing zeros dropped ("24.667", "1480").
QString FormatShown(double value, int decimals);
// The decimals a field shows: run speed in Hz and alarm levels 3, run speed in RPM 1.
inline constexpr int kHzDecimals = 3;
inline constexpr int kRpmDecimals = 1;
inline constexpr int kLevelDecimals = 3;

// The texts of a list's rows, in order.
QStringList ListedTexts(const QListWidget& list);

// Adds the address typed in `entry` to `list`: an empty entry or one already listed (in any case)
// is cleared; a full list or an invalid address is refused with its message. True when added.
bool AddTypedAddress(QListWidget& list, QLineEdit& entry, Prompter& prompter);

// Name and meter name. With "Same as Name" ticked the meter name follows the name (as much of it as
// the meter takes) and cannot be edited; it starts ticked for a new row and for one whose two names
// are equal. Both fields stop at their longest length and refuse the characters no name may hold
// while the user types. The dialogs give the name field the focus when they open.
class NameFields : public QObject {
    Q_OBJECT
public:
    NameFields(QFormLayout* form, const QString& name, const QString& meterName, bool isNew);

    QString Name() const;
    QString MeterName() const;
    QLineEdit* NameEdit() const { return name_; }
    QLineEdit* MeterNameEdit() const { return meterName_; }

private:
    void Follow();

    QLineEdit* name_;
    QLineEdit* meterName_;
    QCheckBox* sameAsName_;
};

// An alarm pair: stored in `storedUnit`, shown multiplied by `factor`. A level whose text the user
// left as shown keeps its stored value exactly.
class AlarmFields : public QGroupBox {
    Q_OBJECT
public:
    AlarmFields(const QString& title, const QString& objectPrefix, const QString& unitLabel, float factor,
                QWidget* parent = nullptr);

    void Load(bool on, float warning, float critical);
    // Shows proposed levels (stored units); left as shown, they are taken exactly.
    void Propose(float warning, float critical);
    // The entered values; false (with the values untouched) when a level is not a number.
    bool Read(bool& on, float& warning, float& critical) const;
    QLineEdit* Warning() const { return warning_; }
    QLineEdit* Critical() const { return critical_; }

private:
    bool ReadLevel(const QLineEdit* edit, const QString& shown, float stored, float& out) const;

    float factor_;
    QCheckBox* enabled_;
    QLineEdit* warning_;
    QLineEdit* critical_;
    QString shownWarning_;
    QString shownCritical_;
    float storedWarning_ = 0;
    float storedCritical_ = 0;
};

} // namespace vantor
