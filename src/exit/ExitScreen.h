// The exit screen: a support message, links to the maker's pages and the
// refer-a-friend form. Closing it ends the program.
#pragma once

#include "exit/referral.h"
#include "ui/links.h"

#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class ExitScreen;
}
class QKeyEvent;
namespace platform {
struct Services;
}

class ExitScreen : public QWidget
{
    Q_OBJECT
public:
    // Seeds the generator and draws the support message as it loads, hidden.
    ExitScreen(platform::Services &services, referral::Addresses to, QWidget *parent = nullptr);
    ~ExitScreen() override;

    static const std::array<QString, 4> &SupportMessages();

    // The message box's text as the user would send it: line breaks as CR LF.
    QString messageText() const;

signals:
    void linkClicked(forms::Link link);
    // Exit, or a failure reported: the program ends. (Closing the screen ends it too.)
    void endRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    template <typename Handler>
    void run(Handler &&fn);
    void Form_Load();
    void Check1_Click();
    void lblGoToHome_Click();
    void cmdClose_Click();
    void cmdSubmit_Click();
    bool EmailBox_KeyPress(QWidget *box, QKeyEvent *event);
    void Placeholder_GotFocus(QWidget *box);
    void Placeholder_LostFocus(QWidget *box);

    QString boxText(QWidget *box) const;
    void setBoxText(QWidget *box, const QString &text);

    platform::Services &m_services;
    referral::Addresses m_to;
    std::unique_ptr<Ui::ExitScreen> ui;
};
