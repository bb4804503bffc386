// What the details window and the test window share: the Help menu, the menu-bar
// commands and the banners, which report the page the user asked for.
#pragma once

#include "ui/links.h"

#include <QMainWindow>

class MainWindowBase : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindowBase(QWidget *parent = nullptr);

signals:
    void linkClicked(forms::Link link);
    void aboutRequested();

protected:
    // Wires the shared menu entries and banners; call once the form is built.
    void connectSharedHandlers(QAction *mnuOnline, QAction *mnuVisit, QAction *mnuUpdate, QAction *mnuAbout,
                               QAction *mnuDonate, QAction *mnuMakeMoneyOnline, QWidget *Label61, QWidget *lblCobrand,
                               QWidget *lblFullBrand);

private:
    void mnuOnline_Click();
    void mnuVisit_Click();
    void mnuUpdate_Click();
    void mnuAbout_Click();
    void mnuDonate_Click();
    void mnuMakeMoneyOnline_Click();
    void Label61_Click();
    void lblCobrand_Click();
    void lblFullBrand_Click();
};
