#include "ui/setup/PointSetupDialogs.h"

#include "analysis/AlarmStatus.h"
#include "app/SeverityStandards.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/DialogButtons.h"
#include "ui/setup/EditorFields.h"
#include "ui/setup/IsoStandardsDialog.h"
#include "ui/setup/PointAlarmsTab.h"
#include "ui/setup/PointBearingsSection.h"
#include "ui/setup/SeverityStandardSection.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor {
namespace {

// Bearing damage levels are never converted.
const QString kBduUnit = QStringLiteral("BDU");
constexpr float kNoConversion = 1.0f;

} // namespace

CVibPointSetupDialog::CVibPointSetupDialog(CatalogueEditor& editor, Prompter& prompter, const CVib& vib,
                                           const DisplayUnits& units, const QString& before, QWidget* parent)
    : QDialog(parent), editor_(editor), prompter_(prompter), vib_(vib), units_(units), before_(before),
      shownHz_(FormatShown(static_cast<double>(vib.fRunSpeedHz), kHzDecimals)),
      hz_(new QLineEdit(shownHz_, this)),
      rpm_(new QLineEdit(FormatShown(static_cast<double>(vib.fRunSpeedHz * kPerMinuteFactor), kRpmDecimals),
                         this)),
      lastSpeedEdit_(hz_), iso_(new AlarmFields(UiText(text::IsoAlarms), QStringLiteral("Iso"),
                                                units.VelocityLabel(), units.AmplitudeFactor(), this)),
      bearing_(
          new AlarmFields(UiText(text::BearingAlarms), QStringLiteral("Bdu"), kBduUnit, kNoConversion, this)),
      bearings_(new PointBearingsSection(editor, prompter, vib.sItemGUID, this)),
      severity_(new SeverityStandardSection(
          editor, prompter, vib,
          [this](float alarm, float trip) {
              // The accepted ALARM and TRIP become the ISO levels, with the ISO alarms on.
              iso_->Propose(alarm, trip);
              if (auto* on = iso_->findChild<QCheckBox*>(QStringLiteral("IsoAlarms")); on != nullptr) {
                  on->setChecked(true);
              }
          },
          this)),
      alarms_(new PointAlarmsTab(editor, prompter, vib, this)) {
    setWindowTitle(UiText(text::VibPointSetupTitle));
    auto* form = new QFormLayout;
    names_ = new NameFields(form, vib.sName, vib.sVMName, vib.sItemGUID.isEmpty());

    hz_->setObjectName(QStringLiteral("RunSpeedHz"));
    rpm_->setObjectName(QStringLiteral("RunSpeedRpm"));
    auto* speed = new QHBoxLayout;
    speed->addWidget(hz_, 1);
    speed->addWidget(new QLabel(UiText(text::UnitHz), this));
    speed->addWidget(rpm_, 1);
    speed->addWidget(new QLabel(UiText(text::UnitRpm), this));
    form->addRow(UiText(text::RunSpeedLabel), speed);
    auto* tip = new QLabel(UiText(text::RunSpeedTip), this);
    tip->setWordWrap(true);
    form->addRow(tip);
    connect(hz_, &QLineEdit::textEdited, this, &CVibPointSetupDialog::HzEdited);
    connect(rpm_, &QLineEdit::textEdited, this, &CVibPointSetupDialog::RpmEdited);

    iso_->Load(vib.bISOAlarmsOn, vib.fISOWarningMMS, vib.fISOCriticalMMS);
    bearing_->Load(vib.bBDUAlarmsOn, vib.fBDUWarning, vib.fBDUCritical);
    auto* isoButton = new QPushButton(UiText(text::IsoStandards) + QStringLiteral("..."), this);
    isoButton->setObjectName(QStringLiteral("IsoStandardsButton"));
    connect(isoButton, &QPushButton::clicked, this, &CVibPointSetupDialog::ChooseIsoLimits);
    auto* isoColumn = new QVBoxLayout;
    isoColumn->addWidget(iso_);
    isoColumn->addWidget(isoButton);
    isoColumn->addWidget(severity_);
    auto* alarms = new QHBoxLayout;
    alarms->addLayout(isoColumn);
    auto* bearingColumn = new QVBoxLayout;
    bearingColumn->addWidget(bearing_);
    bearingColumn->addStretch();
    alarms->addLayout(bearingColumn);

    // The point's documented fields stay together on the first tab; the alarms beside the documented
    // levels have a tab of their own.
    auto* pointPage = new QWidget(this);
    auto* pointLayout = new QVBoxLayout(pointPage);
    pointLayout->addLayout(form);
    pointLayout->addLayout(alarms);
    pointLayout->addWidget(bearings_);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PointSetupTabs"));
    tabs->addTab(pointPage, UiText(text::added::PointTab));
    tabs->addTab(alarms_, UiText(text::added::AlarmsTab));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(MakeOkCancelButtons(this));
    // Wide enough for the Alarms tab's two columns, and within a 1024 x 768 screen: the tab's tables
    // take the height left and scroll.
    constexpr int kOpeningWidth = 820;
    constexpr int kTallestOpening = 700;
    resize(kOpeningWidth, std::min(sizeHint().height(), kTallestOpening));
    names_->NameEdit()->setFocus(Qt::OtherFocusReason);
}

