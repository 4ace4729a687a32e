#include "ui/setup/PointAlarmsTab.h"

#include "analysis/BandMarks.h"
#include "analysis/PointAlarms.h"
#include "analysis/ViewData.h"
#include "app/CatalogueEditor.h"
#include "app/PointAlarmSetup.h"
#include "graphviews/AlarmBandMarks.h"
#include "graphviews/GraphViews.h"
#include "platform/Prompter.h"
#include "texts/UiText.h"
#include "ui/common/AxisSetupDialog.h"
#include "ui/common/Log.h"
#include "ui/common/MeasureLabels.h"
#include "ui/setup/EditorFields.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vantor {
namespace {

// The band table's columns.
enum BandColumn {
    kSpectrumColumn,
    kFromColumn,
    kToColumn,
    kOrdersColumn,
    kJudgedColumn,
    kWarningColumn,
    kCriticalColumn,
    kBandColumns
};

constexpr int kMultipleDecimals = 2;
constexpr double kLargestMultiple = 1000.0;
constexpr int kMostBaselineReadings = 1000;
constexpr int kBandDecimals = 6;

bool SameSettings(const BaselineSettings& a, const BaselineSettings& b) {
    return a.measure == b.measure && a.baselineReadings == b.baselineReadings &&
           a.baselineFrom == b.baselineFrom && a.baselineTo == b.baselineTo &&
           a.sigmaWarning == b.sigmaWarning && a.sigmaCritical == b.sigmaCritical &&
           a.changeWarning == b.changeWarning && a.changeCritical == b.changeCritical;
}

bool SameBands(const std::vector<SpectralBand>& a, const std::vector<SpectralBand>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const SpectralBand& x, const SpectralBand& y) {
            return x.from == y.from && x.to == y.to && x.orders == y.orders && x.spectrum == y.spectrum &&
                   x.warning == y.warning && x.critical == y.critical && x.value == y.value;
        });
}

QDoubleSpinBox* MultipleBox(const QString& name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(kMultipleDecimals);
    box->setRange(0.01, kLargestMultiple);
    box->setSingleStep(0.5);
    return box;
}

QString Number(double value) {
    return FormatShown(value, kBandDecimals);
}

} // namespace

PointAlarmsTab::PointAlarmsTab(CatalogueEditor& editor, Prompter& prompter, const CVib& point,
                               QWidget* parent)
    : QWidget(parent), editor_(editor), prompter_(prompter), point_(point) {
    setObjectName(QStringLiteral("PointAlarms"));
    std::vector<SpectralBandRow> storedRows;
    if (!point.sItemGUID.isEmpty()) {
        try {
            PointAlarmSetupRows stored = LoadPointAlarmSetup(editor.Database(), point.sItemGUID);
            storedSettings_ = std::move(stored.settings);
            storedRows = std::move(stored.bands);
            storedEnvelope_ = stored.envelope;
            latest_ = std::move(stored.latest);
        } catch (const DatabaseError& error) {
            qCWarning(lcUi) << "the point's alarm settings could not be read:" << error.what();
            prompter.ShowMessage(UiText(text::ErrorLoadingRecord));
        }
    }
    settings_ = storedSettings_;

    auto* baselineBox = new QGroupBox(UiText(text::added::BaselineAlarmsGroup), this);
    BuildBaselineGroup(baselineBox);
    auto* bandsBox = new QGroupBox(UiText(text::added::SpectralBandsGroup), this);
    BuildBandsGroup(bandsBox);
    auto* envelopeBox = new QGroupBox(UiText(text::added::EnvelopeBandGroup), this);
    BuildEnvelopeGroup(envelopeBox);

    QStringList leftOut;
    for (const SpectralBandRow& row : storedRows) {
        if (const std::optional<SpectralBand> band = SpectralBandOf(row)) {
            storedBands_.push_back(*band);
            AddBand(*band);
        } else {
            leftOut << UiText(text::added::StoredBandLeftOut)
                           .arg(row.number)
                           .arg(SpectralBandRowRefusal(row).value_or(QString()));
        }
    }
    bandNotes_->setText(leftOut.join(QLatin1Char('\n')));
    bandNotes_->setVisible(!leftOut.isEmpty());

    // The baseline on the left, the preview of the bands and the envelope band on the right, and the
    // bands' table across the whole width below them, so that all its columns show.
    auto* right = new QVBoxLayout;
    right->addWidget(preview_, 1);
    right->addWidget(envelopeBox);
    auto* layout = new QGridLayout(this);
    layout->addWidget(baselineBox, 0, 0);
    layout->addLayout(right, 0, 1);
    layout->addWidget(bandsBox, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);

    loading_ = false;
    ShowMeasure();
    ShowPreview();
}

