#include "dialogs/DModalDialog.h"

DModalDialog::DModalDialog(QWidget *parent) : QDialog(parent, Qt::Tool) {}

bool DModalDialog::execModal()
{
    setWindowModality(Qt::ApplicationModal);
    show();
    initialize();
    activateWindow();
    return exec() == QDialog::Accepted;
}

void DModalDialog::initialize() {}
