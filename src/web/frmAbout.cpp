#include "frmAbout.h"
#include "ui_frmAbout.h"

#include "app/resume.h"
#include "app/windows.h"
#include "ui/forms.h"
#include "web/modHelp.h"

#include <QCloseEvent>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent), ui(std::make_unique<Ui::frmAbout>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    ui->picIcon->setPixmap(forms::programPixmap());
    ui->lblHomePage->setText(QStringLiteral("Click here to visit ") + modHelp::kSiteBase);
    forms::prepareWindow(this);

    connect(ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    forms::onClick(ui->Label5, [this] { Label5_Click(); });
    forms::onClick(ui->lblHomePage, [this] { lblHomePage_Click(); });
    // OK is both the default and the cancel button.
    forms::onDefaultAndCancelKeys(this, [this] { cmdOK_Click(); });
    ui->cmdOK->setFocus();
}

frmAbout::~frmAbout() = default;

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::Label5_Click()
{
    resume::step(modHelp::OpenFullBrandPage);
}

void frmAbout::lblHomePage_Click()
{
    resume::step(modHelp::OpenHomePage);
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    // Forgotten at once, so the next "About Software" builds it afresh.
    Windows::beginClose(this);
    event->accept();
    Windows::endClose(this);
    QDialog::closeEvent(event);
}