void PointAlarmsTab::BuildBaselineGroup(QWidget* box) {
    measure_ = new QComboBox(box);
    measure_->setObjectName(QStringLiteral("AlarmMeasure"));
    for (const AlarmMeasure& measure : AllAlarmMeasures()) {
        measure_->addItem(AlarmMeasureLabel(measure), AlarmMeasureName(measure));
    }
    alarmOn_ = new QCheckBox(UiText(text::added::AlarmOnMeasure), box);
    alarmOn_->setObjectName(QStringLiteral("AlarmOnMeasure"));
    baselineKind_ = new QComboBox(box);
    baselineKind_->setObjectName(QStringLiteral("BaselineKind"));
    baselineKind_->addItem(UiText(text::added::BaselineNone));
    baselineKind_->addItem(UiText(text::added::BaselineFirst));
    baselineKind_->addItem(UiText(text::added::BaselineRange));
    baselineCount_ = new QSpinBox(box);
    baselineCount_->setObjectName(QStringLiteral("BaselineCount"));
    baselineCount_->setRange(BaselineDefaults::kFewestReadings, kMostBaselineReadings);
    baselineFrom_ = new QDateTimeEdit(box);
    baselineFrom_->setObjectName(QStringLiteral("BaselineFrom"));
    baselineTo_ = new QDateTimeEdit(box);
    baselineTo_->setObjectName(QStringLiteral("BaselineTo"));
    for (QDateTimeEdit* edit : {baselineFrom_, baselineTo_}) {
        edit->setCalendarPopup(true);
        // Seconds shown: a reading taken within the minute of the range's end stays inside it.
        edit->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat) + QStringLiteral(" HH:mm:ss"));
    }
    sigmaWarning_ = MultipleBox(QStringLiteral("SigmaWarning"), box);
    sigmaCritical_ = MultipleBox(QStringLiteral("SigmaCritical"), box);
    changeWarning_ = MultipleBox(QStringLiteral("ChangeWarning"), box);
    changeCritical_ = MultipleBox(QStringLiteral("ChangeCritical"), box);

    auto* form = new QFormLayout;
    form->addRow(UiText(text::added::AlarmMeasure), measure_);
    form->addRow(alarmOn_);
    form->addRow(UiText(text::added::BaselineLabel), baselineKind_);
    form->addRow(UiText(text::added::BaselineCount), baselineCount_);
    auto* range = new QHBoxLayout;
    range->addWidget(baselineFrom_, 1);
    range->addWidget(new QLabel(QStringLiteral("–"), box));
    range->addWidget(baselineTo_, 1);
    form->addRow(UiText(text::added::BaselineRange), range);
    auto* sigma = new QHBoxLayout;
    sigma->addWidget(sigmaWarning_);
    sigma->addWidget(sigmaCritical_);
    form->addRow(UiText(text::added::SigmaLimits), sigma);
    auto* change = new QHBoxLayout;
    change->addWidget(changeWarning_);
    change->addWidget(changeCritical_);
    form->addRow(UiText(text::added::ChangeLimits), change);

    baselineReadings_ = new QTableWidget(0, 2, box);
    baselineReadings_->setObjectName(QStringLiteral("BaselineReadings"));
    baselineReadings_->setHorizontalHeaderLabels({UiText(text::DateTime), UiText(text::added::AlarmValue)});
    baselineReadings_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    baselineReadings_->verticalHeader()->hide();
    baselineReadings_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    baselineLine_ = new QLabel(box);
    baselineLine_->setObjectName(QStringLiteral("BaselineLine"));
    baselineLine_->setWordWrap(true);

    auto* layout = new QVBoxLayout(box);
    layout->addLayout(form);
    layout->addWidget(new QLabel(UiText(text::added::BaselineReadings), box));
    layout->addWidget(baselineReadings_, 1);
    layout->addWidget(baselineLine_);

    connect(measure_, &QComboBox::currentIndexChanged, this, [this] {
        TakeFields();
        ShowMeasure();
    });
    const auto edited = [this] {
        if (!loading_) {
            TakeFields();
            ShowMeasure();
        }
    };
    connect(alarmOn_, &QCheckBox::toggled, this, edited);
    connect(baselineKind_, &QComboBox::currentIndexChanged, this, edited);
    connect(baselineCount_, &QSpinBox::valueChanged, this, edited);
    connect(baselineFrom_, &QDateTimeEdit::dateTimeChanged, this, edited);
    connect(baselineTo_, &QDateTimeEdit::dateTimeChanged, this, edited);
    for (QDoubleSpinBox* multiple : {sigmaWarning_, sigmaCritical_, changeWarning_, changeCritical_}) {
        connect(multiple, &QDoubleSpinBox::valueChanged, this, edited);
    }
}

