#include "app/CommandLine.h"

namespace vantor {

bool HasDataFileExtension(const QString& path, const QString& extension) {
    return !extension.isEmpty() && path.size() >= extension.size() &&
           path.right(extension.size()) == extension;
}

QString KeptDataFileArgument(const QStringList& arguments, const QString& extension) {
    // The first argument that is not an option names the file, as on the platform's shell.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-'))) {
            return HasDataFileExtension(argument, extension) ? argument : QString();
        }
    }
    return {};
}

} // namespace vantor
