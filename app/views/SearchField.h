#pragma once

#include <QLineEdit>
#include <QTimer>

class QAction;

// The window's search field. While a search of its window runs it shows a
// spinning indicator at its end and says so to assistive technology; the field
// itself stays usable, so another search can start meanwhile.
class SearchField : public QLineEdit {
    Q_OBJECT
public:
    explicit SearchField(QWidget *parent = nullptr);

    // The grey prompt, also the field's accessible name.
    void setPrompt(const QString &prompt);
    QString prompt() const { return placeholderText(); }

    bool isBusy() const { return m_busy; }
    void setBusy(bool busy);

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawSpinner();

    bool m_busy = false;
    int m_step = 0;
    QAction *m_spinner;
    QTimer m_timer;
};
