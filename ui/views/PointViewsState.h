#pragma once
// What the point views share: the shown point with its readings, the shown reading's signals
// (loaded when a view first needs them), and the choices that outlive one reading.

#include "analysis/FaultFamilies.h"
#include "analysis/MeasureFormat.h"
#include "analysis/SignalProcessor.h"
#include "app/CAppData.h"
#include "app/TypedSettings.h"
#include "app/ViewedReading.h"
#include "records/Records.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantor {

struct PointViewsState {
    explicit PointViewsState(CAppData& appData) : app(appData) {}

    CAppData& app;
    SignalProcessor processor; // the views' own; processors are never shared

    std::optional<CVib> point;
    QString machineName;
    std::vector<CVibReading> readings; // the point's readings, oldest first

    QString readingGuid;                 // the reading the spectrum and waveform views show
    std::optional<ViewedReading> loaded; // its signals, once loaded
    bool loadFailed = false;             // the load was tried and failed ("Error loading record")

    bool scaleLock = false;
    // The harmonics drawn of each bearing fault family (1 to kMostFaultHarmonics, or 0: as far as
    // the view shows), as the user last chose them.
    int faultHarmonics = 0;

    // The signals of the shown reading, loaded on first use; none without a reading or when the
    // load failed (the message is shown once).
    const ViewedReading* Reading();
    void ForgetReading();

    DisplayUnits Units() const;
    MeasureFormat Format() const;
    bool Consolidate() const { return ConsolidatePeaks(app.settings); }
    int FftLineOrBar() const { return static_cast<int>(SpectrumStyleOf(app.settings)); }
};

// The caption of a measure kind: the UI texts of ISO, bearing noise, total, displacement and the
// user's names of the VA bands.
QString MeasureCaption(const CSettings& settings, MeasureKind kind);

} // namespace vantor