void PointAlarmsTab::BuildBandsGroup(QWidget* box) {
    bands_ = new QTableWidget(0, kBandColumns, box);
    bands_->setObjectName(QStringLiteral("SpectralBands"));
    bands_->setHorizontalHeaderLabels(
        {UiText(text::added::BandSpectrumColumn), UiText(text::added::BandFromColumn),
         UiText(text::added::BandToColumn), UiText(text::added::BandOrdersColumn),
         UiText(text::added::BandJudgedColumn), UiText(text::added::BandWarningColumn),
         UiText(text::added::BandCriticalColumn)});
    // The choices fit their contents; the numbers share the rest of the width.
    bands_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (const int column : {kFromColumn, kToColumn, kWarningColumn, kCriticalColumn}) {
        bands_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    }
    bands_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(bands_, &QTableWidget::itemChanged, this, [this] {
        if (!loading_) {
            BandsEdited();
        }
    });
    connect(bands_, &QTableWidget::currentCellChanged, this, [this] { ShowPreview(); });
    auto* add = new QPushButton(UiText(text::added::AddBand), box);
    add->setObjectName(QStringLiteral("AddBand"));
    connect(add, &QPushButton::clicked, this, [this] {
        if (AddBandRow(std::nullopt)) {
            BandsEdited();
            bands_->setCurrentCell(bands_->rowCount() - 1, kFromColumn);
        }
    });
    auto* remove = new QPushButton(UiText(text::added::RemoveBand), box);
    remove->setObjectName(QStringLiteral("RemoveBand"));
    connect(remove, &QPushButton::clicked, this, &PointAlarmsTab::RemoveBand);
    bandNotes_ = new QLabel(box);
    bandNotes_->setWordWrap(true);
    preview_ = new CVantorGraphCtrl(this);
    preview_->setObjectName(QStringLiteral("BandPreview"));
    preview_->resetToDefaults();
    constexpr int kPreviewHeight = 170;
    preview_->setMinimumHeight(kPreviewHeight);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(bands_, 1);
    layout->addWidget(bandNotes_);
    layout->addLayout(buttons);
}

void PointAlarmsTab::BuildEnvelopeGroup(QWidget* box) {
    ownEnvelope_ = new QCheckBox(UiText(text::added::OwnEnvelopeBand), box);
    ownEnvelope_->setObjectName(QStringLiteral("OwnEnvelopeBand"));
    envelopeLow_ = new QLineEdit(box);
    envelopeLow_->setObjectName(QStringLiteral("EnvelopeLowHz"));
    envelopeHigh_ = new QLineEdit(box);
    envelopeHigh_->setObjectName(QStringLiteral("EnvelopeHighHz"));
    if (storedEnvelope_) {
        ownEnvelope_->setChecked(true);
        envelopeLow_->setText(FormatEntry(static_cast<float>(storedEnvelope_->lowHz)));
        envelopeHigh_->setText(FormatEntry(static_cast<float>(storedEnvelope_->highHz)));
    }
    const auto follow = [this] {
        envelopeLow_->setEnabled(ownEnvelope_->isChecked());
        envelopeHigh_->setEnabled(ownEnvelope_->isChecked());
    };
    connect(ownEnvelope_, &QCheckBox::toggled, this, follow);
    follow();
    auto* layout = new QFormLayout(box);
    layout->addRow(ownEnvelope_);
    auto* edges = new QHBoxLayout;
    edges->addWidget(new QLabel(UiText(text::added::EnvelopeLowHz), box));
    edges->addWidget(envelopeLow_, 1);
    edges->addWidget(new QLabel(UiText(text::added::EnvelopeHighHz), box));
    edges->addWidget(envelopeHigh_, 1);
    layout->addRow(edges);
}

