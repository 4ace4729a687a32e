#pragma once
// The display settings as menu commands with keyboard shortcuts: the frequency and amplitude units,
// the decimals of g, mm/s and inch/s, bold text, spectra as bars or lines, automatic fault detection,
// what the vibration view shows, the status table's words or values, and the scale lock. Every
// change goes into the settings record and is stored at once, then Changed() asks the window to
// redraw every view.

#include "ui/common/Mnemonics.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace vantor {

class CAppData;

// Codes of the "FFTLineOrBar" setting (the spectrum views draw 0 as lines, anything else as bars).
inline constexpr int kFftAsLines = 0;
inline constexpr int kFftAsBars = 1;
// Codes of the "VibDisplayOption" setting: what a vibration point's view shows.
inline constexpr int kVibDisplayTrend = 0;
inline constexpr int kVibDisplayFft = 1;
inline constexpr int kVibDisplayBoth = 2;
// The decimals a menu offers for each unit; a stored value beyond them reads as the highest.
inline constexpr int kMostDecimals = 5;

class DisplayCommands : public QObject {
    Q_OBJECT
public:
    // The shortcut commands are added to `window`, so their keys work wherever its focus is.
    DisplayCommands(CAppData& app, QWidget* window);

    // Adds the display submenus (Units, FFT Display, Machine Status, Vib Display, Scale Lock).
    void AddMenusTo(QMenu* menu);
    // Re-reads every caption from the UI text table.
    void RefreshTexts();
    // The same, marking the entries that sit in the Set-up menu among that menu's other items.
    void RefreshTexts(MnemonicSet& setupMenu);

    // The commands.
    void SetFrequencyUnit(int xAxisUnits);
    void ToggleFrequencyUnit(); // Hz → RPM → CPM → Hz
    void SetAmplitudeUnit(int yAxisUnits);
    void ToggleAmplitudeUnit();
    enum class DecimalsOf { G, Mms, InchS };
    void SetDecimals(DecimalsOf unit, int decimals);
    void SetBold(bool on);
    void ToggleBold();
    void SetFftLineOrBar(int code);
    void ToggleFftLineOrBar();
    void SetVarovud(bool on);
    void SetVibDisplay(int code);
    void CycleVibDisplay(); // Trend → FFT → Both → Trend
    void SetStatusValues(bool on);
    void SetScaleLock(bool on);
    void ToggleScaleLock();
    bool ScaleLocked() const { return scaleLock_; }

    // The keyboard shortcuts with what they do, in the order the Shortcuts dialog lists them.
    struct Shortcut {
        QKeySequence keys;
        QString action;
    };
    std::vector<Shortcut> Shortcuts() const;
    // The key of the window's Help command (the Shortcuts dialog).
    static QKeySequence HelpKey();

    QAction* BoldAction() const { return bold_; }
    QAction* ScaleLockAction() const { return scaleLockAction_; }
    QAction* StatusValuesAction() const { return statusValues_; }

signals:
    // A display setting changed and was stored: every view redraws.
    void Changed();
    void ScaleLockChanged(bool locked);

private:
    void Store();
    // Puts the check marks where the settings are.
    void UpdateChecks();
    // `count` radio items in the menu, item i standing for code i.
    QActionGroup* RadioGroup(QMenu* menu, int count, const std::function<void(int)>& choose);

    CAppData& app_;
    QWidget* window_;
    bool scaleLock_ = false;
    QMenu* units_ = nullptr;
    QMenu* xAxis_ = nullptr;
    QMenu* yAxis_ = nullptr;
    QMenu* decimals_ = nullptr;
    QMenu* decimalsG_ = nullptr;
    QMenu* decimalsMms_ = nullptr;
    QMenu* decimalsInchS_ = nullptr;
    QMenu* fftDisplay_ = nullptr;
    QMenu* varovud_ = nullptr;
    QMenu* machineStatus_ = nullptr;
    QMenu* vibDisplay_ = nullptr;
    QActionGroup* xGroup_ = nullptr;
    QActionGroup* yGroup_ = nullptr;
    QActionGroup* gGroup_ = nullptr;
    QActionGroup* mmsGroup_ = nullptr;
    QActionGroup* inchGroup_ = nullptr;
    QActionGroup* fftGroup_ = nullptr;
    QActionGroup* varovudGroup_ = nullptr;
    QActionGroup* vibDisplayGroup_ = nullptr;
    QAction* bold_ = nullptr;
    QAction* statusValues_ = nullptr;
    QAction* scaleLockAction_ = nullptr;
    // Shortcut commands without a menu entry of their own (toggles of a radio choice).
    QAction* toggleX_ = nullptr;
    QAction* toggleY_ = nullptr;
    QAction* toggleFft_ = nullptr;
    QAction* cycleVibDisplay_ = nullptr;
};

} // namespace vantor
