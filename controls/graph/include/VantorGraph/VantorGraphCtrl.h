// The trend graph control: a widget whose whole automation surface (properties, methods, events)
// is published through Qt's meta-object system, so a host sets and reads properties and calls
// methods by name exactly as an automation container does.
#pragma once

#include <VantorGraph/vantorgraph_export.h>

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;

class VANTORGRAPH_EXPORT CVantorGraphCtrl : public QWidget {
    Q_OBJECT

    // Colour properties hold a palette index (0..24), font properties a font index (0..6).
    // The on/off flags that are checked as exactly 0 or 1 are shorts, so that an automation true
    // (-1) reaches the check unchanged and is refused; the other flags are plain booleans.
    Q_PROPERTY(bool ShowToolTip READ GetShowToolTip WRITE SetShowToolTip)
    Q_PROPERTY(QString ToolTipText READ GetToolTipText WRITE SetToolTipText)
    Q_PROPERTY(short ControlBackGroundColor READ GetControlBackGroundColor WRITE SetControlBackGroundColor)
    Q_PROPERTY(short GraphBackGroundColor READ GetGraphBackGroundColor WRITE SetGraphBackGroundColor)
    Q_PROPERTY(
        double GraphBottomMarginPercent READ GetGraphBottomMarginPercent WRITE SetGraphBottomMarginPercent)
    Q_PROPERTY(double GraphLeftMarginPercent READ GetGraphLeftMarginPercent WRITE SetGraphLeftMarginPercent)
    Q_PROPERTY(
        double GraphRightMarginPercent READ GetGraphRightMarginPercent WRITE SetGraphRightMarginPercent)
    Q_PROPERTY(short GraphTextFont READ GetGraphTextFont WRITE SetGraphTextFont)
    Q_PROPERTY(short GraphTitleBoldOn READ GetGraphTitleBoldOn WRITE SetGraphTitleBoldOn)
    Q_PROPERTY(short GraphTitleColor READ GetGraphTitleColor WRITE SetGraphTitleColor)
    Q_PROPERTY(short GraphTitleOn READ GetGraphTitleOn WRITE SetGraphTitleOn)
    Q_PROPERTY(short GraphTitleSize READ GetGraphTitleSize WRITE SetGraphTitleSize)
    Q_PROPERTY(short GraphTitleUnderlineOn READ GetGraphTitleUnderlineOn WRITE SetGraphTitleUnderlineOn)
    Q_PROPERTY(double GraphTopMarginPercent READ GetGraphTopMarginPercent WRITE SetGraphTopMarginPercent)
    Q_PROPERTY(QString XAxisCaption READ GetXAxisCaption WRITE SetXAxisCaption)
    Q_PROPERTY(short XAxisCaptionColor READ GetXAxisCaptionColor WRITE SetXAxisCaptionColor)
    Q_PROPERTY(short XAxisCaptionOn READ GetXAxisCaptionOn WRITE SetXAxisCaptionOn)
    Q_PROPERTY(short XAxisCaptionSize READ GetXAxisCaptionSize WRITE SetXAxisCaptionSize)
    Q_PROPERTY(short XAxisMarkerMethod READ GetXAxisMarkerMethod WRITE SetXAxisMarkerMethod)
    Q_PROPERTY(double XAxisMarkerSpacing READ GetXAxisMarkerSpacing WRITE SetXAxisMarkerSpacing)
    Q_PROPERTY(short XAxisMarkerStyle READ GetXAxisMarkerStyle WRITE SetXAxisMarkerStyle)
    Q_PROPERTY(double XAxisMax READ GetXAxisMax WRITE SetXAxisMax)
    Q_PROPERTY(double XAxisMin READ GetXAxisMin WRITE SetXAxisMin)
    Q_PROPERTY(short XAxisValuesColor READ GetXAxisValuesColor WRITE SetXAxisValuesColor)
    Q_PROPERTY(short XAxisValuesDP READ GetXAxisValuesDP WRITE SetXAxisValuesDP)
    Q_PROPERTY(short XAxisValuesOn READ GetXAxisValuesOn WRITE SetXAxisValuesOn)
    Q_PROPERTY(short XAxisValuesSize READ GetXAxisValuesSize WRITE SetXAxisValuesSize)
    Q_PROPERTY(QString YAxisCaption READ GetYAxisCaption WRITE SetYAxisCaption)
    Q_PROPERTY(short YAxisCaptionColor READ GetYAxisCaptionColor WRITE SetYAxisCaptionColor)
    Q_PROPERTY(short YAxisCaptionOn READ GetYAxisCaptionOn WRITE SetYAxisCaptionOn)
    Q_PROPERTY(short YAxisCaptionSize READ GetYAxisCaptionSize WRITE SetYAxisCaptionSize)
    Q_PROPERTY(short YAxisMarkerMethod READ GetYAxisMarkerMethod WRITE SetYAxisMarkerMethod)
    Q_PROPERTY(double YAxisMarkerSpacing READ GetYAxisMarkerSpacing WRITE SetYAxisMarkerSpacing)
    Q_PROPERTY(short YAxisMarkerStyle READ GetYAxisMarkerStyle WRITE SetYAxisMarkerStyle)
    Q_PROPERTY(double YAxisMax READ GetYAxisMax WRITE SetYAxisMax)
    Q_PROPERTY(double YAxisMin READ GetYAxisMin WRITE SetYAxisMin)
    Q_PROPERTY(short YAxisValuesColor READ GetYAxisValuesColor WRITE SetYAxisValuesColor)
    Q_PROPERTY(short YAxisValuesDP READ GetYAxisValuesDP WRITE SetYAxisValuesDP)
    Q_PROPERTY(short YAxisValuesOn READ GetYAxisValuesOn WRITE SetYAxisValuesOn)
    Q_PROPERTY(short YAxisValuesSize READ GetYAxisValuesSize WRITE SetYAxisValuesSize)
    Q_PROPERTY(QString GraphTitle READ GetGraphTitle WRITE SetGraphTitle)
    Q_PROPERTY(QString XToolTipText READ GetXToolTipText WRITE SetXToolTipText)
    Q_PROPERTY(QString YToolTipText READ GetYToolTipText WRITE SetYToolTipText)
    Q_PROPERTY(bool PointMarkersOn READ GetPointMarkersOn WRITE SetPointMarkersOn)
    Q_PROPERTY(short XAxisType READ GetXAxisType WRITE SetXAxisType)
    Q_PROPERTY(short BandAxis READ GetBandAxis WRITE SetBandAxis)
    Q_PROPERTY(short NumberofBands READ GetNumberofBands WRITE SetNumberofBands)
    Q_PROPERTY(short Band1Color READ GetBand1Color WRITE SetBand1Color)
    Q_PROPERTY(short Band2Color READ GetBand2Color WRITE SetBand2Color)
    Q_PROPERTY(short Band3Color READ GetBand3Color WRITE SetBand3Color)
    Q_PROPERTY(double Band1Min READ GetBand1Min WRITE SetBand1Min)
    Q_PROPERTY(double Band1Max READ GetBand1Max WRITE SetBand1Max)
    Q_PROPERTY(double Band2Min READ GetBand2Min WRITE SetBand2Min)
    Q_PROPERTY(double Band2Max READ GetBand2Max WRITE SetBand2Max)
    Q_PROPERTY(double Band3Min READ GetBand3Min WRITE SetBand3Min)
    Q_PROPERTY(double Band3Max READ GetBand3Max WRITE SetBand3Max)
    Q_PROPERTY(float FFTBand1FMin READ GetFFTBand1FMin WRITE SetFFTBand1FMin)
    Q_PROPERTY(float FFTBand1FMax READ GetFFTBand1FMax WRITE SetFFTBand1FMax)
    Q_PROPERTY(float FFTBand1AlarmLevel READ GetFFTBand1AlarmLevel WRITE SetFFTBand1AlarmLevel)
    Q_PROPERTY(bool FFTBandsOn READ GetFFTBandsOn WRITE SetFFTBandsOn)
    Q_PROPERTY(float FFTBand2FMin READ GetFFTBand2FMin WRITE SetFFTBand2FMin)
    Q_PROPERTY(float FFTBand2FMax READ GetFFTBand2FMax WRITE SetFFTBand2FMax)
    Q_PROPERTY(float FFTBand2AlarmLevel READ GetFFTBand2AlarmLevel WRITE SetFFTBand2AlarmLevel)
    Q_PROPERTY(float FFTBand3FMin READ GetFFTBand3FMin WRITE SetFFTBand3FMin)
    Q_PROPERTY(float FFTBand3FMax READ GetFFTBand3FMax WRITE SetFFTBand3FMax)
    Q_PROPERTY(float FFTBand3AlarmLevel READ GetFFTBand3AlarmLevel WRITE SetFFTBand3AlarmLevel)
    Q_PROPERTY(float FFTBand4FMin READ GetFFTBand4FMin WRITE SetFFTBand4FMin)
    Q_PROPERTY(float FFTBand4FMax READ GetFFTBand4FMax WRITE SetFFTBand4FMax)
    Q_PROPERTY(float FFTBand4AlarmLevel READ GetFFTBand4AlarmLevel WRITE SetFFTBand4AlarmLevel)
    Q_PROPERTY(bool FFTGraphOn READ GetFFTGraphOn WRITE SetFFTGraphOn)
    Q_PROPERTY(bool ToolTipDateYOrXY READ GetToolTipDateYOrXY WRITE SetToolTipDateYOrXY)
    Q_PROPERTY(QString DateTranslation READ GetDateTranslation WRITE SetDateTranslation)
    Q_PROPERTY(
        QString AccelerometerTranslation READ GetAccelerometerTranslation WRITE SetAccelerometerTranslation)
    Q_PROPERTY(QString SensitiviyTranslation READ GetSensitiviyTranslation WRITE SetSensitiviyTranslation)
    Q_PROPERTY(bool ZoomAllowed READ GetZoomAllowed WRITE SetZoomAllowed)
    Q_PROPERTY(short Appearance READ GetAppearance WRITE SetAppearance)
    Q_PROPERTY(short BorderStyle READ GetBorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool GraphWaterfallOn READ GetGraphWaterfallOn WRITE SetGraphWaterfallOn)
    Q_PROPERTY(short XAxisOffset READ GetXAxisOffset WRITE SetXAxisOffset)
    Q_PROPERTY(short YAxisOffset READ GetYAxisOffset WRITE SetYAxisOffset)
    Q_PROPERTY(bool MultiplePointSelectAllowed READ GetMultiplePointSelectAllowed WRITE
                   SetMultiplePointSelectAllowed)
    Q_PROPERTY(QString TimeTranslation READ GetTimeTranslation WRITE SetTimeTranslation)
    Q_PROPERTY(short MainAxisWidthMinPercent READ GetMainAxisWidthMinPercent WRITE SetMainAxisWidthMinPercent)
    Q_PROPERTY(
        short MainAxisHeightMinPercent READ GetMainAxisHeightMinPercent WRITE SetMainAxisHeightMinPercent)
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    Q_PROPERTY(QString YAxisUnits READ GetYAxisUnits WRITE SetYAxisUnits)
    Q_PROPERTY(
        QString TakenWithRFIDTranslation READ GetTakenWithRFIDTranslation WRITE SetTakenWithRFIDTranslation)
    Q_PROPERTY(QString AccelTempTranslation READ GetAccelTempTranslation WRITE SetAccelTempTranslation)
    Q_PROPERTY(bool CursorEnabled READ GetCursorEnabled WRITE SetCursorEnabled)
    Q_PROPERTY(short CursorType READ GetCursorType WRITE SetCursorType)
    Q_PROPERTY(QString CursorTypeTranslation READ GetCursorTypeTranslation WRITE SetCursorTypeTranslation)
    Q_PROPERTY(QString SimpleTranslation READ GetSimpleTranslation WRITE SetSimpleTranslation)
    Q_PROPERTY(QString HarmonicTranslation READ GetHarmonicTranslation WRITE SetHarmonicTranslation)
    Q_PROPERTY(QString BearingTranslation READ GetBearingTranslation WRITE SetBearingTranslation)
    Q_PROPERTY(
        QString BearingFault1Translation READ GetBearingFault1Translation WRITE SetBearingFault1Translation)
    Q_PROPERTY(
        QString BearingFault2Translation READ GetBearingFault2Translation WRITE SetBearingFault2Translation)
    Q_PROPERTY(
        QString BearingFault3Translation READ GetBearingFault3Translation WRITE SetBearingFault3Translation)
    Q_PROPERTY(
        QString BearingFault4Translation READ GetBearingFault4Translation WRITE SetBearingFault4Translation)
    Q_PROPERTY(
        double BearingFault1Multiplier READ GetBearingFault1Multiplier WRITE SetBearingFault1Multiplier)
    Q_PROPERTY(
        double BearingFault2Multiplier READ GetBearingFault2Multiplier WRITE SetBearingFault2Multiplier)
    Q_PROPERTY(
        double BearingFault3Multiplier READ GetBearingFault3Multiplier WRITE SetBearingFault3Multiplier)
    Q_PROPERTY(
        double BearingFault4Multiplier READ GetBearingFault4Multiplier WRITE SetBearingFault4Multiplier)
    Q_PROPERTY(float CursorFundamental READ GetCursorFundamental WRITE SetCursorFundamental)

public:
    enum enumColors {
        Automatic = 0,
        Black,
        Red,
        BrightRed,
        Green,
        BrightGreen,
        Yellow,
        BrightYellow,
        Blue,
        BrightBlue,
        Magenta,
        BrightMagenta,
        Cyan,
        BrightCyan,
        LightGray,
        DarkGray,
        White
    };
    Q_ENUM(enumColors)
    enum enumFonts { Arial = 0, Courier, Symbol, Tahoma, TimesNewRoman, Wingdings, SystemFont };
    Q_ENUM(enumFonts)
    enum enumBandAxis { Y_Axis = 0, X_Axis };
    Q_ENUM(enumBandAxis)
    enum enumAxisMarker { Off = 0, Ticks, Gridlines };
    Q_ENUM(enumAxisMarker)
    enum enumAxisMarkerMethod { TickSpacing = 0, NumberofTicks, Exact };
    Q_ENUM(enumAxisMarkerMethod)
    enum enumXAxisType { Normal = 0, Time, Dates };
    Q_ENUM(enumXAxisType)
    enum enumBorderEffect { Flat = 0, Sunken };
    Q_ENUM(enumBorderEffect)