bool PointAlarmsTab::AddBand(const SpectralBand& band) {
    if (!AddBandRow(band)) {
        return false;
    }
    if (!loading_) {
        BandsEdited();
    }
    return true;
}

bool PointAlarmsTab::AddBandRow(const std::optional<SpectralBand>& shown) {
    // A new row starts blank on the ISO spectrum, judged on its largest line.
    const SpectralBand band = shown.value_or(SpectralBand{});
    if (bands_->rowCount() >= kMostSpectralBands) {
        return false;
    }
    const bool wasLoading = loading_;
    loading_ = true;
    const int row = bands_->rowCount();
    bands_->insertRow(row);
    auto* spectrum = new QComboBox(bands_);
    spectrum->addItem(UiText(text::added::BandSpectrumIso), static_cast<int>(BandSpectrum::Iso));
    spectrum->addItem(UiText(text::added::BandSpectrumTotal), static_cast<int>(BandSpectrum::Total));
    spectrum->addItem(UiText(text::added::BandSpectrumEnvelope), static_cast<int>(BandSpectrum::Envelope));
    spectrum->setCurrentIndex(spectrum->findData(static_cast<int>(band.spectrum)));
    bands_->setCellWidget(row, kSpectrumColumn, spectrum);
    auto* judged = new QComboBox(bands_);
    judged->addItem(UiText(text::added::BandLargestLine), static_cast<int>(BandValue::Peak));
    judged->addItem(UiText(text::added::BandRms), static_cast<int>(BandValue::Rms));
    judged->setCurrentIndex(band.value == BandValue::Rms ? 1 : 0);
    bands_->setCellWidget(row, kJudgedColumn, judged);
    for (QComboBox* box : {spectrum, judged}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] { BandsEdited(); });
    }
    const auto number = [&shown](double value) {
        return new QTableWidgetItem(shown ? Number(value) : QString());
    };
    bands_->setItem(row, kFromColumn, number(band.from));
    bands_->setItem(row, kToColumn, number(band.to));
    bands_->setItem(row, kWarningColumn, number(band.warning));
    bands_->setItem(row, kCriticalColumn, number(band.critical));
    auto* orders = new QTableWidgetItem;
    orders->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    orders->setCheckState(band.orders ? Qt::Checked : Qt::Unchecked);
    bands_->setItem(row, kOrdersColumn, orders);
    loading_ = wasLoading;
    return true;
}

void PointAlarmsTab::RemoveBand() {
    const int row = bands_->currentRow();
    if (row >= 0) {
        bands_->removeRow(row);
        BandsEdited();
    }
}

void PointAlarmsTab::BandsEdited() {
    bandsTouched_ = true;
    ShowPreview();
}

void PointAlarmsTab::ShowPreview() {
    if (loading_ || preview_ == nullptr) {
        return;
    }
    // The spectrum the current row watches: Total for a Total band, else ISO.
    BandSpectrum spectrum = BandSpectrum::Iso;
    if (const int row = bands_->currentRow(); row >= 0) {
        if (const auto* box = qobject_cast<QComboBox*>(bands_->cellWidget(row, kSpectrumColumn))) {
            if (static_cast<BandSpectrum>(box->currentData().toInt()) == BandSpectrum::Total) {
                spectrum = BandSpectrum::Total;
            }
        }
    }
    const MeasureKind kind =
        spectrum == BandSpectrum::Total ? MeasureKind::Acceleration : MeasureKind::IsoVelocity;
    const DisplayUnits units;
    const std::optional<SpectrumViewData> view =
        latest_ ? MakeSpectrumViewData(*latest_, kind, units, false) : std::nullopt;
    if (!view) {
        ShowSpectrumView(*preview_, SpectrumViewData{}, std::nullopt, QString());
        return;
    }
    ShowSpectrumView(*preview_, *view, std::nullopt, AlarmMeasureLabel(AlarmMeasure{kind, std::nullopt}));
    // The bands are drawn once every row is complete, on the span from 0 to twice the highest band
    // edge, so that a band of a few hertz on a 1000 Hz spectrum is seen.
    const std::vector<AlarmBandMark> marks = AlarmBandMarks(Bands(), spectrum, latest_->runSpeedHz, units);
    ShowAlarmBands(*preview_, marks);
    double top = 0;
    for (const AlarmBandMark& mark : marks) {
        top = std::max(top, mark.high);
    }
    if (top > 0) {
        SetGraphAxes(*preview_, FrequencyAxisRange(0, std::min(view->xAxis.maximum, 2 * top), false),
                     view->yAxis);
    }
}

