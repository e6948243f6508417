#pragma once

#include "Paper.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QPointer>
#include <QWidget>

class DataManager;
class ImportablePaper;
class PaperList;
class QDateEdit;
class QFileDialog;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class RoundIconButton;
struct ViewEnvironment;

// The sheet in which the user describes a paper by hand and gives its PDF, to import it into
// one list. Every field writes straight into the form model; nothing is checked before the
// import, whose own checks decide (and name the first thing missing). A failed import or file
// pick shows "Error: " and the reason above the fields and keeps every value; a successful one
// stores the paper in the list and closes the sheet. The form stays usable while an import
// downloads its PDF.
class PaperImporterView : public QWidget {
    Q_OBJECT
public:
    PaperImporterView(ViewEnvironment &env, PaperList *list, QWidget *parent = nullptr);
    ~PaperImporterView() override;

    ImportablePaper &form() const { return *m_form; }
    PaperList *list() const;
    // The error line's text; empty while none is shown.
    QString errorMessage() const;
    int authorRowCount() const { return int(m_authorFields.size()); }

    // The header buttons and the form's own buttons, as the user presses them.
    void cancel();
    void addAuthor();
    void selectFile();
    // Starts one import; every press starts its own, and none is ever cancelled: an import
    // that succeeds after the sheet has closed still stores its paper.
    void confirm();

    // The file dialog while it is open (for tests and for the window to raise it), else null.
    QFileDialog *fileDialog() const;

signals:
    // The sheet is to close: after cancel or a successful import.
    void dismissRequested();
    // An import started by confirm() has ended, either way.
    void importFinished();

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyErrorColor();
    static QCoro::Task<> runImport(QPointer<PaperImporterView> view, QPointer<ImportablePaper> form,
                                   QPointer<PaperList> list, QPointer<DataManager> dataManager);
    void showError(const QString &description);
    void showListName();
    void showFileName();
    void filePicked(const QList<QUrl> &urls);
    void appendAuthorRow(int index);
    QLineEdit *addField(QFormLayout *form, const QString &title, const QString &prompt, const QString &name);

    ViewEnvironment &m_env;
    QPointer<PaperList> m_list;
    ImportablePaper *m_form;

    QLabel *m_heading;
    QLabel *m_error;
    QFormLayout *m_mainSection;
    int m_addAuthorRow = 0;
    QList<QLineEdit *> m_authorFields;
    QDateEdit *m_published;
    QLabel *m_fileName;
    QPointer<QFileDialog> m_fileDialog;
};
