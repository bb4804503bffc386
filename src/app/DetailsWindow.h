// The details window: asks for a name and a sex and starts the test.
#pragma once

#include "ui/MainWindowBase.h"
#include "web/banners.h"

#include <memory>

namespace Ui {
class DetailsWindow;
}
class QKeyEvent;
namespace platform {
class MessageBoxService;
}

class DetailsWindow : public MainWindowBase
{
    Q_OBJECT
public:
    explicit DetailsWindow(platform::MessageBoxService &boxes, QWidget *parent = nullptr);
    ~DetailsWindow() override;

    // Brings the banner chosen at start-up to the front.
    void showBanner(banners::Banner banner);

signals:
    // The details are complete and the user asked for the test.
    void startTestRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool ValidateDetails();
    void cmdNext_Click();
    void mnuNext_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    bool txtName_KeyPress(QKeyEvent *event); // true when the key is consumed
    bool txtName_InputMethod(class QInputMethodEvent *event);
    void insertName(QString text);

    platform::MessageBoxService &m_boxes;
    std::unique_ptr<Ui::DetailsWindow> ui;
};
