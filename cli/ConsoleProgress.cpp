#include "cli/ConsoleProgress.h"

#include "texts/UiText.h"

#include <unistd.h>

#include <cstdio>

namespace vantor::cli {

ConsoleProgress::ConsoleProgress() : terminal_(isatty(fileno(stderr)) != 0) {}

ConsoleProgress::~ConsoleProgress() {
    if (drawn_) {
        std::fputs("\n", stderr);
    }
}

void ConsoleProgress::Enumerating(const QString& section) {
    Draw(section + QStringLiteral(": ") + UiText(text::Enumerating), -1);
}

void ConsoleProgress::Step(const QString& section, int done, int total) {
    if (done == total || done % 50 == 0) {
        Draw(DataFileStepText(section, done, total), total > 0 ? done * 100 / total : 100);
    }
}

void ConsoleProgress::Draw(const QString& label, int percent) {
    if (!terminal_) {
        return;
    }
    constexpr int kWidth = 30;
    const int filled = percent < 0 ? 0 : percent * kWidth / 100;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(kWidth - filled, QLatin1Char('.'));
    std::fprintf(stderr, "\r\033[K[%s] %s", qUtf8Printable(bar), qUtf8Printable(label));
    std::fflush(stderr);
    drawn_ = true;
}

} // namespace vantor::cli
