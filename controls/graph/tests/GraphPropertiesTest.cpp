#include "GraphTestSupport.h"

#include "GraphPalette.h"

#include <QImage>
#include <QMetaProperty>
#include <QPainter>

namespace {

TEST(GraphFactory, CreatesByProgIdOrClassIdOnly) {
    EXPECT_TRUE(createVantorGraphControl(QStringLiteral("VANTORGRAPH.VantorGraphCtrl.1")));
    EXPECT_TRUE(createVantorGraphControl(QStringLiteral("{d39d332d-5e11-4e0d-ba45-4f9d01d3f82c}")));
    EXPECT_FALSE(createVantorGraphControl(QStringLiteral("VANTORGRAPH.VantorGraphPropPage.1")));
    EXPECT_FALSE(createVantorGraphControl(QString::fromLatin1(VantorGraphIds::LibraryId)));
}

TEST(GraphConstruction, ZoomIsAllowedUntilResetFromThePersistedDefaults) {
    auto graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
    EXPECT_TRUE(graph->property("ZoomAllowed").toBool());
    graph->resetToDefaults();
    EXPECT_FALSE(graph->property("ZoomAllowed").toBool());
}

using GraphProperties = GraphFixture;

TEST_F(GraphProperties, NewControlReadsItsDefaultsByName) {
    const std::vector<std::pair<const char*, QVariant>> expected = {
        {"ZoomAllowed", false},
        {"PointMarkersOn", true},
        {"XToolTipText", QStringLiteral("x")},
        {"YToolTipText", QStringLiteral("y")},
        {"GraphTextFont", 3},
        {"GraphLeftMarginPercent", 10.0},
        {"GraphRightMarginPercent", 10.0},
        {"GraphTopMarginPercent", 10.0},
        {"GraphBottomMarginPercent", 10.0},
        {"GraphTitleColor", 8},
        {"XAxisMarkerMethod", 1},
        {"YAxisMarkerSpacing", 5.0},
        {"XAxisMax", 10.0},
        {"CursorType", -1},
        {"XAxisOffset", 15},
        {"MainAxisWidthMinPercent", 30},
        {"HarmonicTranslation", QStringLiteral("Harmoinc")},
        {"AccelTempTranslation", QStringLiteral("Accelerometer Temperature")},
        {"BearingFault1Translation", QStringLiteral("IR")},
        {"BearingFault4Translation", QStringLiteral("RE")},
        {"BearingFault2Multiplier", 0.0},
        {"CursorFundamental", 0.0},
        {"Enabled", true},
    };
    for (const auto& [name, value] : expected) {
        const QVariant actual = graph->property(name);
        ASSERT_TRUE(actual.isValid()) << name;
        EXPECT_EQ(actual.toString(), value.toString()) << name;
    }
}

TEST_F(GraphProperties, EveryPropertyIsWritableByName) {
    const QMetaObject* meta = graph->metaObject();
    int count = 0;
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        EXPECT_TRUE(meta->property(i).isWritable()) << meta->property(i).name();
        ++count;
    }
    EXPECT_EQ(count, 103);
}

struct FamilyCase {
    const char* property;
    QVariant refused;
    const char* message;
    QVariant taken;
};

