#include "ui/setup/EditableList.h"

#include "texts/UiText.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

EditableList::EditableList(const QString& title, const QStringList& headers, bool movable, QWidget* parent)
    : QWidget(parent), list_(new RecordList(headers, this)) {
    auto* buttons = new QHBoxLayout;
    const auto command = [this, buttons](const QString& text, const QString& name, bool needsSelection,
                                         auto emitter) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, emitter);
        if (needsSelection) {
            needSelection_.push_back(button);
        }
        QAction* action = list_->AddCommand(text, needsSelection);
        connect(action, &QAction::triggered, this, emitter);
    };
    command(UiText(text::AddCommand), QStringLiteral("Add"), false, [this] { emit addRequested(); });
    command(UiText(text::InsertCommand), QStringLiteral("Insert"), true,
            [this] { emit insertRequested(list_->SelectedGuid()); });
    command(UiText(text::EditCommand), QStringLiteral("Edit"), true,
            [this] { emit editRequested(list_->SelectedGuid()); });
    command(UiText(text::DeleteCommand), QStringLiteral("Delete"), true,
            [this] { emit deleteRequested(list_->SelectedGuid()); });
    if (movable) {
        // Arrows need no words in any language.
        command(QStringLiteral("\u25B2"), QStringLiteral("Up"), true,
                [this] { emit moveRequested(list_->SelectedGuid(), -1); });
        command(QStringLiteral("\u25BC"), QStringLiteral("Down"), true,
                [this] { emit moveRequested(list_->SelectedGuid(), +1); });
        // Square arrow buttons: two lists with their rows of buttons fit side by side on a
        // 1024-pixel screen.
        for (const char* arrow : {"Up", "Down"}) {
            auto* button = findChild<QPushButton*>(QLatin1String(arrow));
            button->setFixedWidth(button->sizeHint().height() * 3 / 2);
        }
    }
    buttons->addStretch();
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this] { emit editRequested(list_->SelectedGuid()); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &EditableList::UpdateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(title, this);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    UpdateButtons();
}

QString EditableList::GuidAt(int row) const {
    QTreeWidgetItem* item = row >= 0 ? list_->topLevelItem(row) : nullptr;
    return item ? item->text(list_->GuidColumn()) : QString();
}

int EditableList::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

QPushButton* EditableList::Button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void EditableList::UpdateButtons() {
    const bool selected = !list_->SelectedGuid().isEmpty();
    for (QPushButton* button : needSelection_) {
        button->setEnabled(selected);
    }
}

} // namespace vantor
