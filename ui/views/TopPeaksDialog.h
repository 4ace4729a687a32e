#pragma once
// "Top 10 Peaks": the ten largest peaks of the displayed spectrum in a two-column table.

#include "analysis/DisplayedSpectrum.h"
#include "analysis/TopPeaks.h"

#include <QDialog>

class QTableWidget;

namespace vantor {

class TopPeaksDialog : public QDialog {
    Q_OBJECT
public:
    TopPeaksDialog(const DisplayedSpectrum& spectrum, const DisplayUnits& units, QWidget* parent = nullptr);
    const QTableWidget& Table() const { return *table_; }

private:
    QTableWidget* table_ = nullptr;
};

} // namespace vantor