TEST_F(GraphProperties, ValidatingSettersRefuseWithTheirMessageAndKeepTheValue) {
    const std::vector<FamilyCase> cases = {
        {"GraphTitleColor", 25, "ERROR!! nGraphTitleColor must be between 0 & 24!!", 24},
        {"ControlBackGroundColor", -1, "ERROR!! nControlBackGroundColor must be between 0 & 24!!", 17},
        {"Band3Color", 25, "ERROR!! nBand3Color must be between 0 & 24!!", 1},
        {"GraphTitleOn", -1, "ERROR!! bGraphTitleOn must be 0(false) or 1(true)!!", 1},
        {"XAxisCaptionOn", 2, "ERROR!! bXAxisCaptionOn must be 0(false) or 1(true)!!", 1},
        {"YAxisCaptionOn", -1, "ERROR!! bYAxisCaptionOn must be a 0(false) or 1(true)!!", 1},
        {"XAxisValuesOn", -1, "ERROR!! bXAxisValuesOn must be a 0(false) or 1(true)!!", 1},
        {"XAxisMarkerStyle", 3, "ERROR!! nXAxisMarkerStyle must be between 0 & 3!!", 2},
        {"YAxisMarkerStyle", 3, "ERROR!! nYAxisMarkerStyle must be between 0 & 3!!", 0},
        {"YAxisMarkerMethod", 2, "ERROR!! nYAxisMarkerMethod must be between 0 & 1!!", 0},
        {"XAxisMarkerMethod", 3, "ERROR!! nXAxisMarkerMethod must be between 0 & 2!!", 2},
        {"GraphTextFont", 7, "ERROR!! nTextFont must be between 0 & 6!!", 6},
        {"GraphTopMarginPercent", 100.5, "ERROR!! fTopMarginPercent must be between 0 & 100!!", 100.0},
        {"GraphLeftMarginPercent", -0.01, "ERROR!! fLeftMarginPercent must be between 0 & 100!!", 0.0},
        {"XAxisValuesDP", 4, "ERROR!! nXAxisValuesDP must be between 0 & 3!!", 3},
        {"BandAxis", 2, "ERROR!! nBandAxis must be between 0 & 1!!", 1},
        {"NumberofBands", 4, "ERROR!! nNumberofBands must be between 0 & 3!!", 3},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE(c.property);
        const QVariant before = graph->property(c.property);
        messages.clear();
        graph->setModified(false);
        repaints();
        ASSERT_TRUE(graph->setProperty(c.property, c.refused));
        EXPECT_EQ(messages, QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(graph->property(c.property), before);
        EXPECT_FALSE(graph->isModified());
        EXPECT_EQ(repaints(), 0);

        messages.clear();
        ASSERT_TRUE(graph->setProperty(c.property, c.taken));
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(graph->property(c.property).toDouble(), c.taken.toDouble());
        EXPECT_TRUE(graph->isModified());
        EXPECT_EQ(repaints(), 1);
    }
}

TEST_F(GraphProperties, AnAutomationTrueIsTakenByAPlainFlag) {
    graph->setProperty("PointMarkersOn", false);
    graph->setProperty("PointMarkersOn", -1);
    EXPECT_TRUE(graph->property("PointMarkersOn").toBool());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GraphProperties, MarkerSpacingFollowsTheAxisMethod) {
    graph->setProperty("XAxisMin", -50.0);
    graph->setProperty("XAxisMax", 20.0);
    graph->setProperty("XAxisMarkerMethod", 0);
    graph->setProperty("XAxisMarkerSpacing", 50.0);
    EXPECT_EQ(graph->property("XAxisMarkerSpacing").toDouble(), 50.0);
    graph->setProperty("XAxisMarkerSpacing", 50.5);
    graph->setProperty("XAxisMarkerSpacing", -1.0);
    EXPECT_EQ(messages,
              QStringList(2, QStringLiteral("ERROR!! fXAxisMarkerSpacing must be between 0 & fMax!!")));
    EXPECT_EQ(graph->property("XAxisMarkerSpacing").toDouble(), 50.0);

    graph->setProperty("XAxisMarkerMethod", 1);
    graph->setProperty("XAxisMarkerSpacing", -7.5);
    EXPECT_EQ(graph->property("XAxisMarkerSpacing").toDouble(), -7.5);

    graph->setProperty("XAxisMarkerMethod", 2);
    graph->setModified(false);
    repaints();
    graph->setProperty("XAxisMarkerSpacing", 3.0);
    EXPECT_EQ(graph->property("XAxisMarkerSpacing").toDouble(), -7.5);
    EXPECT_TRUE(graph->isModified());
    EXPECT_EQ(repaints(), 1);

    graph->setProperty("YAxisMarkerMethod", 0);
    graph->setProperty("YAxisMarkerSpacing", 10.5);
    EXPECT_EQ(messages.last(), QStringLiteral("ERROR!! fYAxisMarkerSpacing must be between 0 & fMax!!"));
}

TEST_F(GraphProperties, IgnoredWritesChangeNothing) {
    graph->setProperty("XAxisOffset", 40);
    graph->setProperty("CursorType", 0);
    graph->setProperty("CursorFundamental", 3.0f);
    EXPECT_EQ(graph->property("XAxisOffset").toInt(), 15);
    EXPECT_EQ(graph->property("CursorType").toInt(), -1);
    EXPECT_EQ(graph->property("CursorFundamental").toFloat(), 0.0f);
    EXPECT_FALSE(graph->isModified());
    EXPECT_EQ(repaints(), 0);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(GraphProperties, WaterfallOffsetKeepsTheFrontTraceItsShare) {
    graph->setProperty("GraphLeftMarginPercent", 0.0);
    graph->setProperty("GraphRightMarginPercent", 0.0);
    graph->setProperty("GraphWaterfallOn", true);
    for (int s = 0; s < 3; ++s) {
        graph->AddSeriesConfig(0, 1, 0, 1);
        graph->SetSeriesDataArray(static_cast<short>(s), {1.0, 2.0}, {1.0, 2.0}, 0);
    }
    QImage image(400, 300, QImage::Format_ARGB32);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    ASSERT_EQ(graph->plotRect().width(), 400);
    // Two traces behind the front one; the front keeps 30 % of 400 pixels.
    graph->setProperty("XAxisOffset", 100);
    EXPECT_EQ(graph->property("XAxisOffset").toInt(), 100);
    graph->setProperty("XAxisOffset", 150);
    EXPECT_EQ(graph->property("XAxisOffset").toInt(), 140);
}

TEST_F(GraphProperties, TooltipWritesMarkModifiedWithoutRepaint) {
    graph->setProperty("ShowToolTip", true);
    graph->setProperty("ToolTipText", QStringLiteral("tip"));
    EXPECT_TRUE(graph->isModified());
    EXPECT_EQ(repaints(), 0);
}

TEST_F(GraphProperties, FaultRecordsCarryTheirLabelsAndMultipliers) {
    graph->setProperty("BearingFault2Translation", QStringLiteral("AR"));
    EXPECT_EQ(graph->property("BearingFault2Translation").toString(), QStringLiteral("AR"));
    graph->setModified(false);
    graph->setProperty("BearingFault3Multiplier", 3.57);
    EXPECT_DOUBLE_EQ(graph->property("BearingFault3Multiplier").toDouble(), 3.57);
    EXPECT_FALSE(graph->isModified()); // not the bearing cursor type: no placement
}

TEST_F(GraphProperties, SavedBagLoadsToTheSameValues) {
    graph->setProperty("GraphTitle", QStringLiteral("Trend"));
    graph->setProperty("GraphTitleColor", 12);
    graph->setProperty("ZoomAllowed", true);
    graph->setProperty("FFTBand2FMax", 123.5f);
    graph->setProperty("XAxisMarkerSpacing", 2.5);
    graph->setProperty("DateTranslation", QStringLiteral("Datum")); // not persisted
    const QVariantMap bag = graph->savePropertyBag();
    EXPECT_EQ(QStringList(bag.keys()), CVantorGraphCtrl::persistedPropertyNames());
    EXPECT_FALSE(bag.contains(QStringLiteral("DateTranslation")));

    auto loaded = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::CoclassId));
    loaded->loadPropertyBag(bag);
    EXPECT_EQ(loaded->savePropertyBag(), bag);
    EXPECT_EQ(loaded->property("GraphTitle").toString(), QStringLiteral("Trend"));
    EXPECT_TRUE(loaded->property("ZoomAllowed").toBool());
}