    // Where the control's message boxes go: the application shows them, a test host records them.
    using MessagePort = std::function<void(const QString& text)>;

    explicit CVantorGraphCtrl(QWidget* parent = nullptr);
    ~CVantorGraphCtrl() override;

    void setMessagePort(MessagePort port);

    // Container side of persistence. A newly inserted control is reset from the persisted
    // defaults; a stored one loads its bag (no validating setter runs; absent names take their
    // default). Saving writes every persisted property under its name.
    void resetToDefaults();
    void loadPropertyBag(const QVariantMap& bag);
    QVariantMap savePropertyBag() const;
    static QStringList persistedPropertyNames();

    // The documented delays, shortened by tests. The click timer waits the desktop's double-click
    // interval times clickWaitFactor before it reports a single click.
    struct Timing {
        int tooltipInitialDelayMs = 300;
        int tooltipReshowDelayMs = 200;
        int tooltipHideAfterMs = 32767;
        double clickWaitFactor = 1.01;
    };
    void setTiming(const Timing& timing);
    // The click timer's wait in milliseconds (truncated).
    int clickWaitMs() const;

    bool isModified() const;
    void setModified(bool modified);
    // Number of repaint requests since construction (every invalidation counts once).
    int repaintRequestCount() const;

    // The one paint routine: draws the whole control into rect on any painter (screen, image,
    // document) and records the layout (plot rectangle, screen positions) as a screen paint does.
    void paint(QPainter& painter, const QRect& rect);

