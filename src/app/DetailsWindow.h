// The details window: asks for a name and a sex and starts the test.
#pragma once

#include "app/MainWindowBase.h"

#include <memory>

namespace Ui {
class DetailsWindow;
}
class QKeyEvent;

class DetailsWindow : public MainWindowBase
{
    Q_OBJECT
public:
    explicit DetailsWindow(QWidget *parent = nullptr);
    ~DetailsWindow() override;

    bool ValidateDetails();
    void cmdNext_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mnuNext_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    bool txtName_KeyPress(QKeyEvent *event); // true when the key is consumed
    bool txtName_InputMethod(class QInputMethodEvent *event);
    void InsertName(QString text);

    std::unique_ptr<Ui::DetailsWindow> ui;
};