std::optional<std::vector<SpectralBand>> PointAlarmsTab::ReadBands() const {
    std::vector<SpectralBand> bands;
    for (int row = 0; row < bands_->rowCount(); ++row) {
        const auto value = [&](int column) -> std::optional<double> {
            const QTableWidgetItem* item = bands_->item(row, column);
            const QString text = item != nullptr ? item->text().trimmed() : QString();
            return text.isEmpty() ? std::nullopt : ParseEntry(text);
        };
        const std::optional<double> from = value(kFromColumn);
        const std::optional<double> to = value(kToColumn);
        const std::optional<double> warning = value(kWarningColumn);
        const std::optional<double> critical = value(kCriticalColumn);
        if (!from || !to || !warning || !critical) {
            return std::nullopt;
        }
        SpectralBand band;
        band.from = *from;
        band.to = *to;
        band.warning = *warning;
        band.critical = *critical;
        band.orders = bands_->item(row, kOrdersColumn)->checkState() == Qt::Checked;
        band.spectrum = static_cast<BandSpectrum>(
            static_cast<QComboBox*>(bands_->cellWidget(row, kSpectrumColumn))->currentData().toInt());
        band.value = static_cast<BandValue>(
            static_cast<QComboBox*>(bands_->cellWidget(row, kJudgedColumn))->currentData().toInt());
        bands.push_back(band);
    }
    return bands;
}

std::vector<SpectralBand> PointAlarmsTab::Bands() const {
    return ReadBands().value_or(std::vector<SpectralBand>{});
}

std::optional<EnvelopeBandRow> PointAlarmsTab::EnvelopeBand() const {
    if (!ownEnvelope_->isChecked()) {
        return std::nullopt;
    }
    const std::optional<double> low = ParseEntry(envelopeLow_->text());
    const std::optional<double> high = ParseEntry(envelopeHigh_->text());
    // As the catalogue keeps them: single precision.
    return EnvelopeBandRow{static_cast<float>(low.value_or(std::nan(""))),
                           static_cast<float>(high.value_or(std::nan("")))};
}

void PointAlarmsTab::ChooseMeasure(const AlarmMeasure& measure) {
    measure_->setCurrentIndex(measure_->findData(AlarmMeasureName(measure)));
}

std::optional<BaselineSettings> PointAlarmsTab::SettingsOf(const AlarmMeasure& measure) {
    TakeFields();
    const auto found = settings_.find(AlarmMeasureName(measure));
    return found == settings_.end() ? std::nullopt : std::optional<BaselineSettings>(found->second);
}

void PointAlarmsTab::TakeFields() {
    if (loading_ || shownMeasure_.isEmpty()) {
        return;
    }
    if (!alarmOn_->isChecked()) {
        settings_.erase(shownMeasure_);
        return;
    }
    BaselineSettings settings;
    settings.measure = *AlarmMeasureNamed(shownMeasure_);
    switch (baselineKind_->currentIndex()) {
    case kFirstReadings:
        settings.baselineReadings = baselineCount_->value();
        break;
    case kDateRange:
        settings.baselineFrom = baselineFrom_->dateTime();
        settings.baselineTo = baselineTo_->dateTime();
        break;
    default:
        break;
    }
    settings.sigmaWarning = sigmaWarning_->value();
    settings.sigmaCritical = sigmaCritical_->value();
    settings.changeWarning = changeWarning_->value();
    settings.changeCritical = changeCritical_->value();
    // Fields left as loaded keep the stored multiples exactly (the boxes show two decimals).
    if (const auto stored = storedSettings_.find(shownMeasure_); stored != storedSettings_.end()) {
        const BaselineSettings& s = stored->second;
        const auto keep = [](double& value, double storedValue, const QDoubleSpinBox* box) {
            if (box->value() == QString::number(storedValue, 'f', box->decimals()).toDouble()) {
                value = storedValue;
            }
        };
        keep(settings.sigmaWarning, s.sigmaWarning, sigmaWarning_);
        keep(settings.sigmaCritical, s.sigmaCritical, sigmaCritical_);
        keep(settings.changeWarning, s.changeWarning, changeWarning_);
        keep(settings.changeCritical, s.changeCritical, changeCritical_);
    }
    settings_[shownMeasure_] = settings;
}