    // Read-outs for hosts and tests.
    int seriesPointCount(int series) const;
    QList<QPoint> seriesScreenPositions(int series) const;
    QRect plotRect() const;
    // The tooltip window as the user sees it: whether it is up and its text.
    bool tooltipWindowVisible() const;
    QString tooltipWindowText() const;
    // Decimal places of the tooltip's Y value. By default (-1) the tooltip uses those of the Y axis
    // labels; a host whose read-out shows the value with more decimals sets them here, so that the
    // tooltip and the read-out agree. Not persisted; clamped to the label decimals' range.
    void setTooltipYDecimals(int decimals);
    int tooltipYDecimals() const;
    // Whether the mouse may grab and drag a cursor while the frequency bands are on. By default
    // (false) cursor interaction stops while FFTBandsOn is true, as documented for every host; a
    // host that draws band boxes behind cursors the user still moves sets true. Not persisted.
    void setCursorGrabWithBands(bool allowed);
    bool cursorGrabWithBands() const;
    // Host-side paint order, not persisted. With drawings behind the data on, the frequency bands
    // are painted before the traces instead of after them, so a band box never covers a line; off
    // (the default) keeps the documented order.
    void setDrawingsBehindData(bool behind);
    bool drawingsBehindData() const;
    // Host-side, for every control of the process, not persisted: the locale of the dates and
    // numbers the controls write (axis labels, tooltips) and, when given, the pattern of their
    // dates. By default (and after resetDisplayLocale) the user's regional settings, as documented;
    // a host that shows another language than the regional settings' sets that language's locale.
    static void setDisplayLocale(const QLocale& locale, const QString& datePattern = QString());
    // Also returns the Time axis captions to the documented ones.
    static void resetDisplayLocale();
    // Host-side, for every control, not persisted: the captions a Time axis shows instead of the
    // documented "time (secs)", "time (mins)" and "time (hours)" (a language's words).
    static void setTimeAxisCaptions(const QString& seconds, const QString& minutes, const QString& hours);
    // A host's own drawing over the plot (fault families), painted on the control's painter after
    // the axes and the run-speed marker and before the traces, so it never covers a line; in the
    // control's coordinates with the layout of this paint (plotRect, screen positions) in force.
    using Underlay = std::function<void(QPainter& painter)>;
    void setUnderlay(Underlay underlay);
    // Every per-point value of one point by name (x, y, screenX, screenY, dateTime, dateText,
    // timeText, readingGuid, accelerometerSerial, accelerometerMilliVolts, accelerometerTemperature,
    // takenWithRfid, rfidCode, markerRadius, markerShape, markerFill, markerColor); empty when absent.
    QVariantMap seriesPoint(int series, int point) const;
    struct CursorReadout {
        QString name; // "simple", "harmonic N", "runspeed", "fault I harmonic J"
        double x = 0;
        double y = 0;
        QRect line;
        QRect handle;
    };
    QList<CursorReadout> cursorReadouts() const;
    // The X of the cursor the user moves (simple, selected harmonic, running speed); -100 when
    // cursors are off or it stands nowhere.
    double currentCursorX() const;
    // Stands that cursor on the point of series 0 whose X is nearest to x (of several with that X,
    // the highest), whatever the pixels between points; dependent cursors and events follow as for
    // a drag. For hosts that step cursors line by line.
    void placeCursorAtValue(double x);

