#pragma once
// "Top 10 Peaks": the ten largest peaks of the displayed spectrum, in slot order, with the order of
// each peak (its frequency ÷ the run speed). A click on a column header sorts by that column.

#include "analysis/DisplayedSpectrum.h"
#include "analysis/TopPeaks.h"

#include <QDialog>

#include <optional>

class QTableWidget;

namespace vantor {

// A peak's order: its displayed frequency ÷ the run speed in the same units; none without a run speed.
std::optional<double> PeakOrder(double frequency, double runSpeedHz, double frequencyFactor);

class TopPeaksDialog : public QDialog {
    Q_OBJECT
public:
    // runSpeedHz: the reading's run speed; 0 leaves the order column empty.
    TopPeaksDialog(const DisplayedSpectrum& spectrum, const DisplayUnits& units, double runSpeedHz,
                   QWidget* parent = nullptr);
    const QTableWidget& Table() const { return *table_; }

private:
    QTableWidget* table_ = nullptr;
};

} // namespace vantor
