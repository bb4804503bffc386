#include "MainWindowBase.h"

#include "ui/forms.h"

#include <QAction>

MainWindowBase::MainWindowBase(QWidget *parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void MainWindowBase::connectSharedHandlers(QAction *mnuOnline, QAction *mnuVisit, QAction *mnuUpdate, QAction *mnuAbout,
                                           QAction *mnuDonate, QAction *mnuMakeMoneyOnline, QWidget *Label61,
                                           QWidget *lblCobrand, QWidget *lblFullBrand)
{
    connect(mnuOnline, &QAction::triggered, this, &MainWindowBase::mnuOnline_Click);
    connect(mnuVisit, &QAction::triggered, this, &MainWindowBase::mnuVisit_Click);
    connect(mnuUpdate, &QAction::triggered, this, &MainWindowBase::mnuUpdate_Click);
    connect(mnuAbout, &QAction::triggered, this, &MainWindowBase::mnuAbout_Click);
    connect(mnuDonate, &QAction::triggered, this, &MainWindowBase::mnuDonate_Click);
    // Never available, and so not on the bar (see the form); connected all the same.
    connect(mnuMakeMoneyOnline, &QAction::triggered, this, &MainWindowBase::mnuMakeMoneyOnline_Click);
    forms::onClick(Label61, [this] { Label61_Click(); });
    forms::onClick(lblCobrand, [this] { lblCobrand_Click(); });
    forms::onClick(lblFullBrand, [this] { lblFullBrand_Click(); });
}

void MainWindowBase::mnuOnline_Click()
{
    emit linkClicked(forms::Link::Help);
}
void MainWindowBase::mnuVisit_Click()
{
    emit linkClicked(forms::Link::Home);
}
void MainWindowBase::mnuUpdate_Click()
{
    emit linkClicked(forms::Link::Update);
}
void MainWindowBase::mnuAbout_Click()
{
    emit aboutRequested();
}
void MainWindowBase::mnuDonate_Click()
{
    emit linkClicked(forms::Link::Donate);
}
void MainWindowBase::mnuMakeMoneyOnline_Click()
{
    emit linkClicked(forms::Link::FullBrand);
}
void MainWindowBase::Label61_Click()
{
    emit linkClicked(forms::Link::Home);
}
void MainWindowBase::lblCobrand_Click()
{
    emit linkClicked(forms::Link::CoBrand);
}
void MainWindowBase::lblFullBrand_Click()
{
    emit linkClicked(forms::Link::FullBrand);
}
