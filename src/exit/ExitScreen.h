// The exit screen: a support message, links to the maker's pages and the
// refer-a-friend form. Closing it ends the program.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class ExitScreen;
}
class QKeyEvent;

class ExitScreen : public QWidget
{
    Q_OBJECT
public:
    explicit ExitScreen(QWidget *parent = nullptr);
    ~ExitScreen() override;

    static const std::array<QString, 4> &SupportMessages();

    // The message box's text as the user would send it: line breaks as CR LF.
    QString MessageText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void Check1_Click();
    void lblGoToHome_Click();
    void cmdClose_Click();
    void cmdSubmit_Click();
    bool EmailBox_KeyPress(QWidget *box, QKeyEvent *event);
    void Placeholder_GotFocus(QWidget *box);
    void Placeholder_LostFocus(QWidget *box);

    QString BoxText(QWidget *box) const;
    void SetBoxText(QWidget *box, const QString &text);

    std::unique_ptr<Ui::ExitScreen> ui;
};