    // Property accessors (the READ and WRITE functions of the properties above).
    bool GetShowToolTip() const;
    void SetShowToolTip(bool value);
    QString GetToolTipText() const;
    void SetToolTipText(const QString& value);
    short GetControlBackGroundColor() const;
    void SetControlBackGroundColor(short value);
    short GetGraphBackGroundColor() const;
    void SetGraphBackGroundColor(short value);
    double GetGraphBottomMarginPercent() const;
    void SetGraphBottomMarginPercent(double value);
    double GetGraphLeftMarginPercent() const;
    void SetGraphLeftMarginPercent(double value);
    double GetGraphRightMarginPercent() const;
    void SetGraphRightMarginPercent(double value);
    short GetGraphTextFont() const;
    void SetGraphTextFont(short value);
    short GetGraphTitleBoldOn() const;
    void SetGraphTitleBoldOn(short value);
    short GetGraphTitleColor() const;
    void SetGraphTitleColor(short value);
    short GetGraphTitleOn() const;
    void SetGraphTitleOn(short value);
    short GetGraphTitleSize() const;
    void SetGraphTitleSize(short value);
    short GetGraphTitleUnderlineOn() const;
    void SetGraphTitleUnderlineOn(short value);
    double GetGraphTopMarginPercent() const;
    void SetGraphTopMarginPercent(double value);
    QString GetXAxisCaption() const;
    void SetXAxisCaption(const QString& value);
    short GetXAxisCaptionColor() const;
    void SetXAxisCaptionColor(short value);
    short GetXAxisCaptionOn() const;
    void SetXAxisCaptionOn(short value);
    short GetXAxisCaptionSize() const;
    void SetXAxisCaptionSize(short value);
    short GetXAxisMarkerMethod() const;
    void SetXAxisMarkerMethod(short value);
    double GetXAxisMarkerSpacing() const;
    void SetXAxisMarkerSpacing(double value);
    short GetXAxisMarkerStyle() const;
    void SetXAxisMarkerStyle(short value);
    double GetXAxisMax() const;
    void SetXAxisMax(double value);
    double GetXAxisMin() const;
    void SetXAxisMin(double value);
    short GetXAxisValuesColor() const;
    void SetXAxisValuesColor(short value);
    short GetXAxisValuesDP() const;
    void SetXAxisValuesDP(short value);
    short GetXAxisValuesOn() const;
    void SetXAxisValuesOn(short value);
    short GetXAxisValuesSize() const;
    void SetXAxisValuesSize(short value);
    QString GetYAxisCaption() const;
    void SetYAxisCaption(const QString& value);
    short GetYAxisCaptionColor() const;
    void SetYAxisCaptionColor(short value);
    short GetYAxisCaptionOn() const;
    void SetYAxisCaptionOn(short value);
    short GetYAxisCaptionSize() const;
    void SetYAxisCaptionSize(short value);
    short GetYAxisMarkerMethod() const;
    void SetYAxisMarkerMethod(short value);
    double GetYAxisMarkerSpacing() const;
    void SetYAxisMarkerSpacing(double value);
    short GetYAxisMarkerStyle() const;
    void SetYAxisMarkerStyle(short value);
    double GetYAxisMax() const;
    void SetYAxisMax(double value);
    double GetYAxisMin() const;
    void SetYAxisMin(double value);
    short GetYAxisValuesColor() const;
    void SetYAxisValuesColor(short value);
    short GetYAxisValuesDP() const;
    void SetYAxisValuesDP(short value);
    short GetYAxisValuesOn() const;
    void SetYAxisValuesOn(short value);
    short GetYAxisValuesSize() const;
    void SetYAxisValuesSize(short value);
    QString GetGraphTitle() const;
    void SetGraphTitle(const QString& value);
    QString GetXToolTipText() const;
    void SetXToolTipText(const QString& value);
    QString GetYToolTipText() const;
    void SetYToolTipText(const QString& value);
    bool GetPointMarkersOn() const;
    void SetPointMarkersOn(bool value);
    short GetXAxisType() const;
    void SetXAxisType(short value);
    short GetBandAxis() const;
    void SetBandAxis(short value);
    short GetNumberofBands() const;
    void SetNumberofBands(short value);
    short GetBand1Color() const;
    void SetBand1Color(short value);
    short GetBand2Color() const;
    void SetBand2Color(short value);
    short GetBand3Color() const;
    void SetBand3Color(short value);
    double GetBand1Min() const;
    void SetBand1Min(double value);
    double GetBand1Max() const;
    void SetBand1Max(double value);
    double GetBand2Min() const;
    void SetBand2Min(double value);
    double GetBand2Max() const;
    void SetBand2Max(double value);
    double GetBand3Min() const;
    void SetBand3Min(double value);
    double GetBand3Max() const;
    void SetBand3Max(double value);
    float GetFFTBand1FMin() const;
    void SetFFTBand1FMin(float value);
    float GetFFTBand1FMax() const;
    void SetFFTBand1FMax(float value);
    float GetFFTBand1AlarmLevel() const;
    void SetFFTBand1AlarmLevel(float value);
    bool GetFFTBandsOn() const;
    void SetFFTBandsOn(bool value);
    float GetFFTBand2FMin() const;
    void SetFFTBand2FMin(float value);
    float GetFFTBand2FMax() const;
    void SetFFTBand2FMax(float value);
    float GetFFTBand2AlarmLevel() const;
    void SetFFTBand2AlarmLevel(float value);
    float GetFFTBand3FMin() const;
    void SetFFTBand3FMin(float value);
    float GetFFTBand3FMax() const;
    void SetFFTBand3FMax(float value);
    float GetFFTBand3AlarmLevel() const;
    void SetFFTBand3AlarmLevel(float value);
    float GetFFTBand4FMin() const;
    void SetFFTBand4FMin(float value);
    float GetFFTBand4FMax() const;
    void SetFFTBand4FMax(float value);
    float GetFFTBand4AlarmLevel() const;
    void SetFFTBand4AlarmLevel(float value);
    bool GetFFTGraphOn() const;
    void SetFFTGraphOn(bool value);
    bool GetToolTipDateYOrXY() const;
    void SetToolTipDateYOrXY(bool value);
    QString GetDateTranslation() const;
    void SetDateTranslation(const QString& value);
    QString GetAccelerometerTranslation() const;
    void SetAccelerometerTranslation(const QString& value);
    QString GetSensitiviyTranslation() const;
    void SetSensitiviyTranslation(const QString& value);
    bool GetZoomAllowed() const;
    void SetZoomAllowed(bool value);
    short GetAppearance() const;
    void SetAppearance(short value);
    short GetBorderStyle() const;
    void SetBorderStyle(short value);
    bool GetGraphWaterfallOn() const;
    void SetGraphWaterfallOn(bool value);
    short GetXAxisOffset() const;
    void SetXAxisOffset(short value);
    short GetYAxisOffset() const;
    void SetYAxisOffset(short value);
    bool GetMultiplePointSelectAllowed() const;
    void SetMultiplePointSelectAllowed(bool value);
    QString GetTimeTranslation() const;
    void SetTimeTranslation(const QString& value);
    short GetMainAxisWidthMinPercent() const;
    void SetMainAxisWidthMinPercent(short value);
    short GetMainAxisHeightMinPercent() const;
    void SetMainAxisHeightMinPercent(short value);
    bool GetEnabled() const;
    void SetEnabled(bool value);
    QString GetYAxisUnits() const;
    void SetYAxisUnits(const QString& value);
    QString GetTakenWithRFIDTranslation() const;
    void SetTakenWithRFIDTranslation(const QString& value);
    QString GetAccelTempTranslation() const;
    void SetAccelTempTranslation(const QString& value);
    bool GetCursorEnabled() const;
    void SetCursorEnabled(bool value);
    short GetCursorType() const;
    void SetCursorType(short value);
    QString GetCursorTypeTranslation() const;
    void SetCursorTypeTranslation(const QString& value);
    QString GetSimpleTranslation() const;
    void SetSimpleTranslation(const QString& value);
    QString GetHarmonicTranslation() const;
    void SetHarmonicTranslation(const QString& value);
    QString GetBearingTranslation() const;
    void SetBearingTranslation(const QString& value);
    QString GetBearingFault1Translation() const;
    void SetBearingFault1Translation(const QString& value);
    QString GetBearingFault2Translation() const;
    void SetBearingFault2Translation(const QString& value);
    QString GetBearingFault3Translation() const;
    void SetBearingFault3Translation(const QString& value);
    QString GetBearingFault4Translation() const;
    void SetBearingFault4Translation(const QString& value);
    double GetBearingFault1Multiplier() const;
    void SetBearingFault1Multiplier(double value);
    double GetBearingFault2Multiplier() const;
    void SetBearingFault2Multiplier(double value);
    double GetBearingFault3Multiplier() const;
    void SetBearingFault3Multiplier(double value);
    double GetBearingFault4Multiplier() const;
    void SetBearingFault4Multiplier(double value);
    float GetCursorFundamental() const;
    void SetCursorFundamental(float value);

