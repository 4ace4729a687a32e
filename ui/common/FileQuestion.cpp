#include "ui/common/FileQuestion.h"

#include <QFileDialog>

namespace vantor {

QString AskWithFileDialog(QWidget* parent, const FileRequest& request) {
    return request.save
               ? QFileDialog::getSaveFileName(parent, request.title, request.startPath, request.filter)
               : QFileDialog::getOpenFileName(parent, request.title, request.startPath, request.filter);
}

} // namespace vantor
