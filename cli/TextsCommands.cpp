// texts: applies a language and prints the UI text table.
#include "app/Startup.h"
#include "cli/CommandContext.h"
#include "cli/ExitCode.h"
#include "texts/UiText.h"

#include <cstdio>
#include <optional>
#include <string>

namespace vantor::cli {
namespace {

// One entry per line: line breaks inside a text are written as the escapes "\r" and "\n".
QString OneLine(QString text) {
    text.replace(u'\r', QStringLiteral("\\r"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return text;
}

// The start-up steps the table needs (not the database), then the language.
int RunTexts(CAppData& app, const std::optional<QString>& language, std::FILE* out) {
    if (!PrepareFolders(app) || !RunWriteTest(app) || !PrepareFolderNames(app)) {
        return kFailed;
    }
    LoadTexts(app, language);
    const QStringList texts = UiTextTable::Snapshot();
    for (int index = 0; index < texts.size(); ++index) {
        const QByteArray line = (QString::number(index) + u'\t' + OneLine(texts.at(index)) + u'\n').toUtf8();
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out);
    }
    return std::fflush(out) == 0 ? kDone : kFailed;
}

} // namespace

void AddTextsCommands(CLI::App& cli, CommandContext& context) {
    auto* texts = cli.add_subcommand("texts", "Apply the language and print the UI text table, one "
                                              "\"index<TAB>text\" line per entry");
    auto language = std::make_shared<std::string>();
    auto* option =
        texts->add_option("--language", *language, "Display name of the language (default English)");
    texts->callback([&context, language, option] {
        std::optional<QString> chosen;
        if (option->count() > 0) {
            chosen = QString::fromStdString(*language);
        }
        context.status = RunTexts(context.App(), chosen, stdout);
    });
}

} // namespace vantor::cli