    // Methods of the automation interface. Series numbers out of range give -1 without a message;
    // refused arguments show their message and give -1. Colours are RGB values R + 256 G + 65536 B.
    Q_INVOKABLE void DoClick();
    // Shows "VantorGraph Control, Version 1.0" (through the message port when one is set).
    Q_INVOKABLE void AboutBox();
    Q_INVOKABLE void LanguageChanged();
    Q_INVOKABLE short RemoveSeriesConfig(short nSeriesNumber);
    Q_INVOKABLE short GetSeriesCount() const;
    Q_INVOKABLE short SetSeriesPointMarker(short nSeriesNumber, const QDateTime& dateDateTime,
                                           short nMarkerRadius, short nMarkerShape, short nMarkerFill,
                                           short nMarkerColor);
    Q_INVOKABLE short ZoomMinMaxAndPercent(short iZoomPercent, double fXAxisZoomMin, double fXAxisZooomMax,
                                           double fYAxisZoomMin, double fYAxisZoomMax);
    Q_INVOKABLE void AddHarmonicCursor();
    Q_INVOKABLE void RemoveHarmonicCursor();
    Q_INVOKABLE void NudgeCursorRight(short aiCount);
    Q_INVOKABLE void NudgeCursorLeft(short aiCount);
    Q_INVOKABLE void ShowRunSpeed(int abShow, float afRunSpeed);
    Q_INVOKABLE void ReFireCursorData();
    Q_INVOKABLE short SetSeriesMarkerConfig(short nSeriesNumber, short nUnselectedRadius,
                                            short nUnselectedShape, short nUnselectedFill,
                                            int clrUnselectedColor, short nSelectedRadius,
                                            short nSelectedShape, short nSelectedFill, int clrSelectedColor);
    Q_INVOKABLE short SetSeriesConfig(short nSeriesNumber, int clrLineColor, short nLineWidth,
                                      short nLineStyle, short nTraceOn);
    Q_INVOKABLE short AddSeriesConfig(int clrLineColor, short nLineWidth, short nLineStyle, short nTraceOn);
    Q_INVOKABLE short SetSeriesData(short nSeriesNumber, float fXValue, float fYValue,
                                    const QDateTime& dateDateTime, const QString& sMPReadingGUID,
                                    const QString& sAccelerometerSN, float fAccelerometermV,
                                    float fAccelerometerTemp, int bTakenWithRFID, const QString& sRFIDCode,
                                    short iMarkerRadius, short iMarkerShape, short iMarkerFill,
                                    short iMarkerColor, short iAddClearUpdate);
    // The two arrays are the host's own arrays, passed by reference within the process.
    Q_INVOKABLE short SetSeriesDataArray(short nSeriesNumber, const QList<double>& pdXValueArray,
                                         const QList<double>& pdYValueArray, int bClear);

signals:
    void Click();
    void MouseDown(short Button, short Shift, int x, int y);
    void PointClicked(short nSeries, short nPoint, const QString& sMPReadingGUID);
    void PointRightClicked(short nSeries, short nPoint, const QString& sMPReadingGUID);
    void DblClick();
    void RightButtonClicked(short nFlags, short xPoint, short yPoint);
    void LeftButtonClicked(short nFlags, short xPoint, short yPoint);
    void ZoomFinishedUpdate();
    void SimpleCursorInfo(double dXValue, double dYValue);
    void HarmonicCursorInfo(short nPos, double dXValue, double dYValue);
    void BearingRSCursorInfo(double dXValue, double dYValue);
    void BearingHarmonicCursorInfo(short iFaultPos, short iFaultHarmonic, double dXValue, double dYValue);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
