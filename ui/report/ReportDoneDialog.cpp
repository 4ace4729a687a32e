#include "ui/report/ReportDoneDialog.h"

#include "reports/document/ReportTexts.h"
#include "texts/UiText.h"
#include "ui/common/Log.h"
#include "ui/common/MainWindowTexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor {

CReportDoneDialog::CReportDoneDialog(const QString& path, DocumentOpenerHook opener, QWidget* parent)
    : QDialog(parent), path_(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())),
      opener_(std::move(opener)), message_(new QLabel(this)) {
    setWindowTitle(UiText(text::ReportWizardTitle));
    message_->setObjectName(QStringLiteral("Message"));
    message_->setText(UiText(text::added::ReportWrittenTo).arg(path_));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    open_ = buttons->addButton(UiText(text::added::Open), QDialogButtonBox::AcceptRole);
    open_->setObjectName(QStringLiteral("Open"));
    open_->setDefault(true);
    showInFolder_ = buttons->addButton(UiText(text::added::ShowInFolder), QDialogButtonBox::ActionRole);
    showInFolder_->setObjectName(QStringLiteral("ShowInFolder"));
    buttons->addButton(UiText(text::window::Close), QDialogButtonBox::RejectRole);
    // Open and Show in Folder close the dialog only when a program took the file.
    connect(open_, &QPushButton::clicked, this, [this] { Open(path_); });
    connect(showInFolder_, &QPushButton::clicked, this, [this] { Open(QFileInfo(path_).absolutePath()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

void CReportDoneDialog::Open(const QString& target) {
    if (opener_ && opener_(target)) {
        accept();
        return;
    }
    qCWarning(lcUi) << "no program opened" << target;
    message_->setText(UiText(text::added::NoProgramOpensReport).arg(path_));
}

} // namespace vantor