TEST_F(GraphProperties, LoadingRunsNoSetterAndAbsentNamesTakeTheirDefault) {
    graph->setProperty("XToolTipText", QStringLiteral("changed"));
    graph->loadPropertyBag({{QStringLiteral("GraphTitleColor"), 30}, {QStringLiteral("GraphTitleOn"), -1}});
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(graph->property("GraphTitleColor").toInt(), 30);
    EXPECT_EQ(graph->property("GraphTitleOn").toInt(), -1);
    EXPECT_EQ(graph->property("XToolTipText").toString(), QStringLiteral("x"));
    EXPECT_FALSE(graph->property("ZoomAllowed").toBool());
}

TEST_F(GraphProperties, PaintFillsTheBackgroundsFromThePalette) {
    graph->loadPropertyBag(
        {{QStringLiteral("ControlBackGroundColor"), 30}, {QStringLiteral("GraphBackGroundColor"), 24}});
    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::green);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    painter.end();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 0, 0));      // index 30 paints black
    EXPECT_EQ(image.pixelColor(100, 50), QColor(0, 0, 255)); // index 24 is pure blue like 9
    EXPECT_EQ(graph->plotRect(), QRect(20, 10, 160, 80));
}

TEST_F(GraphProperties, TitleMovesThePlotBelowItsTextHeight) {
    graph->setProperty("GraphTitleOn", 1);
    graph->setProperty("GraphTopMarginPercent", 0.0);
    QImage image(200, 100, QImage::Format_ARGB32);
    QPainter painter(&image);
    graph->paint(painter, image.rect());
    EXPECT_GT(graph->plotRect().top(), 0);
    EXPECT_LT(graph->plotRect().top(), 30);
}

TEST(GraphPaletteAndFonts, TablesAsPublished) {
    const QColor ambient(10, 20, 30);
    EXPECT_EQ(paletteColor(0, ambient), ambient);
    EXPECT_EQ(paletteColor(14, ambient), QColor(128, 128, 128));
    EXPECT_EQ(paletteColor(15, ambient), QColor(192, 192, 192));
    EXPECT_EQ(paletteColor(17, ambient), QColor(255, 128, 0));
    EXPECT_EQ(paletteColor(24, ambient), paletteColor(9, ambient));
    EXPECT_EQ(paletteColor(25, ambient), QColor(0, 0, 0));
    EXPECT_EQ(paletteColor(-3, ambient), QColor(0, 0, 0));
    EXPECT_EQ(colorFromRgbValue(0x00C080), QColor(0x80, 0xC0, 0x00));

    EXPECT_EQ(graphFont(1).faceName, QStringLiteral("Courier New"));
    EXPECT_FALSE(graphFont(3).systemFont);
    EXPECT_TRUE(graphFont(6).systemFont);
    EXPECT_FALSE(graphFont(6).faceName.isEmpty());
    EXPECT_TRUE(graphFont(7).faceName.isEmpty());
}

} // namespace

namespace {
using GraphAbout = GraphFixture;

TEST_F(GraphAbout, AboutBoxNamesTheControlAndItsVersion) {
    QMetaObject::invokeMethod(graph.get(), "AboutBox");
    EXPECT_EQ(messages, QStringList{QStringLiteral("VantorGraph Control, Version 1.0")});
}
} // namespace
