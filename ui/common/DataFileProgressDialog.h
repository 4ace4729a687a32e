#pragma once
// The progress window of a data-file export or import: the section being counted or read, a bar,
// and a Cancel button that stops the work between two records.

#include "app/DataFileTransfer.h"

#include <QProgressDialog>

namespace vantor {

class DataFileProgressDialog final : public DataFileProgress {
public:
    DataFileProgressDialog(const QString& title, QWidget* parent);

    void Enumerating(const QString& section) override;
    void Step(const QString& section, int done, int total) override;
    bool StopRequested() override;

    QProgressDialog& Dialog() { return dialog_; }

private:
    QProgressDialog dialog_;
};

} // namespace vantor
