#include "ui/window/DisplayCommands.h"

#include "analysis/DisplayUnits.h"
#include "app/CAppData.h"
#include "app/TypedSettings.h"
#include "ui/common/MainWindowTexts.h"
#include "ui/common/Mnemonics.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace vantor {
namespace {

namespace tw = text::window;

void Check(QActionGroup* group, int code) {
    const QList<QAction*> items = group->actions();
    const int clamped = std::clamp(code, 0, static_cast<int>(items.size()) - 1);
    items.at(clamped)->setChecked(true);
}

void SetTexts(QActionGroup* group, const QStringList& texts, MnemonicSet marks = {}) {
    const QList<QAction*> items = group->actions();
    for (int i = 0; i < items.size() && i < texts.size(); ++i) {
        items.at(i)->setText(marks.Mark(texts.at(i)));
    }
}

QString ToggleText(int action) {
    return QStringLiteral("%1 %2").arg(UiText(tw::Toggle), UiText(action));
}

} // namespace

DisplayCommands::DisplayCommands(CAppData& app, QWidget* window)
    : QObject(window), app_(app), window_(window) {
    const auto shortcut = [this](QAction* action, Qt::Key key) {
        action->setShortcut(QKeySequence(key));
        action->setShortcutContext(Qt::WindowShortcut);
        window_->addAction(action);
    };
    bold_ = new QAction(this);
    bold_->setCheckable(true);
    connect(bold_, &QAction::triggered, this, [this](bool on) { SetBold(on); });
    shortcut(bold_, Qt::Key_F2);
    toggleX_ = new QAction(this);
    connect(toggleX_, &QAction::triggered, this, &DisplayCommands::ToggleFrequencyUnit);
    shortcut(toggleX_, Qt::Key_F3);
    toggleY_ = new QAction(this);
    connect(toggleY_, &QAction::triggered, this, &DisplayCommands::ToggleAmplitudeUnit);
    shortcut(toggleY_, Qt::Key_F4);
    toggleFft_ = new QAction(this);
    connect(toggleFft_, &QAction::triggered, this, &DisplayCommands::ToggleFftLineOrBar);
    shortcut(toggleFft_, Qt::Key_F5);
    cycleVibDisplay_ = new QAction(this);
    connect(cycleVibDisplay_, &QAction::triggered, this, &DisplayCommands::CycleVibDisplay);
    shortcut(cycleVibDisplay_, Qt::Key_F6);
    scaleLockAction_ = new QAction(this);
    scaleLockAction_->setCheckable(true);
    connect(scaleLockAction_, &QAction::triggered, this, [this](bool on) { SetScaleLock(on); });
    shortcut(scaleLockAction_, Qt::Key_F7);
    statusValues_ = new QAction(this);
    statusValues_->setCheckable(true);
    connect(statusValues_, &QAction::triggered, this, [this](bool on) { SetStatusValues(on); });
}

QKeySequence DisplayCommands::HelpKey() {
    return QKeySequence(Qt::Key_F1);
}

QActionGroup* DisplayCommands::RadioGroup(QMenu* menu, int count, const std::function<void(int)>& choose) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (int code = 0; code < count; ++code) {
        QAction* item = menu->addAction(QString());
        item->setCheckable(true);
        item->setData(code);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [choose, code] { choose(code); });
    }
    return group;
}

void DisplayCommands::AddMenusTo(QMenu* menu) {
    units_ = menu->addMenu(QString());
    xAxis_ = units_->addMenu(QString());
    xGroup_ = RadioGroup(xAxis_, 3, [this](int code) { SetFrequencyUnit(code); });
    yAxis_ = units_->addMenu(QString());
    yGroup_ = RadioGroup(yAxis_, 2, [this](int code) { SetAmplitudeUnit(code); });
    decimals_ = units_->addMenu(QString());
    decimalsG_ = decimals_->addMenu(QString());
    gGroup_ = RadioGroup(decimalsG_, kMostDecimals + 1, [this](int n) { SetDecimals(DecimalsOf::G, n); });
    decimalsMms_ = decimals_->addMenu(QString());
    mmsGroup_ =
        RadioGroup(decimalsMms_, kMostDecimals + 1, [this](int n) { SetDecimals(DecimalsOf::Mms, n); });
    decimalsInchS_ = decimals_->addMenu(QString());
    inchGroup_ =
        RadioGroup(decimalsInchS_, kMostDecimals + 1, [this](int n) { SetDecimals(DecimalsOf::InchS, n); });

    fftDisplay_ = menu->addMenu(QString());
    fftGroup_ = RadioGroup(fftDisplay_, 2, [this](int code) { SetFftLineOrBar(code); });
    varovud_ = fftDisplay_->addMenu(QString());
    varovudGroup_ = RadioGroup(varovud_, 2, [this](int code) { SetVarovud(code == 1); });

    vibDisplay_ = menu->addMenu(QString());
    vibDisplayGroup_ = RadioGroup(vibDisplay_, 3, [this](int code) { SetVibDisplay(code); });

    machineStatus_ = menu->addMenu(QString());
    machineStatus_->addAction(statusValues_);
    machineStatus_->addAction(bold_);
    menu->addAction(scaleLockAction_);
    RefreshTexts();
}

