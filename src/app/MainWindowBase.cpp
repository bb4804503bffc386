#include "MainWindowBase.h"

#include "app/resume.h"
#include "app/windows.h"
#include "exit/ExitScreen.h"
#include "ui/forms.h"
#include "web/AboutDialog.h"
#include "web/pages.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>

MainWindowBase::MainWindowBase(QWidget *parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
}

void MainWindowBase::connectSharedHandlers()
{
    const auto action = [this](const char *name) { return findChild<QAction *>(QString::fromLatin1(name)); };
    const auto label = [this](const char *name) { return findChild<QLabel *>(QString::fromLatin1(name)); };
    connect(action("mnuOnline"), &QAction::triggered, this, &MainWindowBase::mnuOnline_Click);
    connect(action("mnuVisit"), &QAction::triggered, this, &MainWindowBase::mnuVisit_Click);
    connect(action("mnuUpdate"), &QAction::triggered, this, &MainWindowBase::mnuUpdate_Click);
    connect(action("mnuAbout"), &QAction::triggered, this, &MainWindowBase::mnuAbout_Click);
    connect(action("mnuDonate"), &QAction::triggered, this, &MainWindowBase::mnuDonate_Click);
    // Never available, and so not on the bar (see the form); connected all the same.
    connect(action("mnuMakeMoneyOnline"), &QAction::triggered, this, &MainWindowBase::mnuMakeMoneyOnline_Click);
    forms::onClick(label("Label61"), [this] { Label61_Click(); });
    forms::onClick(label("lblCobrand"), [this] { lblCobrand_Click(); });
    forms::onClick(label("lblFullBrand"), [this] { lblFullBrand_Click(); });
}

// A failing link never reports an error and never blocks the window.
void MainWindowBase::mnuOnline_Click()
{
    resume::step(pages::OpenHelpPage);
}
void MainWindowBase::mnuVisit_Click()
{
    resume::step(pages::OpenHomePage);
}
void MainWindowBase::mnuUpdate_Click()
{
    resume::step(pages::OpenUpdatePage);
}
void MainWindowBase::mnuDonate_Click()
{
    resume::step(pages::OpenDonatePage);
}
void MainWindowBase::mnuMakeMoneyOnline_Click()
{
    resume::step(pages::OpenFullBrandPage);
}
void MainWindowBase::Label61_Click()
{
    resume::step(pages::OpenHomePage);
}
void MainWindowBase::lblCobrand_Click()
{
    resume::step(pages::OpenCoBrandPage);
}
void MainWindowBase::lblFullBrand_Click()
{
    resume::step(pages::OpenFullBrandPage);
}

void MainWindowBase::mnuAbout_Click()
{
    resume::step([this] {
        AboutDialog *about = Windows::about();
        about->setParent(this, about->windowFlags());
        about->exec();
    });
}

void MainWindowBase::closeEvent(QCloseEvent *event)
{
    Windows::beginClose(this);
    Form_Unload();
    event->accept();
    Windows::endClose(this);
}

void MainWindowBase::Form_Unload()
{
    // The exit screen comes up whenever a main window goes; the other main window,
    // hidden behind a running test, is left as it is.
    // While the program ends, an exit screen that is already there is shown once more,
    // but none is built only to be closed at once.
    if (pages::IsEnding() && !Windows::existingExitScreen())
        return;
    resume::step([] { Windows::exitScreen()->show(); });
}
