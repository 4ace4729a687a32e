#include "texts/UiText.h"

#include "texts/EnglishDefaults.h"

#include <mutex>
#include <shared_mutex>

namespace vantor {
namespace {

struct Table {
    std::shared_mutex mutex;
    QStringList texts;

    Table() { FillDefaults(); }

    void FillDefaults() {
        texts.clear();
        texts.reserve(UiTextAllCount);
        for (const char* text : kEnglishDefaults) {
            texts << QString::fromUtf8(text);
        }
        FillAddedDefaults();
    }
    void FillAddedDefaults() {
        texts.erase(texts.begin() + UiTextCount, texts.end());
        for (const char* text : kAddedEnglishTexts) {
            texts << QString::fromUtf8(text);
        }
    }
};

Table& TheTable() {
    static Table table;
    return table;
}

bool InRange(int index) {
    return index >= 0 && index < UiTextAllCount;
}

} // namespace

QString UiText(int index) {
    if (!InRange(index)) {
        return {};
    }
    Table& table = TheTable();
    std::shared_lock lock(table.mutex);
    return table.texts.at(index);
}

QString EnglishDefaultText(int index) {
    if (!InRange(index)) {
        return {};
    }
    const auto at = static_cast<size_t>(index);
    return QString::fromUtf8(index < UiTextCount ? kEnglishDefaults[at]
                                                 : kAddedEnglishTexts[at - UiTextCount]);
}

void UiTextTable::ResetToDefaults() {
    Table& table = TheTable();
    std::unique_lock lock(table.mutex);
    table.FillDefaults();
}

bool UiTextTable::Replace(const QStringList& texts) {
    if (texts.size() < UiTextCount || texts.size() > UiTextAllCount) {
        return false;
    }
    Table& table = TheTable();
    std::unique_lock lock(table.mutex);
    table.FillAddedDefaults();
    for (int index = 0; index < texts.size(); ++index) {
        table.texts[index] = texts[index];
    }
    return true;
}

void UiTextTable::ApplyEditionTitle(const QString& title) {
    Table& table = TheTable();
    std::unique_lock lock(table.mutex);
    table.texts[text::Language] = QStringLiteral("Language");
    for (int index : {text::AboutProduct, text::NoDatabaseFound}) {
        table.texts[index].replace(QStringLiteral("Vantor"), title);
    }
}

QStringList UiTextTable::Snapshot() {
    Table& table = TheTable();
    std::shared_lock lock(table.mutex);
    return table.texts.mid(0, UiTextCount);
}

} // namespace vantor