void CVibPointSetupDialog::HzEdited(const QString& text) {
    lastSpeedEdit_ = hz_;
    if (IsIncompleteEntry(text)) {
        return; // converted once the entry is complete
    }
    if (const std::optional<double> hz = ParseEntry(text)) {
        rpm_->setText(FormatShown(*hz * static_cast<double>(kPerMinuteFactor), kRpmDecimals));
    }
}

void CVibPointSetupDialog::RpmEdited(const QString& text) {
    lastSpeedEdit_ = rpm_;
    if (IsIncompleteEntry(text)) {
        return;
    }
    if (const std::optional<double> rpm = ParseEntry(text)) {
        hz_->setText(FormatShown(*rpm / static_cast<double>(kPerMinuteFactor), kHzDecimals));
    }
}

void CVibPointSetupDialog::ProposeIsoLimits(int group, int foundation) {
    if (const std::optional<IsoLimits> limits = IsoLimitsForGroup(group, foundation)) {
        iso_->Propose(limits->warningMms, limits->criticalMms);
    }
}

void CVibPointSetupDialog::ChooseIsoLimits() {
    CIsoLimitsDialog chooser(units_.VelocityLabel(), units_.AmplitudeFactor(), this);
    if (chooser.exec() == QDialog::Accepted) {
        ProposeIsoLimits(chooser.Group(), chooser.Foundation());
    }
}

void CVibPointSetupDialog::accept() {
    CVib vib = vib_;
    vib.sName = names_->Name();
    vib.sVMName = names_->MeterName();
    // The speed field typed last decides; the other may still wait for a complete entry.
    const std::optional<double> speed = ParseEntry(lastSpeedEdit_->text());
    if (!speed || !iso_->Read(vib.bISOAlarmsOn, vib.fISOWarningMMS, vib.fISOCriticalMMS) ||
        !bearing_->Read(vib.bBDUAlarmsOn, vib.fBDUWarning, vib.fBDUCritical)) {
        prompter_.ShowMessage(UiText(text::PleaseInputNumber));
        return;
    }
    const double hz = lastSpeedEdit_ == rpm_ ? *speed / kPerMinuteFactor : *speed;
    // A speed left as shown keeps its stored value exactly (the field shows it rounded).
    vib.fRunSpeedHz =
        lastSpeedEdit_ == hz_ && hz_->text() == shownHz_ ? vib_.fRunSpeedHz : static_cast<float>(hz);
    // The bearings are checked before anything is stored, and stored with the point.
    if (const std::optional<QString> refused = bearings_->Check()) {
        prompter_.ShowMessage(*refused);
        return;
    }
    // The alarms are checked before anything is stored, and stored once the point is.
    if (const std::optional<QString> refused = alarms_->Check(vib)) {
        prompter_.ShowMessage(*refused);
        return;
    }
    // The point and its changed bearings are stored together or not at all.
    const std::optional<QString> guid =
        bearings_->Changed() ? editor_.SaveVibWithBearings(vib, bearings_->Assignments(), before_)
                             : editor_.SaveVib(vib, before_);
    if (guid) {
        saved_ = *guid;
        bearings_->MarkStored();
        // The standard goes with the stored point (a new one has its GUID only now); a failure keeps
        // the dialog open with its message.
        if (severity_->Changed()) {
            if (!SaveSeverityStandard(editor_.Database(), prompter_, saved_, severity_->Chosen())) {
                return;
            }
            severity_->MarkStored();
        }
        CVib stored = vib;
        stored.sItemGUID = saved_;
        if (!alarms_->Store(stored)) {
            return;
        }
        QDialog::accept();
    }
}

CLubePointSetupDialog::CLubePointSetupDialog(CatalogueEditor& editor, Prompter& prompter, const CLube& lube,
                                             const QString& before, QWidget* parent)
    : QDialog(parent), editor_(editor), prompter_(prompter), lube_(lube), before_(before),
      type_(new QLineEdit(lube.sLubeType, this)), units_(new QLineEdit(lube.sLubeUnits, this)),
      bearing_(new AlarmFields(UiText(text::BearingAlarms), QStringLiteral("Bdu"), kBduUnit, kNoConversion,
                               this)) {
    setWindowTitle(UiText(text::LubePoints));
    auto* form = new QFormLayout;
    names_ = new NameFields(form, lube.sName, lube.sVMName, lube.sItemGUID.isEmpty());
    type_->setObjectName(QStringLiteral("LubeType"));
    units_->setObjectName(QStringLiteral("LubeUnits"));
    form->addRow(UiText(text::added::LubeType), type_);
    form->addRow(UiText(text::added::LubeUnits), units_);
    bearing_->Load(lube.bBDUAlarmsOn, lube.fBDUWarning, lube.fBDUCritical);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(bearing_);
    layout->addWidget(MakeOkCancelButtons(this));
    resize(420, sizeHint().height());
    names_->NameEdit()->setFocus(Qt::OtherFocusReason);
}

void CLubePointSetupDialog::accept() {
    CLube lube = lube_;
    lube.sName = names_->Name();
    lube.sVMName = names_->MeterName();
    lube.sLubeType = type_->text();
    lube.sLubeUnits = units_->text();
    if (!bearing_->Read(lube.bBDUAlarmsOn, lube.fBDUWarning, lube.fBDUCritical)) {
        prompter_.ShowMessage(UiText(text::PleaseInputNumber));
        return;
    }
    if (const std::optional<QString> guid = editor_.SaveLube(lube, before_)) {
        saved_ = *guid;
        QDialog::accept();
    }
}

} // namespace vantor
