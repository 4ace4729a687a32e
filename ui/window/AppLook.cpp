#include "ui/window/AppLook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace vantor {
namespace {

QPalette DarkPalette() {
    QPalette palette;
    const QColor window(53, 56, 60);
    const QColor base(35, 38, 41);
    const QColor text(230, 230, 230);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
    return palette;
}

// A light look with a blue title band on menus and headers.
const char* const kSteelSheet = R"(
QMenuBar { background: #dde6ef; }
QMenuBar::item:selected { background: #b6c9dc; }
QHeaderView::section { background: #dde6ef; border: 0px; border-right: 1px solid #b6c9dc;
                       border-bottom: 1px solid #b6c9dc; padding: 3px; }
QTreeView, QTableView { selection-background-color: #3d7ab8; }
QStatusBar { background: #dde6ef; }
)";

// The dark look keeps a light status bar: its captions are label controls with their own (dark)
// text colours, green and red among them.
const char* const kDarkSheet = R"(
QStatusBar { background: #c9ced3; }
QStatusBar QWidget { background: #c9ced3; color: black; }
)";

} // namespace

const std::vector<AppLook>& AppLooks() {
    static const std::vector<AppLook> looks = {
        {116, QStringLiteral("Fusion"), QStringLiteral("Fusion"), false, {}},
        {117, QStringLiteral("Fusion Steel"), QStringLiteral("Fusion"), false,
         QString::fromLatin1(kSteelSheet)},
        {118, QStringLiteral("Fusion Dark"), QStringLiteral("Fusion"), true, QString::fromLatin1(kDarkSheet)},
        {119, QStringLiteral("Windows"), QStringLiteral("Windows"), false, {}},
    };
    return looks;
}

const AppLook& AppLookFor(int id) {
    for (const AppLook& look : AppLooks()) {
        if (look.id == id) {
            return look;
        }
    }
    return AppLooks().front();
}

void ApplyAppLook(const AppLook& look) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return;
    }
    if (QStyle* style = QStyleFactory::create(look.style)) {
        QApplication::setStyle(style); // the application takes the style over
    }
    QApplication::setPalette(look.dark ? DarkPalette() : QApplication::style()->standardPalette());
    app->setStyleSheet(look.styleSheet);
}

} // namespace vantor