void DisplayCommands::RefreshTexts() {
    MnemonicSet setupMenu;
    RefreshTexts(setupMenu);
}

void DisplayCommands::RefreshTexts(MnemonicSet& setupMenu) {
    // Every menu's items carry their own mnemonics; the submenus and Scale Lock share the Set-up menu's.
    MnemonicSet status;
    bold_->setText(status.Mark(UiText(tw::BoldOnOff)));
    scaleLockAction_->setText(setupMenu.Mark(UiText(tw::ScaleLock)));
    statusValues_->setText(status.Mark(UiText(text::StatusAsValues)));
    toggleX_->setText(ToggleText(tw::XAxisUnits));
    toggleY_->setText(ToggleText(tw::YAxisUnits));
    toggleFft_->setText(ToggleText(tw::FftBarLine));
    cycleVibDisplay_->setText(ToggleText(tw::VibDisplay));
    if (units_ != nullptr) {
        units_->setTitle(setupMenu.Mark(UiText(tw::Units)));
        MnemonicSet axes;
        xAxis_->setTitle(axes.Mark(UiText(tw::XAxis)));
        SetTexts(xGroup_, {UiText(text::UnitHz), UiText(text::UnitRpm), UiText(text::UnitCpm)});
        yAxis_->setTitle(axes.Mark(UiText(tw::YAxis)));
        SetTexts(yGroup_,
                 {QStringLiteral("%1, %2").arg(UiText(text::UnitMmPerSecond), UiText(text::UnitMicrometre)),
                  QStringLiteral("%1, %2").arg(UiText(text::UnitInchPerSecond), UiText(text::UnitThou))});
        decimals_->setTitle(setupMenu.Mark(UiText(tw::DecimalPlaces)));
        MnemonicSet units;
        decimalsG_->setTitle(units.Mark(QStringLiteral("g")));
        decimalsMms_->setTitle(units.Mark(UiText(text::UnitMmPerSecond)));
        decimalsInchS_->setTitle(units.Mark(UiText(text::UnitInchPerSecond)));
        QStringList counts;
        for (int n = 0; n <= kMostDecimals; ++n) {
            counts << QString::number(n);
        }
        for (QActionGroup* group : {gGroup_, mmsGroup_, inchGroup_}) {
            SetTexts(group, counts);
        }
        fftDisplay_->setTitle(setupMenu.Mark(UiText(tw::FftDisplay)));
        MnemonicSet fft;
        varovud_->setTitle(fft.Mark(UiText(tw::VarovudOvo)));
        SetTexts(fftGroup_, {UiText(tw::Line), UiText(tw::Bar)}, fft); // in code order
        SetTexts(varovudGroup_, {UiText(tw::Off), UiText(tw::On)});
        // The name alone does not say what it does: the menu entry and its choices explain it.
        const QString ovoHelp = UiText(text::added::VarovudOvoHelp);
        fftDisplay_->setToolTipsVisible(true);
        varovud_->setToolTipsVisible(true);
        varovud_->menuAction()->setToolTip(ovoHelp);
        varovud_->menuAction()->setStatusTip(ovoHelp);
        for (QAction* choice : varovudGroup_->actions()) {
            choice->setToolTip(ovoHelp);
            choice->setStatusTip(ovoHelp);
        }
        vibDisplay_->setTitle(setupMenu.Mark(UiText(tw::VibDisplay)));
        SetTexts(vibDisplayGroup_, {UiText(tw::Trend), UiText(tw::Fft), UiText(tw::Both)});
        machineStatus_->setTitle(setupMenu.Mark(UiText(tw::MachineStatus)));
    }
    UpdateChecks();
}

