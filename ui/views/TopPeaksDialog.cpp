#include "ui/views/TopPeaksDialog.h"

#include "ui/views/PointViewTexts.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantor {

TopPeaksDialog::TopPeaksDialog(const DisplayedSpectrum& spectrum, const DisplayUnits& units, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(UiText(text::views::TopPeaks));
    const PeakList peaks = FindTopPeaks(spectrum);
    const std::array<QString, 2> captions = PeakColumnCaptions(spectrum.kind, units);
    table_ = new QTableWidget(kPeakSlotCount, 2, this);
    table_->setHorizontalHeaderLabels({captions[0], captions[1]});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < kPeakSlotCount; ++row) {
        const PeakSlot& slot = peaks.peaks[static_cast<std::size_t>(row)];
        for (int column = 0; column < 2; ++column) {
            const QString value = column == 0 ? PeakText(slot.frequency, peaks.frequencyDecimals)
                                              : PeakText(slot.amplitude, peaks.amplitudeDecimals);
            auto* item = new QTableWidgetItem(value);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(row, column, item);
        }
    }
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
