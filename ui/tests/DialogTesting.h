#pragma once
// What the desktop's widget tests share: acting on a modal dialog as the user would, and pictures
// of dialogs to look at.

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vantor::testing {

// Acts on the next modal dialog once it is up.
inline void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            WhenModal(act);
            return;
        }
        act(modal);
    });
}

// Saves a picture of a widget into $VANTOR_DIALOG_GRABS (when set) as NAME.png.
inline void Grab(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("VANTOR_DIALOG_GRABS");
    if (folder.isEmpty()) {
        return;
    }
    widget.show();
    QApplication::processEvents();
    widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace vantor::testing
