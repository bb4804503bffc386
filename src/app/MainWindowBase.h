// What the details window and the test window share: the Help menu, the menu-bar
// commands, the banners and the close handling that brings up the exit screen.
#pragma once

#include <QMainWindow>

class MainWindowBase : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindowBase(QWidget *parent = nullptr);

protected:
    // Wires the shared menu entries and banners by name; call once the form is built.
    void connectSharedHandlers();
    void closeEvent(QCloseEvent *event) override;

    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void mnuDonate_Click();
    void mnuMakeMoneyOnline_Click();
    void Label61_Click();
    void lblCobrand_Click();
    void lblFullBrand_Click();

private:
    void Form_Unload();
};
