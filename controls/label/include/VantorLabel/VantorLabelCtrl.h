// The label control: one caption drawn in a rectangle with palette or RGB colours, an optional
// gradient background, a border effect, rotation, alignment, word wrap, a drop shadow and a font
// that shrinks until the text fits. Its automation surface (properties, methods, the Click event)
// is published through Qt's meta-object system, so a host sets and reads properties and calls
// methods by name exactly as an automation container does.
#pragma once

#include <VantorLabel/vantorlabel_export.h>

#include <QMargins>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;

class VANTORLABEL_EXPORT CVantorLabelCtrl : public QWidget {
    Q_OBJECT

    // Colour properties hold a palette index (0..16, any other value draws black), FontName a font
    // index (0..6); the ...Alt and shadow colours are RGB values R + 256 G + 65536 B. No write is
    // range-tested: every write stores the value, marks the control modified and repaints it.
    Q_PROPERTY(short BackGroundColor READ GetBackGroundColor WRITE SetBackGroundColor)
    Q_PROPERTY(short FontName READ GetFontName WRITE SetFontName)
    Q_PROPERTY(short Size READ GetSize WRITE SetSize)
    Q_PROPERTY(short Color READ GetColor WRITE SetColor)
    Q_PROPERTY(bool UnderlineOn READ GetUnderlineOn WRITE SetUnderlineOn)
    Q_PROPERTY(bool BoldOn READ GetBoldOn WRITE SetBoldOn)
    Q_PROPERTY(bool ItalicOn READ GetItalicOn WRITE SetItalicOn)
    Q_PROPERTY(bool StrikethroughOn READ GetStrikethroughOn WRITE SetStrikethroughOn)
    Q_PROPERTY(short Rotation READ GetRotation WRITE SetRotation)
    Q_PROPERTY(bool WordWrapOn READ GetWordWrapOn WRITE SetWordWrapOn)
    Q_PROPERTY(short HorizontalAlignment READ GetHorizontalAlignment WRITE SetHorizontalAlignment)
    Q_PROPERTY(short VerticalAlignment READ GetVerticalAlignment WRITE SetVerticalAlignment)
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
    Q_PROPERTY(short BorderStyle READ GetBorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool Enabled READ GetEnabled WRITE SetEnabled)
    Q_PROPERTY(int BackGroundColorAlt READ GetBackGroundColorAlt WRITE SetBackGroundColorAlt)
    Q_PROPERTY(int ColorAlt READ GetColorAlt WRITE SetColorAlt)
    Q_PROPERTY(short BorderEffect READ GetBorderEffect WRITE SetBorderEffect)
    Q_PROPERTY(short BackGroundColorSelect READ GetBackGroundColorSelect WRITE SetBackGroundColorSelect)
    Q_PROPERTY(short ColorSelect READ GetColorSelect WRITE SetColorSelect)
    Q_PROPERTY(QString FontNameByString READ GetFontNameByString WRITE SetFontNameByString)
    Q_PROPERTY(int TextShadowColor READ GetTextShadowColor WRITE SetTextShadowColor)
    Q_PROPERTY(bool TextShadowOn READ GetTextShadowOn WRITE SetTextShadowOn)
    Q_PROPERTY(bool GradientBkFillOn READ GetGradientBkFillOn WRITE SetGradientBkFillOn)

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
    enum enumHorizontalAlignment { Left = 0, Center, Right };
    Q_ENUM(enumHorizontalAlignment)
    enum enumVerticalAlignment { Top = 0, Middle, Bottom };
    Q_ENUM(enumVerticalAlignment)
    enum enumBorderEffect { Flat = 0, Raised, Sunken, Etched };
    Q_ENUM(enumBorderEffect)
    enum enumTextRotation { Zero = 0, Ninety, OneEighty, TwoSeventy };
    Q_ENUM(enumTextRotation)
    enum enumColorSelect { DropDown = 0, RGB };
    Q_ENUM(enumColorSelect)

    // Where the control's message boxes go: the application shows them, a test host records them.
    using MessagePort = std::function<void(const QString& text)>;

    explicit CVantorLabelCtrl(QWidget* parent = nullptr);
    ~CVantorLabelCtrl() override;

    void setMessagePort(MessagePort port);

    // Container side of persistence. A newly inserted control is reset from the persisted
    // defaults; a stored one loads its bag (no setter runs; absent or unreadable names take their
    // default). Saving writes every persisted property under its name. Either leaves the control
    // unmodified.
    void resetToDefaults();
    void loadPropertyBag(const QVariantMap& bag);
    QVariantMap savePropertyBag() const;
    // The persisted names in exchange order: the stock BorderStyle and Enabled, then the control's own.
    static QStringList persistedPropertyNames();

    bool isModified() const;
    void setModified(bool modified);
    // Number of repaint requests since construction (every invalidation counts once).
    int repaintRequestCount() const;

    // The one paint routine: draws the whole control into rect on any painter (screen, image,
    // document). Fitting the caption may lower Size, which then reads back the lowered value.
    void paint(QPainter& painter, const QRect& rect);
    // The rectangle the caption was laid out in by the last paint (inside the border effect).
    QRect textRect() const;

    // Offsets added to the text rectangle's left, top, right and bottom edges to give the shadow's.
    QMargins textShadowOffset() const;

    // Property accessors (the READ and WRITE functions of the properties above).
    short GetBackGroundColor() const;
    void SetBackGroundColor(short value);
    short GetFontName() const;
    void SetFontName(short value);
    short GetSize() const;
    void SetSize(short value);
    short GetColor() const;
    void SetColor(short value);
    bool GetUnderlineOn() const;
    void SetUnderlineOn(bool value);
    bool GetBoldOn() const;
    void SetBoldOn(bool value);
    bool GetItalicOn() const;
    void SetItalicOn(bool value);
    bool GetStrikethroughOn() const;
    void SetStrikethroughOn(bool value);
    short GetRotation() const;
    void SetRotation(short value);
    bool GetWordWrapOn() const;
    void SetWordWrapOn(bool value);
    short GetHorizontalAlignment() const;
    void SetHorizontalAlignment(short value);
    short GetVerticalAlignment() const;
    void SetVerticalAlignment(short value);
    QString GetCaption() const;
    void SetCaption(const QString& value);
    short GetBorderStyle() const;
    void SetBorderStyle(short value);
    bool GetEnabled() const;
    void SetEnabled(bool value);
    int GetBackGroundColorAlt() const;
    void SetBackGroundColorAlt(int value);
    int GetColorAlt() const;
    void SetColorAlt(int value);
    short GetBorderEffect() const;
    void SetBorderEffect(short value);
    short GetBackGroundColorSelect() const;
    void SetBackGroundColorSelect(short value);
    short GetColorSelect() const;
    void SetColorSelect(short value);
    QString GetFontNameByString() const;
    void SetFontNameByString(const QString& value);
    int GetTextShadowColor() const;
    void SetTextShadowColor(int value);
    bool GetTextShadowOn() const;
    void SetTextShadowOn(bool value);
    bool GetGradientBkFillOn() const;
    void SetGradientBkFillOn(bool value);

    // Methods of the automation interface. Note the parameter order left, right, top, bottom.
    Q_INVOKABLE void SetTextShadowOffset(short Left, short Right, short Top, short Bottom);
    Q_INVOKABLE void DoClick();
    // Shows "VantorLabel Control, Version 1.0" (through the message port when one is set).
    Q_INVOKABLE void AboutBox();

signals:
    // A left click on the enabled control, or DoClick.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
