#pragma once

class QWidget;

// Closes the window-modal sheet (dialog) that shows `content`, as the sheet's own dismiss
// action: accepted after a save or confirm, rejected after a cancel. The presenter learns of it
// from the dialog's finished() signal. Does nothing when the content is not inside a dialog.
void dismissSheet(QWidget *content, bool accepted);
