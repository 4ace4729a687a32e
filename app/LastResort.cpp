#include "app/LastResort.h"

#include "platform/Prompter.h"
#include "store/SqlConnection.h"
#include "texts/UiText.h"

namespace vantor {

bool DeliverGuarded(const std::function<bool()>& deliver, Prompter* prompter, const QString& receiver,
                    const QLoggingCategory& category) {
    try {
        return deliver();
    } catch (const DatabaseError& error) {
        qCCritical(category) << "a database error reached the event loop at" << receiver << ":"
                             << error.what();
        if (prompter != nullptr) {
            prompter->ShowMessage(UiText(text::ConnectionErrorTryAgain));
        }
    } catch (const std::exception& error) {
        qCCritical(category) << "an error reached the event loop at" << receiver << ":" << error.what();
    }
    return false;
}

} // namespace vantor
