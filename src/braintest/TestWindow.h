// The test window: the twenty questions one at a time, then the result panel with the
// verdict and what the dominant hemisphere is responsible for.
#pragma once

#include "app/MainWindowBase.h"

#include <memory>

namespace Ui {
class TestWindow;
}

class TestWindow : public MainWindowBase
{
    Q_OBJECT
public:
    explicit TestWindow(QWidget *parent = nullptr);
    ~TestWindow() override;

    // Puts question 1 on the window and brings the question panel to the front.
    void StartTest();

    void cmdNext_Click();
    void cmdBack_Click();

private:
    void cmdPrevious_Click();
    void Command1_Click();
    void mnuFileBack_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void cmdRightBrainResponsible_Click();
    void cmdLeftBrainResponsible_Click();
    void Label19_Click();

    void ShowQuestion(int index);
    bool RecordAnswer();
    void ShowResult();
    void BringToFront(QWidget *front, QWidget *behind);

    std::unique_ptr<Ui::TestWindow> ui;
};
