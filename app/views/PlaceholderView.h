#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// The empty state of a column: a large symbol, a title and a sentence, centred in
// all the space offered. Title and sentence are shown as written.
class PlaceholderView : public QWidget {
    Q_OBJECT
public:
    PlaceholderView(const QString &symbol, const QString &title, const QString &sentence, QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }
    QString title() const;
    QString sentence() const;

    void setSymbol(const QString &symbol);
    void setTitle(const QString &title);
    void setSentence(const QString &sentence);

protected:
    void changeEvent(QEvent *event) override;

private:
    void drawSymbol();

    QString m_symbol;
    QLabel *m_symbolLabel;
    QLabel *m_titleLabel;
    QLabel *m_sentenceLabel;
};
