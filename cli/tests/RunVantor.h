#pragma once
// Runs the built `vantor` program as a user would and collects what it printed. Standard input is
// closed at once (no answers) unless an input is given.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

namespace vantor::testing {

struct VantorRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline VantorRun RunVantor(const QStringList& arguments,
                           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                           const std::optional<QByteArray>& input = std::nullopt) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VANTOR_CLI_PATH), arguments);
    if (input) {
        process.write(*input);
    }
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace vantor::testing
