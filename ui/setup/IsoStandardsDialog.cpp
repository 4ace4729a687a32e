#include "ui/setup/IsoStandardsDialog.h"

#include "analysis/AlarmStatus.h"
#include "texts/UiText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace vantor {
namespace {

// The chooser's caption of each machine group, as the standard words it.
constexpr std::array<const char*, 4> kGroupCaptions = {
    "Group 1: large machines, 300 kW < P < 50 MW; motors 315 mm \u2264 H",
    "Group 2: medium sized machines, 15 kW < P \u2264 300 kW; motors 160 mm \u2264 H < 315 mm",
    "Group 3: pumps > 15 kW, radial, axial, mixed flow, external driver",
    "Group 4: pumps > 15 kW, radial, axial, mixed flow, integrated driver"};
constexpr std::array<const char*, 2> kFoundations = {"Rigid", "Flexible"};
constexpr int kShownDigits = 3; // 4.5 mm/s, 0.177 inch/s

QString Shown(float value) {
    return QLocale().toString(static_cast<double>(value), 'g', kShownDigits);
}

} // namespace

CIsoLimitsDialog::CIsoLimitsDialog(const QString& velocityUnit, float amplitudeFactor, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("ISO 10816-3:1998(E)"));
    auto* grid = new QGridLayout;
    for (int group = 1; group <= 4; ++group) {
        auto* caption = new QLabel(QString::fromUtf8(kGroupCaptions[group - 1]), this);
        caption->setWordWrap(true);
        grid->addWidget(caption, group - 1, 0);
        for (int foundation = 0; foundation <= 1; ++foundation) {
            const std::optional<IsoLimits> limits = IsoLimitsForGroup(group, foundation);
            auto* button = new QPushButton(this);
            button->setObjectName(QStringLiteral("Group%1%2").arg(group).arg(kFoundations[foundation]));
            button->setText(QStringLiteral("%1\n%2 / %3 %4")
                                .arg(QLatin1String(kFoundations[foundation]),
                                     Shown(limits->warningMms * amplitudeFactor),
                                     Shown(limits->criticalMms * amplitudeFactor), velocityUnit));
            connect(button, &QPushButton::clicked, this,
                    [this, group, foundation] { Choose(group, foundation); });
            grid->addWidget(button, group - 1, 1 + foundation);
        }
    }
    grid->setColumnStretch(0, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(UiText(text::Cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(UiText(text::IsoStandards), this));
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(620, sizeHint().height());
}

void CIsoLimitsDialog::Choose(int group, int foundation) {
    group_ = group;
    foundation_ = foundation;
    accept();
}

} // namespace vantor