void DisplayCommands::UpdateChecks() {
    const CSettings& s = app_.settings;
    bold_->setChecked(BoldFontOn(s));
    statusValues_->setChecked(StatusValuesOn(s));
    scaleLockAction_->setChecked(scaleLock_);
    if (units_ == nullptr) {
        return;
    }
    const DisplayUnits units = DisplayUnitsOf(s);
    Check(xGroup_, units.XAxisUnits());
    Check(yGroup_, units.YAxisUnits());
    // Out-of-range decimals format as the most the formatter shows.
    const auto decimals = [](int stored) {
        return stored < 0 || stored > kMostDecimals ? kMostDecimals : stored;
    };
    Check(gGroup_, decimals(s.dpG));
    Check(mmsGroup_, decimals(s.dpMms));
    Check(inchGroup_, decimals(s.dpInchS));
    Check(fftGroup_, SpectrumStyleOf(s) == SpectrumStyle::Lines ? kFftAsLines : kFftAsBars);
    Check(varovudGroup_, ConsolidatePeaks(s) ? 1 : 0);
    Check(vibDisplayGroup_, static_cast<int>(VibDisplayOf(s)));
}

void DisplayCommands::Store() {
    CSettings& s = app_.settings;
    // The run-time unit fields follow the unit codes.
    RefreshUnitLabels(s);
    app_.WriteSettings();
    UpdateChecks();
    emit Changed();
}

void DisplayCommands::SetFrequencyUnit(int xAxisUnits) {
    SetFrequencyUnitCode(app_.settings, xAxisUnits);
    Store();
}

void DisplayCommands::ToggleFrequencyUnit() {
    DisplayUnits units = DisplayUnitsOf(app_.settings);
    units.ToggleFrequency();
    SetFrequencyUnit(units.XAxisUnits());
}

void DisplayCommands::SetAmplitudeUnit(int yAxisUnits) {
    SetAmplitudeUnitCode(app_.settings, yAxisUnits);
    Store();
}

void DisplayCommands::ToggleAmplitudeUnit() {
    DisplayUnits units = DisplayUnitsOf(app_.settings);
    units.ToggleAmplitude();
    SetAmplitudeUnit(units.YAxisUnits());
}

void DisplayCommands::SetDecimals(DecimalsOf unit, int decimals) {
    decimals = std::clamp(decimals, 0, kMostDecimals);
    CSettings& s = app_.settings;
    (unit == DecimalsOf::G ? s.dpG : unit == DecimalsOf::Mms ? s.dpMms : s.dpInchS) = decimals;
    Store();
}

void DisplayCommands::SetBold(bool on) {
    SetBoldFontOn(app_.settings, on);
    Store();
}

void DisplayCommands::ToggleBold() {
    SetBold(!BoldFontOn(app_.settings));
}

void DisplayCommands::SetFftLineOrBar(int code) {
    SetSpectrumStyle(app_.settings, code == kFftAsLines ? SpectrumStyle::Lines : SpectrumStyle::Bars);
    Store();
}

void DisplayCommands::ToggleFftLineOrBar() {
    SetFftLineOrBar(SpectrumStyleOf(app_.settings) == SpectrumStyle::Lines ? kFftAsBars : kFftAsLines);
}

void DisplayCommands::SetVarovud(bool on) {
    SetConsolidatePeaks(app_.settings, on);
    Store();
}

void DisplayCommands::SetVibDisplay(int code) {
    vantor::SetVibDisplay(app_.settings,
                          static_cast<VibDisplay>(std::clamp(code, kVibDisplayTrend, kVibDisplayBoth)));
    Store();
}

void DisplayCommands::CycleVibDisplay() {
    const int current = static_cast<int>(VibDisplayOf(app_.settings));
    SetVibDisplay(current == kVibDisplayBoth ? kVibDisplayTrend : current + 1);
}

void DisplayCommands::SetStatusValues(bool on) {
    SetStatusValuesOn(app_.settings, on);
    Store();
}

void DisplayCommands::SetScaleLock(bool on) {
    scaleLock_ = on;
    UpdateChecks();
    emit ScaleLockChanged(on);
    emit Changed();
}

void DisplayCommands::ToggleScaleLock() {
    SetScaleLock(!scaleLock_);
}

std::vector<DisplayCommands::Shortcut> DisplayCommands::Shortcuts() const {
    return {
        {HelpKey(), UiText(tw::HelpAction)},
        {bold_->shortcut(), ToggleText(tw::BoldOnOff)},
        {toggleX_->shortcut(), ToggleText(tw::XAxisUnits)},
        {toggleY_->shortcut(), ToggleText(tw::YAxisUnits)},
        {toggleFft_->shortcut(), ToggleText(tw::FftBarLine)},
        {cycleVibDisplay_->shortcut(), ToggleText(tw::VibDisplay)},
        {scaleLockAction_->shortcut(), ToggleText(tw::ScaleLock)},
    };
}

} // namespace vantor
