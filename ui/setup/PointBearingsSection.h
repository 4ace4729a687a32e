#pragma once
// The vibration point set-up's bearing section: up to four bearings from the library, each with
// where it sits and its speed ratio. Checked before the point is stored, and stored with it in one
// transaction by the dialog.

#include "app/BearingEditor.h"

#include <QGroupBox>

#include <array>
#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

namespace vantor {

class CatalogueEditor;

class PointBearingsSection : public QGroupBox {
    Q_OBJECT
public:
    // The point's stored bearings are shown; a new point (empty GUID) starts without any. A
    // database failure shows its message and leaves the rows empty.
    PointBearingsSection(CatalogueEditor& catalogue, Prompter& prompter, const QString& point,
                         QWidget* parent = nullptr);

    // The rows with a bearing chosen, in order.
    std::vector<CPointBearing> Assignments() const;
    // The message refusing a row, or none.
    std::optional<QString> Check() const;
    // The rows differ from the point's stored bearings.
    bool Changed() const;
    // The rows were stored as the point's bearings.
    void MarkStored();

    // For tests and the owner: choose a library bearing (by GUID; empty for none) on row i.
    void SetRow(int row, const QString& bearing, const QString& location, double ratio);

private:
    struct Row {
        QComboBox* bearing = nullptr;
        QLineEdit* location = nullptr;
        QDoubleSpinBox* ratio = nullptr;
    };
    BearingEditor editor_;
    std::array<Row, kBearingsPerPoint> rows_;
    std::vector<CPointBearing> stored_;
};

} // namespace vantor
