#include "ui/views/TopPeaksDialog.h"

#include "texts/DisplayFormat.h"
#include "ui/common/PointViewTexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kOrderDecimals = 2;
constexpr int kColumns = 3;

// Sorts by the number behind the text (locale-formatted numbers do not sort as text).
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text) { setData(Qt::UserRole, value); }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

} // namespace

std::optional<double> PeakOrder(double frequency, double runSpeedHz, double frequencyFactor) {
    const double runSpeed = runSpeedHz * frequencyFactor;
    if (!(runSpeed > 0)) {
        return std::nullopt;
    }
    return frequency / runSpeed;
}

TopPeaksDialog::TopPeaksDialog(const DisplayedSpectrum& spectrum, const DisplayUnits& units,
                               double runSpeedHz, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(UiText(text::views::TopPeaks));
    const PeakList peaks = FindTopPeaks(spectrum);
    const std::array<QString, 2> captions = PeakColumnCaptions(spectrum.kind, units);
    table_ = new QTableWidget(kPeakSlotCount, kColumns, this);
    table_->setHorizontalHeaderLabels({captions[0], captions[1], UiText(text::views::FitOrder)});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < kPeakSlotCount; ++row) {
        const PeakSlot& slot = peaks.peaks[static_cast<std::size_t>(row)];
        const std::optional<double> order = PeakOrder(slot.frequency, runSpeedHz, spectrum.frequencyFactor);
        const std::array<QTableWidgetItem*, kColumns> items = {
            new NumberItem(PeakText(slot.frequency, slot.frequencyDecimals), slot.frequency),
            new NumberItem(PeakText(slot.amplitude, peaks.amplitudeDecimals), slot.amplitude),
            new NumberItem(order ? DisplayNumber(*order, kOrderDecimals) : QString(), order.value_or(0.0))};
        for (int column = 0; column < kColumns; ++column) {
            QTableWidgetItem* item = items[static_cast<std::size_t>(column)];
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
    }
    // Shown in slot order until a header is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(UiText(text::views::Exit));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    table_->resizeColumnsToContents();
    const int width = table_->verticalHeader()->width() + table_->horizontalHeader()->length() +
                      2 * table_->frameWidth() + 24;
    const int height =
        table_->horizontalHeader()->height() + table_->verticalHeader()->length() + 2 * table_->frameWidth();
    table_->setMinimumSize(width, height);
}

} // namespace vantor
