#pragma once
// The frame the catalogue managers share: their master list and its details side by side in a
// splitter (the details taking the spare width), and an Exit button under them.
class QDialog;
class QWidget;

namespace vantor {

void SetManagerLayout(QDialog& dialog, QWidget* master, QWidget* details);

} // namespace vantor
