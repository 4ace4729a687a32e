#include "ui/setup/ManagerDialogLayout.h"

#include "texts/UiText.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace vantor {

void SetManagerLayout(QDialog& dialog, QWidget* master, QWidget* details) {
    auto* splitter = new QSplitter(&dialog);
    splitter->addWidget(master);
    splitter->addWidget(details);
    splitter->setStretchFactor(1, 1);

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(UiText(text::Exit), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("ExitButton"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
}

} // namespace vantor
