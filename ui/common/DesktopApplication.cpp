#include "ui/common/DesktopApplication.h"

#include "app/LastResort.h"
#include "ui/common/Log.h"

namespace vantor {

DesktopApplication::DesktopApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool DesktopApplication::notify(QObject* receiver, QEvent* event) {
    return DeliverGuarded(
        [&] { return QApplication::notify(receiver, event); }, prompter_,
        receiver != nullptr ? QString::fromLatin1(receiver->metaObject()->className()) : QString(), lcUi());
}

} // namespace vantor
