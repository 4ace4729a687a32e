#include "platform/ConsolePrompter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using vantor::ConsoleAnswers;
using vantor::ConsolePrompter;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

QByteArray ReadAll(std::FILE* f) {
    std::rewind(f);
    QByteArray out;
    char buffer[256];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        out.append(buffer, static_cast<qsizetype>(n));
    }
    return out;
}

File InputOf(const char* text) {
    File f(std::tmpfile());
    std::fputs(text, f.get());
    std::rewind(f.get());
    return f;
}

} // namespace

TEST(ConsolePrompter, WritesEveryTextAsOneLineKeepingInnerLineBreaks) {
    File out(std::tmpfile());
    ConsolePrompter prompter({}, out.get(), nullptr);
    prompter.ShowMessage(QStringLiteral("Name cannot contain:\r\n* $\r\nPlease re-type!"));
    prompter.ShowMessage(QString::fromUtf8("5 µm"));
    prompter.AskRetryCancel(QStringLiteral("No Cradle detected"));
    EXPECT_EQ(
        ReadAll(out.get()),
        QByteArray("Name cannot contain:\r\n* $\r\nPlease re-type!\n5 \xc2\xb5m\nNo Cradle detected\n"));
}

TEST(ConsolePrompter, PresetYesNoAnswersWithoutReadingInput) {
    File out(std::tmpfile());
    File in = InputOf("n\n");
    ConsoleAnswers answers;
    answers.yesNo = true;
    ConsolePrompter prompter(answers, out.get(), in.get());
    EXPECT_TRUE(prompter.AskYesNo(QStringLiteral("Continue?")));
    EXPECT_EQ(ReadAll(out.get()), QByteArray("Continue?\n"));
}

TEST(ConsolePrompter, UnsetYesNoReadsTheAnswerAndTreatsEndOfInputAsNo) {
    File out(std::tmpfile());
    File in = InputOf("YES\nmaybe\n");
    ConsolePrompter prompter({}, out.get(), in.get());
    EXPECT_TRUE(prompter.AskYesNo(QStringLiteral("Q1")));
    EXPECT_FALSE(prompter.AskYesNo(QStringLiteral("Q2")));
    EXPECT_FALSE(prompter.AskYesNo(QStringLiteral("Q3")));
}

TEST(ConsolePrompter, RetriesRunOutThenCancel) {
    File out(std::tmpfile());
    ConsoleAnswers answers;
    answers.retries = 2;
    ConsolePrompter prompter(answers, out.get(), nullptr);
    EXPECT_TRUE(prompter.AskRetryCancel(QStringLiteral("x")));
    EXPECT_TRUE(prompter.AskRetryCancel(QStringLiteral("x")));
    EXPECT_FALSE(prompter.AskRetryCancel(QStringLiteral("x")));
}

TEST(ConsolePrompter, PresetNameAndDateAreOfferedOnlyOnTheFirstAttempt) {
    File out(std::tmpfile());
    ConsoleAnswers answers;
    answers.name = QStringLiteral("Meter A");
    answers.dateFix = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
    ConsolePrompter prompter(answers, out.get(), nullptr);
    vantor::NameRequest name;
    EXPECT_EQ(prompter.PromptName(name), QStringLiteral("Meter A"));
    name.attempt = 1;
    EXPECT_FALSE(prompter.PromptName(name).has_value());
    vantor::DateFixRequest date;
    EXPECT_EQ(prompter.PromptDateFix(date), answers.dateFix);
    date.attempt = 1;
    EXPECT_FALSE(prompter.PromptDateFix(date).has_value());
    EXPECT_FALSE(ConsolePrompter({}, out.get(), nullptr).PromptName({}).has_value());
}
