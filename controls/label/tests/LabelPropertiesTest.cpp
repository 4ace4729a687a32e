// The automation surface: factory, properties by name, methods, the Click event and the bag.
#include "LabelTestSupport.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>

namespace {

struct FactoryCase {
    const char* name;
    bool creates;
};

TEST(LabelFactory, CreatesByProgIdOrClassIdOnly) {
    const FactoryCase cases[] = {
        {"VANTORLABEL.VantorLabelCtrl.1", true},
        {"vantorlabel.vantorlabelctrl.1", true},
        {"{FD69F239-B64A-47F2-A84A-6F0FEDBCE690}", true},
        {"{fd69f239-b64a-47f2-a84a-6f0fedbce690}", true},
        {"VANTORLABEL.VantorLabelPropPage.1", false},
        {"{48FF012B-8712-4930-8E88-6DF2580D1A46}", false}, // the type library, not the coclass
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(createVantorLabelControl(QString::fromLatin1(c.name)) != nullptr, c.creates) << c.name;
}

struct PropertyCase {
    const char* name;
    const char* type;
    QVariant initial;
    QVariant written; // outside any sensible range where the type allows: no write is range-tested
};

const QList<PropertyCase>& propertyCases() {
    static const QList<PropertyCase> cases = {
        {"BackGroundColor", "short", short(0), short(99)},
        {"FontName", "short", short(3), short(-7)},
        {"Size", "short", short(14), short(-3)},
        {"Color", "short", short(1), short(17)},
        {"UnderlineOn", "bool", false, true},
        {"BoldOn", "bool", false, true},
        {"ItalicOn", "bool", false, true},
        {"StrikethroughOn", "bool", false, true},
        {"Rotation", "short", short(0), short(9)},
        {"WordWrapOn", "bool", false, true},
        {"HorizontalAlignment", "short", short(1), short(5)},
        {"VerticalAlignment", "short", short(1), short(-1)},
        {"Caption", "QString", QStringLiteral("Label"), QStringLiteral("&Alarm\tlevel")},
        {"BorderStyle", "short", short(0), short(3)},
        {"Enabled", "bool", true, false},
        {"ColorAlt", "int", 0, rgbValue(255, 0, 0)},
        {"BorderEffect", "short", short(0), short(4)},
        {"BackGroundColorSelect", "short", short(0), short(2)},
        {"ColorSelect", "short", short(0), short(1)},
        {"FontNameByString", "QString", QString(), QStringLiteral("Courier New")},
        {"TextShadowColor", "int", 0, rgbValue(1, 2, 3)},
        {"TextShadowOn", "bool", false, true},
        {"GradientBkFillOn", "bool", false, true},
    };
    return cases;
}

using LabelProperties = LabelFixture;

TEST_F(LabelProperties, NewLabelHasEveryPropertyWithItsInitialValue) {
    for (const auto& c : propertyCases()) {
        const int index = label->metaObject()->indexOfProperty(c.name);
        ASSERT_GE(index, 0) << c.name;
        EXPECT_STREQ(label->metaObject()->property(index).typeName(), c.type) << c.name;
        EXPECT_EQ(label->property(c.name), c.initial) << c.name;
    }
    // The alternative background starts as the container's background.
    EXPECT_EQ(label->property("BackGroundColorAlt").toInt(),
              rgbValue(ambient().red(), ambient().green(), ambient().blue()));
    EXPECT_EQ(label->textShadowOffset(), QMargins());
}

TEST_F(LabelProperties, EveryWriteStoresMarksModifiedAndRepaintsOnce) {
    for (const auto& c : propertyCases()) {
        label->setModified(false);
        repaints();
        ASSERT_TRUE(label->setProperty(c.name, c.written)) << c.name;
        EXPECT_EQ(label->property(c.name), c.written) << c.name;
        EXPECT_TRUE(label->isModified()) << c.name;
        EXPECT_EQ(repaints(), 1) << c.name;
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(LabelProperties, AnAutomationTrueReachesABooleanAsTrue) {
    ASSERT_TRUE(label->setProperty("BoldOn", -1));
    EXPECT_TRUE(label->GetBoldOn());
}

TEST_F(LabelProperties, DisablingAlsoStopsMouseInput) {
    label->SetEnabled(false);
    EXPECT_FALSE(label->isEnabled());
    QSignalSpy clicks(label.get(), &CVantorLabelCtrl::Click);
    QTest::mouseClick(label.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(LabelProperties, ShadowOffsetTakesLeftRightTopBottom) {
    const QMetaMethod method = label->metaObject()->method(
        label->metaObject()->indexOfMethod("SetTextShadowOffset(short,short,short,short)"));
    ASSERT_TRUE(method.isValid());
    EXPECT_EQ(method.parameterNames(), (QList<QByteArray>{"Left", "Right", "Top", "Bottom"}));
    ASSERT_TRUE(QMetaObject::invokeMethod(label.get(), "SetTextShadowOffset", Q_ARG(short, 1),
                                          Q_ARG(short, 2), Q_ARG(short, 3), Q_ARG(short, 4)));
    // Stored in rectangle order: left 1, top 3, right 2, bottom 4.
    EXPECT_EQ(label->textShadowOffset(), QMargins(1, 3, 2, 4));
    EXPECT_TRUE(label->isModified());
    EXPECT_EQ(repaints(), 1);
}

TEST_F(LabelProperties, DoClickAndALeftClickFireClick) {
    QSignalSpy clicks(label.get(), &CVantorLabelCtrl::Click);
    ASSERT_TRUE(QMetaObject::invokeMethod(label.get(), "DoClick"));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(label.get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 2);
    QTest::mouseClick(label.get(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(LabelProperties, AboutBoxShowsNameAndVersion) {
    ASSERT_TRUE(QMetaObject::invokeMethod(label.get(), "AboutBox"));
    EXPECT_EQ(messages, QStringList{QStringLiteral("VantorLabel Control, Version 1.0")});
}

// ---------------------------------------------------------------------------------------------
// Property bag

TEST_F(LabelProperties, PersistedNamesInExchangeOrder) {
    EXPECT_EQ(
        CVantorLabelCtrl::persistedPropertyNames(),
        (QStringList{"BorderStyle", "Enabled", "BackGroundColorAlt", "ColorAlt", "BackGroundColor", "Color",
                     "Caption", "FontName", "Size", "UnderlineOn", "BoldOn", "ItalicOn", "StrikethroughOn",
                     "Rotation", "WordWrapOn", "HorizontalAlignment", "VerticalAlignment", "BorderEffect"}));
    QStringList saved = label->savePropertyBag().keys();
    QStringList names = CVantorLabelCtrl::persistedPropertyNames();
    saved.sort();
    names.sort();
    EXPECT_EQ(saved, names);
}

TEST_F(LabelProperties, SavedBagLoadsIntoAnotherLabelWithoutSetters) {
    for (const auto& c : propertyCases())
        label->setProperty(c.name, c.written);
    const QVariantMap bag = label->savePropertyBag();

    auto stored = createVantorLabelControl(QString::fromLatin1(VantorLabelIds::CoclassId));
    stored->loadPropertyBag(bag);
    EXPECT_FALSE(stored->isModified());
    for (const QString& name : CVantorLabelCtrl::persistedPropertyNames())
        EXPECT_EQ(stored->property(name.toLatin1().constData()), label->property(name.toLatin1().constData()))
            << name.toStdString();
    // Run-time properties are not in the bag and keep their initial values.
    EXPECT_EQ(stored->GetColorSelect(), 0);
    EXPECT_EQ(stored->GetFontNameByString(), QString());
    EXPECT_FALSE(stored->isEnabled());
}

TEST_F(LabelProperties, AbsentOrUnreadableBagValuesTakeTheirDefaults) {
    label->loadPropertyBag({{"Size", QStringLiteral("large")},
                            {"Color", 70000}, // does not fit a short
                            {"Rotation", 2.0},
                            {"Caption", QStringLiteral("Stored")},
                            {"ColorAlt", rgbValue(0, 0, 255)}});
    EXPECT_EQ(label->GetSize(), 14);
    EXPECT_EQ(label->GetColor(), 1);
    EXPECT_EQ(label->GetRotation(), 2);
    EXPECT_EQ(label->GetCaption(), QStringLiteral("Stored"));
    EXPECT_EQ(label->GetColorAlt(), rgbValue(0, 0, 255));
    EXPECT_EQ(label->GetFontName(), 3);
    EXPECT_TRUE(label->GetEnabled());
}

TEST_F(LabelProperties, LoadingRepaintsAndLeavesRunTimeValues) {
    label->SetColorSelect(1);
    repaints();
    label->loadPropertyBag({});
    EXPECT_EQ(repaints(), 1);
    EXPECT_EQ(label->GetColorSelect(), 1);
    EXPECT_FALSE(label->isModified());
}

} // namespace
