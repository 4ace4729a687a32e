#include "GraphPersistence.h"

namespace {
template <typename T> T read(const QVariantMap& bag, const QString& name, const T& fallback) {
    const auto it = bag.constFind(name);
    if (it == bag.constEnd())
        return fallback;
    QVariant value = *it;
    if (!value.convert(QMetaType::fromType<T>()))
        return fallback;
    return value.value<T>();
}
} // namespace

QVariantMap savePersisted(const GraphProperties& p) {
    QVariantMap bag;
    bag.insert(QStringLiteral("ShowToolTip"), QVariant::fromValue(p.ShowToolTip));
    bag.insert(QStringLiteral("ToolTipText"), QVariant::fromValue(p.ToolTipText));
    bag.insert(QStringLiteral("ControlBackGroundColor"), QVariant::fromValue(p.ControlBackGroundColor));
    bag.insert(QStringLiteral("GraphBackGroundColor"), QVariant::fromValue(p.GraphBackGroundColor));
    bag.insert(QStringLiteral("GraphBottomMarginPercent"), QVariant::fromValue(p.GraphBottomMarginPercent));
    bag.insert(QStringLiteral("GraphLeftMarginPercent"), QVariant::fromValue(p.GraphLeftMarginPercent));
    bag.insert(QStringLiteral("GraphRightMarginPercent"), QVariant::fromValue(p.GraphRightMarginPercent));
    bag.insert(QStringLiteral("GraphTextFont"), QVariant::fromValue(p.GraphTextFont));
    bag.insert(QStringLiteral("GraphTitleBoldOn"), QVariant::fromValue(p.GraphTitleBoldOn));
    bag.insert(QStringLiteral("GraphTitleColor"), QVariant::fromValue(p.GraphTitleColor));
    bag.insert(QStringLiteral("GraphTitleOn"), QVariant::fromValue(p.GraphTitleOn));
    bag.insert(QStringLiteral("GraphTitleSize"), QVariant::fromValue(p.GraphTitleSize));
    bag.insert(QStringLiteral("GraphTitleUnderlineOn"), QVariant::fromValue(p.GraphTitleUnderlineOn));
    bag.insert(QStringLiteral("GraphTopMarginPercent"), QVariant::fromValue(p.GraphTopMarginPercent));
    bag.insert(QStringLiteral("XAxisCaption"), QVariant::fromValue(p.XAxisCaption));
    bag.insert(QStringLiteral("XAxisCaptionColor"), QVariant::fromValue(p.XAxisCaptionColor));
    bag.insert(QStringLiteral("XAxisCaptionOn"), QVariant::fromValue(p.XAxisCaptionOn));
    bag.insert(QStringLiteral("XAxisCaptionSize"), QVariant::fromValue(p.XAxisCaptionSize));
    bag.insert(QStringLiteral("XAxisMarkerMethod"), QVariant::fromValue(p.XAxisMarkerMethod));
    bag.insert(QStringLiteral("XAxisMarkerSpacing"), QVariant::fromValue(p.XAxisMarkerSpacing));
    bag.insert(QStringLiteral("XAxisMarkerStyle"), QVariant::fromValue(p.XAxisMarkerStyle));
    bag.insert(QStringLiteral("XAxisMax"), QVariant::fromValue(p.XAxisMax));
    bag.insert(QStringLiteral("XAxisMin"), QVariant::fromValue(p.XAxisMin));
    bag.insert(QStringLiteral("XAxisValuesColor"), QVariant::fromValue(p.XAxisValuesColor));
    bag.insert(QStringLiteral("XAxisValuesDP"), QVariant::fromValue(p.XAxisValuesDP));
    bag.insert(QStringLiteral("XAxisValuesOn"), QVariant::fromValue(p.XAxisValuesOn));
    bag.insert(QStringLiteral("XAxisValuesSize"), QVariant::fromValue(p.XAxisValuesSize));
    bag.insert(QStringLiteral("YAxisCaption"), QVariant::fromValue(p.YAxisCaption));
    bag.insert(QStringLiteral("YAxisCaptionColor"), QVariant::fromValue(p.YAxisCaptionColor));
    bag.insert(QStringLiteral("YAxisCaptionOn"), QVariant::fromValue(p.YAxisCaptionOn));
    bag.insert(QStringLiteral("YAxisCaptionSize"), QVariant::fromValue(p.YAxisCaptionSize));
    bag.insert(QStringLiteral("YAxisMarkerMethod"), QVariant::fromValue(p.YAxisMarkerMethod));
    bag.insert(QStringLiteral("YAxisMarkerSpacing"), QVariant::fromValue(p.YAxisMarkerSpacing));
    bag.insert(QStringLiteral("YAxisMarkerStyle"), QVariant::fromValue(p.YAxisMarkerStyle));
    bag.insert(QStringLiteral("YAxisMax"), QVariant::fromValue(p.YAxisMax));
    bag.insert(QStringLiteral("YAxisMin"), QVariant::fromValue(p.YAxisMin));
    bag.insert(QStringLiteral("YAxisValuesColor"), QVariant::fromValue(p.YAxisValuesColor));
    bag.insert(QStringLiteral("YAxisValuesDP"), QVariant::fromValue(p.YAxisValuesDP));
    bag.insert(QStringLiteral("YAxisValuesOn"), QVariant::fromValue(p.YAxisValuesOn));
    bag.insert(QStringLiteral("YAxisValuesSize"), QVariant::fromValue(p.YAxisValuesSize));
    bag.insert(QStringLiteral("GraphTitle"), QVariant::fromValue(p.GraphTitle));
    bag.insert(QStringLiteral("XToolTipText"), QVariant::fromValue(p.XToolTipText));
    bag.insert(QStringLiteral("YToolTipText"), QVariant::fromValue(p.YToolTipText));
    bag.insert(QStringLiteral("PointMarkersOn"), QVariant::fromValue(p.PointMarkersOn));
    bag.insert(QStringLiteral("XAxisType"), QVariant::fromValue(p.XAxisType));
    bag.insert(QStringLiteral("BandAxis"), QVariant::fromValue(p.BandAxis));
    bag.insert(QStringLiteral("NumberofBands"), QVariant::fromValue(p.NumberofBands));
    bag.insert(QStringLiteral("Band1Color"), QVariant::fromValue(p.Band1Color));
    bag.insert(QStringLiteral("Band2Color"), QVariant::fromValue(p.Band2Color));
    bag.insert(QStringLiteral("Band3Color"), QVariant::fromValue(p.Band3Color));
    bag.insert(QStringLiteral("Band1Min"), QVariant::fromValue(p.Band1Min));
    bag.insert(QStringLiteral("Band1Max"), QVariant::fromValue(p.Band1Max));
    bag.insert(QStringLiteral("Band2Min"), QVariant::fromValue(p.Band2Min));
    bag.insert(QStringLiteral("Band2Max"), QVariant::fromValue(p.Band2Max));
    bag.insert(QStringLiteral("Band3Min"), QVariant::fromValue(p.Band3Min));
    bag.insert(QStringLiteral("Band3Max"), QVariant::fromValue(p.Band3Max));
    bag.insert(QStringLiteral("FFTBand1FMin"), QVariant::fromValue(p.FFTBand1FMin));
    bag.insert(QStringLiteral("FFTBand1FMax"), QVariant::fromValue(p.FFTBand1FMax));
    bag.insert(QStringLiteral("FFTBand1AlarmLevel"), QVariant::fromValue(p.FFTBand1AlarmLevel));
    bag.insert(QStringLiteral("FFTBandsOn"), QVariant::fromValue(p.FFTBandsOn));
    bag.insert(QStringLiteral("FFTBand2FMin"), QVariant::fromValue(p.FFTBand2FMin));
    bag.insert(QStringLiteral("FFTBand2FMax"), QVariant::fromValue(p.FFTBand2FMax));
    bag.insert(QStringLiteral("FFTBand2AlarmLevel"), QVariant::fromValue(p.FFTBand2AlarmLevel));
    bag.insert(QStringLiteral("FFTBand3FMin"), QVariant::fromValue(p.FFTBand3FMin));
    bag.insert(QStringLiteral("FFTBand3FMax"), QVariant::fromValue(p.FFTBand3FMax));
    bag.insert(QStringLiteral("FFTBand3AlarmLevel"), QVariant::fromValue(p.FFTBand3AlarmLevel));
    bag.insert(QStringLiteral("FFTBand4FMin"), QVariant::fromValue(p.FFTBand4FMin));
    bag.insert(QStringLiteral("FFTBand4FMax"), QVariant::fromValue(p.FFTBand4FMax));
    bag.insert(QStringLiteral("FFTBand4AlarmLevel"), QVariant::fromValue(p.FFTBand4AlarmLevel));
    bag.insert(QStringLiteral("ZoomAllowed"), QVariant::fromValue(p.ZoomAllowed));
    bag.insert(QStringLiteral("Appearance"), QVariant::fromValue(p.Appearance));
    bag.insert(QStringLiteral("BorderStyle"), QVariant::fromValue(p.BorderStyle));
    return bag;
}

