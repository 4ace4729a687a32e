#pragma once
// The point set-up's "Severity standard": the documented ISO alarm (the default) or ISO 20816-3
// with the machine group and support, and "Suggest Levels", which offers the ALARM and TRIP the
// standard proposes from the point's baseline as its ISO warning and critical levels. Nothing is
// stored until the set-up's OK.

#include "analysis/PointSeverity.h"

#include <QGroupBox>

#include <functional>

class QComboBox;
class QPushButton;

namespace vantor {

class CatalogueEditor;
class Prompter;

class SeverityStandardSection : public QGroupBox {
    Q_OBJECT
public:
    // Shows the point's stored standard (the documented alarm for a new point). `propose` receives
    // accepted ALARM and TRIP levels (mm/s) for the ISO fields.
    SeverityStandardSection(CatalogueEditor& editor, Prompter& prompter, const CVib& point,
                            std::function<void(float alarm, float trip)> propose, QWidget* parent = nullptr);

    PointStandard Chosen() const;
    void Choose(const PointStandard& standard);
    bool Changed() const { return Chosen() != loaded_; }
    // The standard as stored, after OK stored it.
    void MarkStored() { loaded_ = Chosen(); }

    // "Suggest Levels": the suggestion from the point's stored readings for the chosen group and
    // support, offered with a question; on Yes the levels go to `propose`.
    void Suggest();

private:
    void Follow();

    CatalogueEditor& editor_;
    Prompter& prompter_;
    CVib point_;
    std::function<void(float, float)> propose_;
    PointStandard loaded_;
    QComboBox* standard_;
    QComboBox* group_;
    QComboBox* support_;
    QPushButton* suggest_;
};

} // namespace vantor
