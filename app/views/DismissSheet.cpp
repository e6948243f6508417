#include "DismissSheet.h"

#include <QDialog>

void dismissSheet(QWidget *content, bool accepted)
{
    if (auto *sheet = qobject_cast<QDialog *>(content->window()))
        sheet->done(accepted ? QDialog::Accepted : QDialog::Rejected);
}