void loadPersisted(GraphProperties& p, const QVariantMap& bag) {
    p.ShowToolTip = read<bool>(bag, QStringLiteral("ShowToolTip"), false);
    p.ToolTipText = read<QString>(bag, QStringLiteral("ToolTipText"), QString());
    p.ControlBackGroundColor = read<short>(bag, QStringLiteral("ControlBackGroundColor"), 0);
    p.GraphBackGroundColor = read<short>(bag, QStringLiteral("GraphBackGroundColor"), 0);
    p.GraphBottomMarginPercent = read<double>(bag, QStringLiteral("GraphBottomMarginPercent"), 10.0);
    p.GraphLeftMarginPercent = read<double>(bag, QStringLiteral("GraphLeftMarginPercent"), 10.0);
    p.GraphRightMarginPercent = read<double>(bag, QStringLiteral("GraphRightMarginPercent"), 10.0);
    p.GraphTextFont = read<short>(bag, QStringLiteral("GraphTextFont"), 3);
    p.GraphTitleBoldOn = read<short>(bag, QStringLiteral("GraphTitleBoldOn"), 0);
    p.GraphTitleColor = read<short>(bag, QStringLiteral("GraphTitleColor"), 8);
    p.GraphTitleOn = read<short>(bag, QStringLiteral("GraphTitleOn"), 0);
    p.GraphTitleSize = read<short>(bag, QStringLiteral("GraphTitleSize"), 12);
    p.GraphTitleUnderlineOn = read<short>(bag, QStringLiteral("GraphTitleUnderlineOn"), 0);
    p.GraphTopMarginPercent = read<double>(bag, QStringLiteral("GraphTopMarginPercent"), 10.0);
    p.XAxisCaption = read<QString>(bag, QStringLiteral("XAxisCaption"), QString());
    p.XAxisCaptionColor = read<short>(bag, QStringLiteral("XAxisCaptionColor"), 8);
    p.XAxisCaptionOn = read<short>(bag, QStringLiteral("XAxisCaptionOn"), 0);
    p.XAxisCaptionSize = read<short>(bag, QStringLiteral("XAxisCaptionSize"), 12);
    p.XAxisMarkerMethod = read<short>(bag, QStringLiteral("XAxisMarkerMethod"), 1);
    p.XAxisMarkerSpacing = read<double>(bag, QStringLiteral("XAxisMarkerSpacing"), 5.0);
    p.XAxisMarkerStyle = read<short>(bag, QStringLiteral("XAxisMarkerStyle"), 1);
    p.XAxisMax = read<double>(bag, QStringLiteral("XAxisMax"), 10.0);
    p.XAxisMin = read<double>(bag, QStringLiteral("XAxisMin"), 0.0);
    p.XAxisValuesColor = read<short>(bag, QStringLiteral("XAxisValuesColor"), 8);
    p.XAxisValuesDP = read<short>(bag, QStringLiteral("XAxisValuesDP"), 0);
    p.XAxisValuesOn = read<short>(bag, QStringLiteral("XAxisValuesOn"), 0);
    p.XAxisValuesSize = read<short>(bag, QStringLiteral("XAxisValuesSize"), 12);
    p.YAxisCaption = read<QString>(bag, QStringLiteral("YAxisCaption"), QString());
    p.YAxisCaptionColor = read<short>(bag, QStringLiteral("YAxisCaptionColor"), 8);
    p.YAxisCaptionOn = read<short>(bag, QStringLiteral("YAxisCaptionOn"), 0);
    p.YAxisCaptionSize = read<short>(bag, QStringLiteral("YAxisCaptionSize"), 12);
    p.YAxisMarkerMethod = read<short>(bag, QStringLiteral("YAxisMarkerMethod"), 1);
    p.YAxisMarkerSpacing = read<double>(bag, QStringLiteral("YAxisMarkerSpacing"), 5.0);
    p.YAxisMarkerStyle = read<short>(bag, QStringLiteral("YAxisMarkerStyle"), 1);
    p.YAxisMax = read<double>(bag, QStringLiteral("YAxisMax"), 10.0);
    p.YAxisMin = read<double>(bag, QStringLiteral("YAxisMin"), 0.0);
    p.YAxisValuesColor = read<short>(bag, QStringLiteral("YAxisValuesColor"), 8);
    p.YAxisValuesDP = read<short>(bag, QStringLiteral("YAxisValuesDP"), 0);
    p.YAxisValuesOn = read<short>(bag, QStringLiteral("YAxisValuesOn"), 0);
    p.YAxisValuesSize = read<short>(bag, QStringLiteral("YAxisValuesSize"), 12);
    p.GraphTitle = read<QString>(bag, QStringLiteral("GraphTitle"), QString());
    p.XToolTipText = read<QString>(bag, QStringLiteral("XToolTipText"), QStringLiteral("x"));
    p.YToolTipText = read<QString>(bag, QStringLiteral("YToolTipText"), QStringLiteral("y"));
    p.PointMarkersOn = read<bool>(bag, QStringLiteral("PointMarkersOn"), true);
    p.XAxisType = read<short>(bag, QStringLiteral("XAxisType"), 0);
    p.BandAxis = read<short>(bag, QStringLiteral("BandAxis"), 0);
    p.NumberofBands = read<short>(bag, QStringLiteral("NumberofBands"), 0);
    p.Band1Color = read<short>(bag, QStringLiteral("Band1Color"), 0);
    p.Band2Color = read<short>(bag, QStringLiteral("Band2Color"), 0);
    p.Band3Color = read<short>(bag, QStringLiteral("Band3Color"), 0);
    p.Band1Min = read<double>(bag, QStringLiteral("Band1Min"), 0.0);
    p.Band1Max = read<double>(bag, QStringLiteral("Band1Max"), 0.0);
    p.Band2Min = read<double>(bag, QStringLiteral("Band2Min"), 0.0);
    p.Band2Max = read<double>(bag, QStringLiteral("Band2Max"), 0.0);
    p.Band3Min = read<double>(bag, QStringLiteral("Band3Min"), 0.0);
    p.Band3Max = read<double>(bag, QStringLiteral("Band3Max"), 0.0);
    p.FFTBand1FMin = read<float>(bag, QStringLiteral("FFTBand1FMin"), 0.0f);
    p.FFTBand1FMax = read<float>(bag, QStringLiteral("FFTBand1FMax"), 0.0f);
    p.FFTBand1AlarmLevel = read<float>(bag, QStringLiteral("FFTBand1AlarmLevel"), 0.0f);
    p.FFTBandsOn = read<bool>(bag, QStringLiteral("FFTBandsOn"), false);
    p.FFTBand2FMin = read<float>(bag, QStringLiteral("FFTBand2FMin"), 0.0f);
    p.FFTBand2FMax = read<float>(bag, QStringLiteral("FFTBand2FMax"), 0.0f);
    p.FFTBand2AlarmLevel = read<float>(bag, QStringLiteral("FFTBand2AlarmLevel"), 0.0f);
    p.FFTBand3FMin = read<float>(bag, QStringLiteral("FFTBand3FMin"), 0.0f);
    p.FFTBand3FMax = read<float>(bag, QStringLiteral("FFTBand3FMax"), 0.0f);
    p.FFTBand3AlarmLevel = read<float>(bag, QStringLiteral("FFTBand3AlarmLevel"), 0.0f);
    p.FFTBand4FMin = read<float>(bag, QStringLiteral("FFTBand4FMin"), 0.0f);
    p.FFTBand4FMax = read<float>(bag, QStringLiteral("FFTBand4FMax"), 0.0f);
    p.FFTBand4AlarmLevel = read<float>(bag, QStringLiteral("FFTBand4AlarmLevel"), 0.0f);
    p.ZoomAllowed = read<bool>(bag, QStringLiteral("ZoomAllowed"), false);
    p.Appearance = read<short>(bag, QStringLiteral("Appearance"), 0);
    p.BorderStyle = read<short>(bag, QStringLiteral("BorderStyle"), 0);
}

QStringList persistedNames() {
    return savePersisted(GraphProperties{}).keys();
}
