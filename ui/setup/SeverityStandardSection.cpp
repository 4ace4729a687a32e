#include "ui/setup/SeverityStandardSection.h"

#include "app/CatalogueEditor.h"
#include "app/SeverityStandards.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>

namespace vantor {

SeverityStandardSection::SeverityStandardSection(CatalogueEditor& editor, Prompter& prompter,
                                                 const CVib& point, std::function<void(float, float)> propose,
                                                 QWidget* parent)
    : QGroupBox(UiText(text::added::SeverityStandardLabel), parent), editor_(editor), prompter_(prompter),
      point_(point), propose_(std::move(propose)),
      loaded_(LoadSeverityStandard(editor.Database(), prompter, point.sItemGUID).value_or(PointStandard{})),
      standard_(new QComboBox(this)), group_(new QComboBox(this)), support_(new QComboBox(this)),
      suggest_(new QPushButton(UiText(text::added::SuggestLevels), this)) {
    setObjectName(QStringLiteral("SeverityStandard"));
    standard_->setObjectName(QStringLiteral("SeverityStandardChoice"));
    group_->setObjectName(QStringLiteral("SeverityGroup"));
    support_->setObjectName(QStringLiteral("SeveritySupport"));
    suggest_->setObjectName(QStringLiteral("SuggestLevels"));
    standard_->addItem(UiText(text::added::DocumentedIsoAlarm));
    standard_->addItem(SeverityStandardCaption(SeverityStandard::Iso20816_3));
    group_->addItem(UiText(text::added::GroupLarge), 1);
    group_->addItem(UiText(text::added::GroupMedium), 2);
    support_->addItem(UiText(text::added::RigidSupport));
    support_->addItem(UiText(text::added::FlexibleSupport));
    auto* form = new QFormLayout(this);
    form->addRow(standard_);
    form->addRow(UiText(text::added::MachineGroup), group_);
    form->addRow(UiText(text::added::SupportLabel), support_);
    form->addRow(suggest_);
    Choose(loaded_);
    connect(standard_, &QComboBox::currentIndexChanged, this, [this] { Follow(); });
    connect(suggest_, &QPushButton::clicked, this, [this] { Suggest(); });
}

PointStandard SeverityStandardSection::Chosen() const {
    PointStandard standard;
    if (standard_->currentIndex() == 1) {
        standard.standard = SeverityStandard::Iso20816_3;
        standard.group = group_->currentData().toInt();
        standard.support = support_->currentIndex() == 1 ? Support::Flexible : Support::Rigid;
    }
    return standard;
}

void SeverityStandardSection::Choose(const PointStandard& standard) {
    const bool zoned = standard.standard == SeverityStandard::Iso20816_3;
    standard_->setCurrentIndex(zoned ? 1 : 0);
    group_->setCurrentIndex(zoned && standard.group == 1 ? 0 : 1);
    support_->setCurrentIndex(zoned && standard.support == Support::Flexible ? 1 : 0);
    Follow();
}

void SeverityStandardSection::Follow() {
    const bool zoned = standard_->currentIndex() == 1;
    group_->setEnabled(zoned);
    support_->setEnabled(zoned);
    suggest_->setEnabled(zoned);
}

void SeverityStandardSection::Suggest() {
    const PointStandard chosen = Chosen();
    const std::optional<AlarmSuggestion> s =
        SuggestSeverityLevels(editor_.Database(), prompter_, point_, chosen.group, chosen.support);
    if (!s) {
        return;
    }
    const QString question =
        UiText(text::added::SuggestedLevels)
            .arg(QString::number(s->baselineMms, 'f', 2))
            .arg(s->readings)
            .arg(QString::number(s->alarmMms, 'f', 2), QString::number(s->tripMms, 'f', 2));
    if (prompter_.AskYesNo(question) && propose_) {
        propose_(static_cast<float>(s->alarmMms), static_cast<float>(s->tripMms));
    }
}

} // namespace vantor
