#pragma once

#include <QDialog>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>
#include <memory>

// A window with a window-modal sheet over it, made the way the main window makes its sheets, for
// testing a sheet's content on its own.
class SheetHost {
public:
    SheetHost()
    {
        m_window.resize(900, 800);
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // Opens a new sheet (closing on its own like the window's) holding `content`, and waits
    // until it is on screen.
    template <class Content>
    Content *open(Content *content)
    {
        m_sheet = new QDialog(&m_window);
        m_sheet->setWindowModality(Qt::WindowModal);
        m_sheet->setAttribute(Qt::WA_DeleteOnClose);
        auto *layout = new QVBoxLayout(m_sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        content->setParent(m_sheet);
        layout->addWidget(content);
        m_finished = std::make_unique<QSignalSpy>(m_sheet.data(), &QDialog::finished);
        m_sheet->open();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_sheet));
        return content;
    }

    // The latest sheet; null once it has been closed and freed.
    QDialog *sheet() const { return m_sheet; }
    // How often the latest sheet was dismissed (accepted, rejected or closed).
    qsizetype dismissals() const { return m_finished ? m_finished->size() : 0; }

private:
    QWidget m_window;
    QPointer<QDialog> m_sheet;
    std::unique_ptr<QSignalSpy> m_finished;
};
