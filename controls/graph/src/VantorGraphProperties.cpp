// The property accessors of the graph control. Plain properties store, mark modified and repaint;
// the validating family refuses out-of-range values with its message and keeps the old value.
#include "VantorGraphCtrlPrivate.h"

// clang-format off
short CVantorGraphCtrl::GetControlBackGroundColor() const { return d->props.ControlBackGroundColor; }
void CVantorGraphCtrl::SetControlBackGroundColor(short value) {
    d->storeChecked(d->props.ControlBackGroundColor, value, 0, 24, QStringLiteral("ERROR!! nControlBackGroundColor must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetGraphBackGroundColor() const { return d->props.GraphBackGroundColor; }
void CVantorGraphCtrl::SetGraphBackGroundColor(short value) {
    d->storeChecked(d->props.GraphBackGroundColor, value, 0, 24, QStringLiteral("ERROR!! nGraphBackGroundColor must be between 0 & 24!!"));
}
double CVantorGraphCtrl::GetGraphBottomMarginPercent() const { return d->props.GraphBottomMarginPercent; }
void CVantorGraphCtrl::SetGraphBottomMarginPercent(double value) {
    d->storeChecked(d->props.GraphBottomMarginPercent, value, 0, 100, QStringLiteral("ERROR!! fBottomMarginPercent must be between 0 & 100!!"));
}
double CVantorGraphCtrl::GetGraphLeftMarginPercent() const { return d->props.GraphLeftMarginPercent; }
void CVantorGraphCtrl::SetGraphLeftMarginPercent(double value) {
    d->storeChecked(d->props.GraphLeftMarginPercent, value, 0, 100, QStringLiteral("ERROR!! fLeftMarginPercent must be between 0 & 100!!"));
}
double CVantorGraphCtrl::GetGraphRightMarginPercent() const { return d->props.GraphRightMarginPercent; }
void CVantorGraphCtrl::SetGraphRightMarginPercent(double value) {
    d->storeChecked(d->props.GraphRightMarginPercent, value, 0, 100, QStringLiteral("ERROR!! fRightMarginPercent must be between 0 & 100!!"));
}
short CVantorGraphCtrl::GetGraphTextFont() const { return d->props.GraphTextFont; }
void CVantorGraphCtrl::SetGraphTextFont(short value) {
    d->storeChecked(d->props.GraphTextFont, value, 0, 6, QStringLiteral("ERROR!! nTextFont must be between 0 & 6!!"));
}
short CVantorGraphCtrl::GetGraphTitleBoldOn() const { return d->props.GraphTitleBoldOn; }
void CVantorGraphCtrl::SetGraphTitleBoldOn(short value) {
    d->storeChecked(d->props.GraphTitleBoldOn, value, 0, 1, QStringLiteral("ERROR!! bGraphTitleBoldOn must be 0(false) or 1(true)!!"));
}
short CVantorGraphCtrl::GetGraphTitleColor() const { return d->props.GraphTitleColor; }
void CVantorGraphCtrl::SetGraphTitleColor(short value) {
    d->storeChecked(d->props.GraphTitleColor, value, 0, 24, QStringLiteral("ERROR!! nGraphTitleColor must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetGraphTitleOn() const { return d->props.GraphTitleOn; }
void CVantorGraphCtrl::SetGraphTitleOn(short value) {
    d->storeChecked(d->props.GraphTitleOn, value, 0, 1, QStringLiteral("ERROR!! bGraphTitleOn must be 0(false) or 1(true)!!"));
}
short CVantorGraphCtrl::GetGraphTitleSize() const { return d->props.GraphTitleSize; }
void CVantorGraphCtrl::SetGraphTitleSize(short value) { d->storeAndRepaint(d->props.GraphTitleSize, value); }
short CVantorGraphCtrl::GetGraphTitleUnderlineOn() const { return d->props.GraphTitleUnderlineOn; }
void CVantorGraphCtrl::SetGraphTitleUnderlineOn(short value) {
    d->storeChecked(d->props.GraphTitleUnderlineOn, value, 0, 1, QStringLiteral("ERROR!! bGraphTitleUnderlineOn must be 0(false) or 1(true)!!"));
}
double CVantorGraphCtrl::GetGraphTopMarginPercent() const { return d->props.GraphTopMarginPercent; }
void CVantorGraphCtrl::SetGraphTopMarginPercent(double value) {
    d->storeChecked(d->props.GraphTopMarginPercent, value, 0, 100, QStringLiteral("ERROR!! fTopMarginPercent must be between 0 & 100!!"));
}
QString CVantorGraphCtrl::GetXAxisCaption() const { return d->props.XAxisCaption; }
void CVantorGraphCtrl::SetXAxisCaption(const QString& value) { d->storeAndRepaint(d->props.XAxisCaption, value); }
short CVantorGraphCtrl::GetXAxisCaptionColor() const { return d->props.XAxisCaptionColor; }
void CVantorGraphCtrl::SetXAxisCaptionColor(short value) {
    d->storeChecked(d->props.XAxisCaptionColor, value, 0, 24, QStringLiteral("ERROR!! nXAxisCaptionColor must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetXAxisCaptionOn() const { return d->props.XAxisCaptionOn; }
void CVantorGraphCtrl::SetXAxisCaptionOn(short value) {
    d->storeChecked(d->props.XAxisCaptionOn, value, 0, 1, QStringLiteral("ERROR!! bXAxisCaptionOn must be 0(false) or 1(true)!!"));
}
short CVantorGraphCtrl::GetXAxisCaptionSize() const { return d->props.XAxisCaptionSize; }
void CVantorGraphCtrl::SetXAxisCaptionSize(short value) { d->storeAndRepaint(d->props.XAxisCaptionSize, value); }
short CVantorGraphCtrl::GetXAxisMarkerMethod() const { return d->props.XAxisMarkerMethod; }
void CVantorGraphCtrl::SetXAxisMarkerMethod(short value) {
    d->storeChecked(d->props.XAxisMarkerMethod, value, 0, 2, QStringLiteral("ERROR!! nXAxisMarkerMethod must be between 0 & 2!!"));
}
short CVantorGraphCtrl::GetXAxisMarkerStyle() const { return d->props.XAxisMarkerStyle; }
void CVantorGraphCtrl::SetXAxisMarkerStyle(short value) {
    d->storeChecked(d->props.XAxisMarkerStyle, value, 0, 2, QStringLiteral("ERROR!! nXAxisMarkerStyle must be between 0 & 3!!"));
}
double CVantorGraphCtrl::GetXAxisMax() const { return d->props.XAxisMax; }
void CVantorGraphCtrl::SetXAxisMax(double value) { d->storeAndRepaint(d->props.XAxisMax, value); }
double CVantorGraphCtrl::GetXAxisMin() const { return d->props.XAxisMin; }
void CVantorGraphCtrl::SetXAxisMin(double value) { d->storeAndRepaint(d->props.XAxisMin, value); }
short CVantorGraphCtrl::GetXAxisValuesColor() const { return d->props.XAxisValuesColor; }
void CVantorGraphCtrl::SetXAxisValuesColor(short value) {
    d->storeChecked(d->props.XAxisValuesColor, value, 0, 24, QStringLiteral("ERROR!! nXAxisValuesColor must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetXAxisValuesDP() const { return d->props.XAxisValuesDP; }
void CVantorGraphCtrl::SetXAxisValuesDP(short value) {
    d->storeChecked(d->props.XAxisValuesDP, value, 0, 3, QStringLiteral("ERROR!! nXAxisValuesDP must be between 0 & 3!!"));
}
short CVantorGraphCtrl::GetXAxisValuesOn() const { return d->props.XAxisValuesOn; }
void CVantorGraphCtrl::SetXAxisValuesOn(short value) {
    d->storeChecked(d->props.XAxisValuesOn, value, 0, 1, QStringLiteral("ERROR!! bXAxisValuesOn must be a 0(false) or 1(true)!!"));
}
short CVantorGraphCtrl::GetXAxisValuesSize() const { return d->props.XAxisValuesSize; }
void CVantorGraphCtrl::SetXAxisValuesSize(short value) { d->storeAndRepaint(d->props.XAxisValuesSize, value); }
QString CVantorGraphCtrl::GetYAxisCaption() const { return d->props.YAxisCaption; }
void CVantorGraphCtrl::SetYAxisCaption(const QString& value) { d->storeAndRepaint(d->props.YAxisCaption, value); }
short CVantorGraphCtrl::GetYAxisCaptionColor() const { return d->props.YAxisCaptionColor; }
void CVantorGraphCtrl::SetYAxisCaptionColor(short value) {
    d->storeChecked(d->props.YAxisCaptionColor, value, 0, 24, QStringLiteral("ERROR!! nYAxisCaptionColor must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetYAxisCaptionOn() const { return d->props.YAxisCaptionOn; }
void CVantorGraphCtrl::SetYAxisCaptionOn(short value) {
    d->storeChecked(d->props.YAxisCaptionOn, value, 0, 1, QStringLiteral("ERROR!! bYAxisCaptionOn must be a 0(false) or 1(true)!!"));
}
short CVantorGraphCtrl::GetYAxisCaptionSize() const { return d->props.YAxisCaptionSize; }
void CVantorGraphCtrl::SetYAxisCaptionSize(short value) { d->storeAndRepaint(d->props.YAxisCaptionSize, value); }
short CVantorGraphCtrl::GetYAxisMarkerMethod() const { return d->props.YAxisMarkerMethod; }
void CVantorGraphCtrl::SetYAxisMarkerMethod(short value) {
    d->storeChecked(d->props.YAxisMarkerMethod, value, 0, 1, QStringLiteral("ERROR!! nYAxisMarkerMethod must be between 0 & 1!!"));
}
short CVantorGraphCtrl::GetYAxisMarkerStyle() const { return d->props.YAxisMarkerStyle; }
void CVantorGraphCtrl::SetYAxisMarkerStyle(short value) {
    d->storeChecked(d->props.YAxisMarkerStyle, value, 0, 2, QStringLiteral("ERROR!! nYAxisMarkerStyle must be between 0 & 3!!"));
}
double CVantorGraphCtrl::GetYAxisMax() const { return d->props.YAxisMax; }
void CVantorGraphCtrl::SetYAxisMax(double value) { d->storeAndRepaint(d->props.YAxisMax, value); }
double CVantorGraphCtrl::GetYAxisMin() const { return d->props.YAxisMin; }
void CVantorGraphCtrl::SetYAxisMin(double value) { d->storeAndRepaint(d->props.YAxisMin, value); }
short CVantorGraphCtrl::GetYAxisValuesColor() const { return d->props.YAxisValuesColor; }
void CVantorGraphCtrl::SetYAxisValuesColor(short value) {
    d->storeChecked(d->props.YAxisValuesColor, value, 0, 24, QStringLiteral("ERROR!! nYAxisValuesColor must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetYAxisValuesDP() const { return d->props.YAxisValuesDP; }
void CVantorGraphCtrl::SetYAxisValuesDP(short value) {
    d->storeChecked(d->props.YAxisValuesDP, value, 0, 3, QStringLiteral("ERROR!! nYAxisValuesDP must be between 0 & 3!!"));
}
short CVantorGraphCtrl::GetYAxisValuesOn() const { return d->props.YAxisValuesOn; }
void CVantorGraphCtrl::SetYAxisValuesOn(short value) {
    d->storeChecked(d->props.YAxisValuesOn, value, 0, 1, QStringLiteral("ERROR!! bYAxisValuesOn must be a 0(false) or 1(true)!!"));
}
short CVantorGraphCtrl::GetYAxisValuesSize() const { return d->props.YAxisValuesSize; }
void CVantorGraphCtrl::SetYAxisValuesSize(short value) { d->storeAndRepaint(d->props.YAxisValuesSize, value); }
QString CVantorGraphCtrl::GetGraphTitle() const { return d->props.GraphTitle; }
void CVantorGraphCtrl::SetGraphTitle(const QString& value) { d->storeAndRepaint(d->props.GraphTitle, value); }
QString CVantorGraphCtrl::GetXToolTipText() const { return d->props.XToolTipText; }
void CVantorGraphCtrl::SetXToolTipText(const QString& value) { d->storeAndRepaint(d->props.XToolTipText, value); }
QString CVantorGraphCtrl::GetYToolTipText() const { return d->props.YToolTipText; }
void CVantorGraphCtrl::SetYToolTipText(const QString& value) { d->storeAndRepaint(d->props.YToolTipText, value); }
bool CVantorGraphCtrl::GetPointMarkersOn() const { return d->props.PointMarkersOn; }
void CVantorGraphCtrl::SetPointMarkersOn(bool value) { d->storeAndRepaint(d->props.PointMarkersOn, value); }
short CVantorGraphCtrl::GetXAxisType() const { return d->props.XAxisType; }
void CVantorGraphCtrl::SetXAxisType(short value) { d->storeAndRepaint(d->props.XAxisType, value); }
short CVantorGraphCtrl::GetBandAxis() const { return d->props.BandAxis; }
void CVantorGraphCtrl::SetBandAxis(short value) {
    d->storeChecked(d->props.BandAxis, value, 0, 1, QStringLiteral("ERROR!! nBandAxis must be between 0 & 1!!"));
}
short CVantorGraphCtrl::GetNumberofBands() const { return d->props.NumberofBands; }
void CVantorGraphCtrl::SetNumberofBands(short value) {
    d->storeChecked(d->props.NumberofBands, value, 0, 3, QStringLiteral("ERROR!! nNumberofBands must be between 0 & 3!!"));
}
short CVantorGraphCtrl::GetBand1Color() const { return d->props.Band1Color; }
void CVantorGraphCtrl::SetBand1Color(short value) {
    d->storeChecked(d->props.Band1Color, value, 0, 24, QStringLiteral("ERROR!! nBand1Color must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetBand2Color() const { return d->props.Band2Color; }
void CVantorGraphCtrl::SetBand2Color(short value) {
    d->storeChecked(d->props.Band2Color, value, 0, 24, QStringLiteral("ERROR!! nBand2Color must be between 0 & 24!!"));
}
short CVantorGraphCtrl::GetBand3Color() const { return d->props.Band3Color; }
void CVantorGraphCtrl::SetBand3Color(short value) {
    d->storeChecked(d->props.Band3Color, value, 0, 24, QStringLiteral("ERROR!! nBand3Color must be between 0 & 24!!"));
}
double CVantorGraphCtrl::GetBand1Min() const { return d->props.Band1Min; }
void CVantorGraphCtrl::SetBand1Min(double value) { d->storeAndRepaint(d->props.Band1Min, value); }
double CVantorGraphCtrl::GetBand1Max() const { return d->props.Band1Max; }
void CVantorGraphCtrl::SetBand1Max(double value) { d->storeAndRepaint(d->props.Band1Max, value); }
double CVantorGraphCtrl::GetBand2Min() const { return d->props.Band2Min; }
void CVantorGraphCtrl::SetBand2Min(double value) { d->storeAndRepaint(d->props.Band2Min, value); }
double CVantorGraphCtrl::GetBand2Max() const { return d->props.Band2Max; }
void CVantorGraphCtrl::SetBand2Max(double value) { d->storeAndRepaint(d->props.Band2Max, value); }
double CVantorGraphCtrl::GetBand3Min() const { return d->props.Band3Min; }
void CVantorGraphCtrl::SetBand3Min(double value) { d->storeAndRepaint(d->props.Band3Min, value); }
double CVantorGraphCtrl::GetBand3Max() const { return d->props.Band3Max; }
void CVantorGraphCtrl::SetBand3Max(double value) { d->storeAndRepaint(d->props.Band3Max, value); }
float CVantorGraphCtrl::GetFFTBand1FMin() const { return d->props.FFTBand1FMin; }
void CVantorGraphCtrl::SetFFTBand1FMin(float value) { d->storeAndRepaint(d->props.FFTBand1FMin, value); }
float CVantorGraphCtrl::GetFFTBand1FMax() const { return d->props.FFTBand1FMax; }
void CVantorGraphCtrl::SetFFTBand1FMax(float value) { d->storeAndRepaint(d->props.FFTBand1FMax, value); }
float CVantorGraphCtrl::GetFFTBand1AlarmLevel() const { return d->props.FFTBand1AlarmLevel; }
void CVantorGraphCtrl::SetFFTBand1AlarmLevel(float value) { d->storeAndRepaint(d->props.FFTBand1AlarmLevel, value); }
bool CVantorGraphCtrl::GetFFTBandsOn() const { return d->props.FFTBandsOn; }
void CVantorGraphCtrl::SetFFTBandsOn(bool value) { d->storeAndRepaint(d->props.FFTBandsOn, value); }
float CVantorGraphCtrl::GetFFTBand2FMin() const { return d->props.FFTBand2FMin; }
void CVantorGraphCtrl::SetFFTBand2FMin(float value) { d->storeAndRepaint(d->props.FFTBand2FMin, value); }
float CVantorGraphCtrl::GetFFTBand2FMax() const { return d->props.FFTBand2FMax; }
void CVantorGraphCtrl::SetFFTBand2FMax(float value) { d->storeAndRepaint(d->props.FFTBand2FMax, value); }
float CVantorGraphCtrl::GetFFTBand2AlarmLevel() const { return d->props.FFTBand2AlarmLevel; }
void CVantorGraphCtrl::SetFFTBand2AlarmLevel(float value) { d->storeAndRepaint(d->props.FFTBand2AlarmLevel, value); }
float CVantorGraphCtrl::GetFFTBand3FMin() const { return d->props.FFTBand3FMin; }
void CVantorGraphCtrl::SetFFTBand3FMin(float value) { d->storeAndRepaint(d->props.FFTBand3FMin, value); }
float CVantorGraphCtrl::GetFFTBand3FMax() const { return d->props.FFTBand3FMax; }
void CVantorGraphCtrl::SetFFTBand3FMax(float value) { d->storeAndRepaint(d->props.FFTBand3FMax, value); }
float CVantorGraphCtrl::GetFFTBand3AlarmLevel() const { return d->props.FFTBand3AlarmLevel; }
void CVantorGraphCtrl::SetFFTBand3AlarmLevel(float value) { d->storeAndRepaint(d->props.FFTBand3AlarmLevel, value); }
float CVantorGraphCtrl::GetFFTBand4FMin() const { return d->props.FFTBand4FMin; }
void CVantorGraphCtrl::SetFFTBand4FMin(float value) { d->storeAndRepaint(d->props.FFTBand4FMin, value); }
float CVantorGraphCtrl::GetFFTBand4FMax() const { return d->props.FFTBand4FMax; }
void CVantorGraphCtrl::SetFFTBand4FMax(float value) { d->storeAndRepaint(d->props.FFTBand4FMax, value); }
float CVantorGraphCtrl::GetFFTBand4AlarmLevel() const { return d->props.FFTBand4AlarmLevel; }
void CVantorGraphCtrl::SetFFTBand4AlarmLevel(float value) { d->storeAndRepaint(d->props.FFTBand4AlarmLevel, value); }
bool CVantorGraphCtrl::GetFFTGraphOn() const { return d->props.FFTGraphOn; }
void CVantorGraphCtrl::SetFFTGraphOn(bool value) { d->storeAndRepaint(d->props.FFTGraphOn, value); }
bool CVantorGraphCtrl::GetToolTipDateYOrXY() const { return d->props.ToolTipDateYOrXY; }
void CVantorGraphCtrl::SetToolTipDateYOrXY(bool value) { d->storeAndRepaint(d->props.ToolTipDateYOrXY, value); }
QString CVantorGraphCtrl::GetDateTranslation() const { return d->props.DateTranslation; }
void CVantorGraphCtrl::SetDateTranslation(const QString& value) { d->storeAndRepaint(d->props.DateTranslation, value); }
QString CVantorGraphCtrl::GetAccelerometerTranslation() const { return d->props.AccelerometerTranslation; }
void CVantorGraphCtrl::SetAccelerometerTranslation(const QString& value) { d->storeAndRepaint(d->props.AccelerometerTranslation, value); }
QString CVantorGraphCtrl::GetSensitiviyTranslation() const { return d->props.SensitiviyTranslation; }
void CVantorGraphCtrl::SetSensitiviyTranslation(const QString& value) { d->storeAndRepaint(d->props.SensitiviyTranslation, value); }
bool CVantorGraphCtrl::GetZoomAllowed() const { return d->props.ZoomAllowed; }
void CVantorGraphCtrl::SetZoomAllowed(bool value) { d->storeAndRepaint(d->props.ZoomAllowed, value); }
short CVantorGraphCtrl::GetAppearance() const { return d->props.Appearance; }
void CVantorGraphCtrl::SetAppearance(short value) { d->storeAndRepaint(d->props.Appearance, value); }
short CVantorGraphCtrl::GetBorderStyle() const { return d->props.BorderStyle; }
void CVantorGraphCtrl::SetBorderStyle(short value) { d->storeAndRepaint(d->props.BorderStyle, value); }
bool CVantorGraphCtrl::GetGraphWaterfallOn() const { return d->props.GraphWaterfallOn; }
void CVantorGraphCtrl::SetGraphWaterfallOn(bool value) { d->storeAndRepaint(d->props.GraphWaterfallOn, value); }
bool CVantorGraphCtrl::GetMultiplePointSelectAllowed() const { return d->props.MultiplePointSelectAllowed; }
void CVantorGraphCtrl::SetMultiplePointSelectAllowed(bool value) { d->storeAndRepaint(d->props.MultiplePointSelectAllowed, value); }
QString CVantorGraphCtrl::GetTimeTranslation() const { return d->props.TimeTranslation; }
void CVantorGraphCtrl::SetTimeTranslation(const QString& value) { d->storeAndRepaint(d->props.TimeTranslation, value); }
short CVantorGraphCtrl::GetMainAxisWidthMinPercent() const { return d->props.MainAxisWidthMinPercent; }
void CVantorGraphCtrl::SetMainAxisWidthMinPercent(short value) { d->storeAndRepaint(d->props.MainAxisWidthMinPercent, value); }
short CVantorGraphCtrl::GetMainAxisHeightMinPercent() const { return d->props.MainAxisHeightMinPercent; }
void CVantorGraphCtrl::SetMainAxisHeightMinPercent(short value) { d->storeAndRepaint(d->props.MainAxisHeightMinPercent, value); }
QString CVantorGraphCtrl::GetYAxisUnits() const { return d->props.YAxisUnits; }
void CVantorGraphCtrl::SetYAxisUnits(const QString& value) { d->storeAndRepaint(d->props.YAxisUnits, value); }
QString CVantorGraphCtrl::GetTakenWithRFIDTranslation() const { return d->props.TakenWithRFIDTranslation; }
void CVantorGraphCtrl::SetTakenWithRFIDTranslation(const QString& value) { d->storeAndRepaint(d->props.TakenWithRFIDTranslation, value); }
QString CVantorGraphCtrl::GetAccelTempTranslation() const { return d->props.AccelTempTranslation; }
void CVantorGraphCtrl::SetAccelTempTranslation(const QString& value) { d->storeAndRepaint(d->props.AccelTempTranslation, value); }
bool CVantorGraphCtrl::GetCursorEnabled() const { return d->props.CursorEnabled; }
void CVantorGraphCtrl::SetCursorEnabled(bool value) { d->storeAndRepaint(d->props.CursorEnabled, value); }
QString CVantorGraphCtrl::GetCursorTypeTranslation() const { return d->props.CursorTypeTranslation; }
void CVantorGraphCtrl::SetCursorTypeTranslation(const QString& value) { d->storeAndRepaint(d->props.CursorTypeTranslation, value); }
QString CVantorGraphCtrl::GetSimpleTranslation() const { return d->props.SimpleTranslation; }
void CVantorGraphCtrl::SetSimpleTranslation(const QString& value) { d->storeAndRepaint(d->props.SimpleTranslation, value); }
QString CVantorGraphCtrl::GetHarmonicTranslation() const { return d->props.HarmonicTranslation; }
void CVantorGraphCtrl::SetHarmonicTranslation(const QString& value) { d->storeAndRepaint(d->props.HarmonicTranslation, value); }
QString CVantorGraphCtrl::GetBearingTranslation() const { return d->props.BearingTranslation; }
void CVantorGraphCtrl::SetBearingTranslation(const QString& value) { d->storeAndRepaint(d->props.BearingTranslation, value); }
// clang-format on

// Tooltip pair: stored and marked modified, never repainted (the writes are in VantorGraphMouse.cpp).
bool CVantorGraphCtrl::GetShowToolTip() const {
    return d->props.ShowToolTip;
}
QString CVantorGraphCtrl::GetToolTipText() const {
    return d->props.ToolTipText;
}

bool CVantorGraphCtrl::GetEnabled() const {
    return isEnabled();
}
void CVantorGraphCtrl::SetEnabled(bool value) {
    QWidget::setEnabled(value);
    d->markModifiedAndRepaint();
}

double CVantorGraphCtrl::GetXAxisMarkerSpacing() const {
    return d->props.XAxisMarkerSpacing;
}
void CVantorGraphCtrl::SetXAxisMarkerSpacing(double value) {
    d->setMarkerSpacing(d->props.XAxisMarkerSpacing, value, d->props.XAxisMarkerMethod, d->props.XAxisMin,
                        d->props.XAxisMax,
                        QStringLiteral("ERROR!! fXAxisMarkerSpacing must be between 0 & fMax!!"));
}
double CVantorGraphCtrl::GetYAxisMarkerSpacing() const {
    return d->props.YAxisMarkerSpacing;
}
void CVantorGraphCtrl::SetYAxisMarkerSpacing(double value) {
    d->setMarkerSpacing(d->props.YAxisMarkerSpacing, value, d->props.YAxisMarkerMethod, d->props.YAxisMin,
                        d->props.YAxisMax,
                        QStringLiteral("ERROR!! fYAxisMarkerSpacing must be between 0 & fMax!!"));
}

// Waterfall offsets: taken only while the waterfall is on, clamped so that the front trace keeps
// its minimum share of the plot as last laid out.
short CVantorGraphCtrl::GetXAxisOffset() const {
    return d->props.XAxisOffset;
}
void CVantorGraphCtrl::SetXAxisOffset(short value) {
    if (!d->props.GraphWaterfallOn)
        return;
    d->props.XAxisOffset =
        d->clampedWaterfallOffset(value, d->plot.width(), d->props.MainAxisWidthMinPercent);
    d->markModifiedAndRepaint();
}
short CVantorGraphCtrl::GetYAxisOffset() const {
    return d->props.YAxisOffset;
}
void CVantorGraphCtrl::SetYAxisOffset(short value) {
    if (!d->props.GraphWaterfallOn)
        return;
    d->props.YAxisOffset =
        d->clampedWaterfallOffset(value, d->plot.height(), d->props.MainAxisHeightMinPercent);
    d->markModifiedAndRepaint();
}

// Cursor pair: taken only while the cursor is enabled; the placement repaints and reports.
short CVantorGraphCtrl::GetCursorType() const {
    return d->props.CursorType;
}
void CVantorGraphCtrl::SetCursorType(short value) {
    if (!d->props.CursorEnabled)
        return;
    d->props.CursorType = value;
    d->modified = true;
    if (const GraphCursor* cursor = d->currentCursor())
        d->placeCurrent(d->pixelOfX(cursor->x), 0);
}

float CVantorGraphCtrl::GetCursorFundamental() const {
    if (!d->props.CursorEnabled)
        return 0.0f;
    const GraphCursor* cursor = d->props.CursorType == static_cast<short>(CursorKind::Harmonic)
                                    ? (d->cursors.harmonic.empty() ? nullptr : &d->cursors.harmonic.front())
                                    : d->currentCursor();
    return cursor ? static_cast<float>(cursor->x) : 0.0f;
}
void CVantorGraphCtrl::SetCursorFundamental(float value) {
    if (!d->props.CursorEnabled)
        return;
    auto& c = d->cursors;
    switch (static_cast<CursorKind>(d->props.CursorType)) {
    case CursorKind::Simple:
        d->placeSimple(d->pixelOfX(value), 0);
        break;
    case CursorKind::Harmonic:
        if (c.harmonic.empty())
            return;
        c.selectedHarmonic = 0;
        d->placeHarmonic(d->pixelOfX(value), 0);
        break;
    case CursorKind::Bearing:
        d->placeBearing(d->pixelOfX(value), 0);
        break;
    case CursorKind::None:
        return;
    }
    d->modified = true;
}

// Bearing fault records: number N is record N - 1; missing records read "" and 0.
namespace {
const FaultHarmonic* firstLabel(const GraphCursors& cursors, int record) {
    if (record >= static_cast<int>(cursors.faults.size()))
        return nullptr;
    const auto& harmonics = cursors.faults[static_cast<std::size_t>(record)].harmonics;
    return harmonics.empty() ? nullptr : &harmonics.front();
}
} // namespace

QString CVantorGraphCtrl::Private::faultTranslation(int record) const {
    const FaultHarmonic* label = firstLabel(cursors, record);
    return label ? label->label : QString();
}

void CVantorGraphCtrl::Private::setFaultTranslation(int record, const QString& text) {
    if (auto* label = const_cast<FaultHarmonic*>(firstLabel(cursors, record)))
        label->label = text;
    markModifiedAndRepaint();
}

double CVantorGraphCtrl::Private::faultMultiplier(int record) const {
    return record < static_cast<int>(cursors.faults.size())
               ? cursors.faults[static_cast<std::size_t>(record)].multiplier
               : 0.0;
}

void CVantorGraphCtrl::Private::setFaultMultiplier(int record, double multiplier) {
    if (record >= static_cast<int>(cursors.faults.size()))
        return;
    cursors.faults[static_cast<std::size_t>(record)].multiplier = multiplier;
    if (props.CursorType == static_cast<short>(CursorKind::Bearing))
        placeBearing(pixelOfX(cursors.runSpeed.x), 0);
}

// clang-format off
QString CVantorGraphCtrl::GetBearingFault1Translation() const { return d->faultTranslation(0); }
void CVantorGraphCtrl::SetBearingFault1Translation(const QString& value) { d->setFaultTranslation(0, value); }
double CVantorGraphCtrl::GetBearingFault1Multiplier() const { return d->faultMultiplier(0); }
void CVantorGraphCtrl::SetBearingFault1Multiplier(double value) { d->setFaultMultiplier(0, value); }
QString CVantorGraphCtrl::GetBearingFault2Translation() const { return d->faultTranslation(1); }
void CVantorGraphCtrl::SetBearingFault2Translation(const QString& value) { d->setFaultTranslation(1, value); }
double CVantorGraphCtrl::GetBearingFault2Multiplier() const { return d->faultMultiplier(1); }
void CVantorGraphCtrl::SetBearingFault2Multiplier(double value) { d->setFaultMultiplier(1, value); }
QString CVantorGraphCtrl::GetBearingFault3Translation() const { return d->faultTranslation(2); }
void CVantorGraphCtrl::SetBearingFault3Translation(const QString& value) { d->setFaultTranslation(2, value); }
double CVantorGraphCtrl::GetBearingFault3Multiplier() const { return d->faultMultiplier(2); }
void CVantorGraphCtrl::SetBearingFault3Multiplier(double value) { d->setFaultMultiplier(2, value); }
QString CVantorGraphCtrl::GetBearingFault4Translation() const { return d->faultTranslation(3); }
void CVantorGraphCtrl::SetBearingFault4Translation(const QString& value) { d->setFaultTranslation(3, value); }
double CVantorGraphCtrl::GetBearingFault4Multiplier() const { return d->faultMultiplier(3); }
void CVantorGraphCtrl::SetBearingFault4Multiplier(double value) { d->setFaultMultiplier(3, value); }
// clang-format on