const std::vector<MeasureSample>& PointAlarmsTab::Samples(const AlarmMeasure& measure) {
    const QString name = AlarmMeasureName(measure);
    auto found = samples_.find(name);
    if (found == samples_.end()) {
        std::vector<MeasureSample> samples;
        if (!point_.sItemGUID.isEmpty()) {
            try {
                samples = PointMeasureSamples(editor_.Database(), point_, measure);
            } catch (const DatabaseError& error) {
                qCWarning(lcUi) << "the point's readings could not be read:" << error.what();
            }
        }
        found = samples_.emplace(name, std::move(samples)).first;
    }
    return found->second;
}

void PointAlarmsTab::ShowMeasure() {
    shownMeasure_ = measure_->currentData().toString();
    const auto found = settings_.find(shownMeasure_);
    const bool on = found != settings_.end();
    const BaselineSettings settings = on ? found->second : BaselineSettings{};
    loading_ = true;
    alarmOn_->setChecked(on);
    baselineKind_->setCurrentIndex(settings.baselineReadings > 0 ? kFirstReadings
                                   : settings.HasBaseline()      ? kDateRange
                                                                 : kNoBaseline);
    baselineCount_->setValue(settings.baselineReadings > 0 ? settings.baselineReadings
                                                           : BaselineDefaults::kReadings);
    const std::vector<MeasureSample>& samples = Samples(*AlarmMeasureNamed(shownMeasure_));
    const QDateTime first = samples.empty() ? QDateTime::currentDateTime() : samples.front().taken;
    const QDateTime last = samples.empty() ? QDateTime::currentDateTime() : samples.back().taken;
    baselineFrom_->setDateTime(settings.baselineFrom.isValid() ? settings.baselineFrom : first);
    baselineTo_->setDateTime(settings.baselineTo.isValid() ? settings.baselineTo : last);
    sigmaWarning_->setValue(settings.sigmaWarning);
    sigmaCritical_->setValue(settings.sigmaCritical);
    changeWarning_->setValue(settings.changeWarning);
    changeCritical_->setValue(settings.changeCritical);
    for (QWidget* field : std::initializer_list<QWidget*>{baselineKind_, sigmaWarning_, sigmaCritical_,
                                                          changeWarning_, changeCritical_}) {
        field->setEnabled(on);
    }
    baselineCount_->setEnabled(on && baselineKind_->currentIndex() == kFirstReadings);
    baselineFrom_->setEnabled(on && baselineKind_->currentIndex() == kDateRange);
    baselineTo_->setEnabled(on && baselineKind_->currentIndex() == kDateRange);
    const bool baseline = on && settings.HasBaseline();
    sigmaWarning_->setEnabled(baseline);
    sigmaCritical_->setEnabled(baseline);
    loading_ = false;
    ShowBaselineReadings();
}

void PointAlarmsTab::ShowBaselineReadings() {
    baselineReadings_->setRowCount(0);
    baselineLine_->clear();
    const auto found = settings_.find(shownMeasure_);
    if (found == settings_.end() || !found->second.HasBaseline()) {
        return;
    }
    const BaselineSettings& settings = found->second;
    const std::vector<MeasureSample> chosen = BaselineSamples(Samples(settings.measure), settings);
    const QLocale locale;
    std::vector<double> values;
    for (const MeasureSample& sample : chosen) {
        const int row = baselineReadings_->rowCount();
        baselineReadings_->insertRow(row);
        baselineReadings_->setItem(row, 0,
                                   new QTableWidgetItem(locale.toString(sample.taken, QLocale::ShortFormat)));
        auto* value = new QTableWidgetItem(locale.toString(sample.value, 'g', 4));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        baselineReadings_->setItem(row, 1, value);
        values.push_back(sample.value);
    }
    if (const std::optional<BaselineStatistics> b =
            ComputeBaseline(values, settings.sigmaWarning, settings.sigmaCritical)) {
        baselineLine_->setText(
            UiText(text::added::BaselineStats)
                .arg(locale.toString(b->mean, 'g', 3), locale.toString(b->sigmaUsed, 'g', 3),
                     locale.toString(b->warning, 'g', 3), locale.toString(b->critical, 'g', 3)));
    } else {
        baselineLine_->setText(
            UiText(text::added::BaselineTooShort).arg(values.size()).arg(BaselineDefaults::kFewestReadings));
    }
}

