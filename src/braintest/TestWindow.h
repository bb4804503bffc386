// The test window: the twenty questions one at a time, then the result panel with the
// verdict and what the dominant hemisphere is responsible for.
#pragma once

#include "ui/MainWindowBase.h"

#include <memory>

namespace Ui {
class TestWindow;
}
namespace platform {
class MessageBoxService;
}
namespace quiz {
class Test;
}

class TestWindow : public MainWindowBase
{
    Q_OBJECT
public:
    TestWindow(platform::MessageBoxService &boxes, quiz::Test &quiz, QWidget *parent = nullptr);
    ~TestWindow() override;

    // Puts question 1 on the window and brings the question panel to the front.
    void startTest();

signals:
    // Back, the result panel's OK or File > Back: the test state is reset already.
    void backRequested();

private:
    void cmdNext_Click();
    void cmdBack_Click();
    void cmdPrevious_Click();
    void Command1_Click();
    void mnuFileBack_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void cmdRightBrainResponsible_Click();
    void cmdLeftBrainResponsible_Click();
    void Label19_Click();

    void showQuestion(int index);
    QString selectedAnswer() const;
    void showResult();
    // The focus on a panel that reads out the question on screen, or the verdict and
    // the list in front.
    void focusQuestion();
    void focusList();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void bringToFront(QWidget *front, QWidget *behind, void (TestWindow::*focus)());

    platform::MessageBoxService &m_boxes;
    quiz::Test &m_quiz;
    std::unique_ptr<Ui::TestWindow> ui;
};