bool PointAlarmsTab::Changed() const {
    if (settings_.size() != storedSettings_.size()) {
        return true;
    }
    for (const auto& [name, settings] : settings_) {
        const auto stored = storedSettings_.find(name);
        if (stored == storedSettings_.end() || !SameSettings(settings, stored->second)) {
            return true;
        }
    }
    const std::optional<std::vector<SpectralBand>> bands = ReadBands();
    if (bandsTouched_ && (!bands || !SameBands(*bands, storedBands_))) {
        return true;
    }
    const std::optional<EnvelopeBandRow> envelope = EnvelopeBand();
    if (envelope.has_value() != storedEnvelope_.has_value()) {
        return true;
    }
    return envelope &&
           (envelope->lowHz != storedEnvelope_->lowHz || envelope->highHz != storedEnvelope_->highHz);
}

std::optional<QString> PointAlarmsTab::Check(const CVib& point) {
    TakeFields();
    if (!Changed()) {
        return std::nullopt;
    }
    const std::optional<std::vector<SpectralBand>> bands = ReadBands();
    if (!bands) {
        return UiText(text::PleaseInputNumber);
    }
    if (const std::optional<EnvelopeBandRow> envelope = EnvelopeBand()) {
        if (std::optional<QString> refused = EnvelopeBandRefusal(envelope->lowHz, envelope->highHz)) {
            return refused;
        }
    }
    try {
        for (const auto& [name, settings] : settings_) {
            const auto stored = storedSettings_.find(name);
            if (stored != storedSettings_.end() && SameSettings(settings, stored->second)) {
                continue;
            }
            if (std::optional<QString> refused =
                    BaselineSettingsRefusal(settings, Samples(settings.measure))) {
                return refused;
            }
        }
        if (bandsTouched_ && !SameBands(*bands, storedBands_)) {
            if (std::optional<QString> refused = CheckPointBands(editor_.Database(), point, *bands)) {
                return refused;
            }
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the point's alarms could not be checked:" << error.what();
        return UiText(text::ErrorLoadingRecord);
    }
    return std::nullopt;
}

bool PointAlarmsTab::Store(const CVib& point) {
    TakeFields();
    if (!Changed()) {
        return true;
    }
    PointAlarmChanges changes;
    for (const auto& [name, stored] : storedSettings_) {
        if (settings_.find(name) == settings_.end()) {
            changes.removed.push_back(stored.measure);
        }
    }
    for (const auto& [name, settings] : settings_) {
        const auto stored = storedSettings_.find(name);
        if (stored == storedSettings_.end() || !SameSettings(settings, stored->second)) {
            changes.stored.push_back(settings);
        }
    }
    if (std::vector<SpectralBand> bands = Bands(); bandsTouched_ && !SameBands(bands, storedBands_)) {
        changes.bands = std::move(bands);
    }
    const std::optional<EnvelopeBandRow> envelope = EnvelopeBand();
    if (envelope.has_value() != storedEnvelope_.has_value() ||
        (envelope &&
         (envelope->lowHz != storedEnvelope_->lowHz || envelope->highHz != storedEnvelope_->highHz))) {
        changes.envelope = envelope;
    }
    try {
        if (std::optional<QString> refused = StorePointAlarmChanges(editor_.Database(), point, changes)) {
            prompter_.ShowMessage(*refused);
            return false;
        }
    } catch (const DatabaseError& error) {
        qCWarning(lcUi) << "the point's alarms could not be stored:" << error.what();
        prompter_.ShowMessage(UiText(text::ErrorSavingRecord));
        return false;
    }
    point_ = point;
    storedSettings_ = settings_;
    storedBands_ = Bands();
    bandsTouched_ = false;
    storedEnvelope_ = EnvelopeBand();
    return true;
}

} // namespace vantor
