#include "AboutDialog.h"
#include "ui_AboutDialog.h"

#include "ui/forms.h"
#include "ui/resume.h"
#include "web/pages.h"

AboutDialog::AboutDialog(platform::UrlOpener &browser, QWidget *parent)
    : QDialog(parent), m_browser(browser), ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    ui->picIcon->setPixmap(forms::programPixmap());
    ui->lblHomePage->setText(QStringLiteral("Click here to visit ") + pages::kSiteBase);
    forms::prepareWindow(this);

    connect(ui->cmdOK, &QPushButton::clicked, this, &AboutDialog::cmdOK_Click);
    forms::onClick(ui->Label5, [this] { Label5_Click(); });
    forms::onClick(ui->lblHomePage, [this] { lblHomePage_Click(); });
    ui->cmdOK->setFocus();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::cmdOK_Click()
{
    close();
}

void AboutDialog::Label5_Click()
{
    resume::step([this] { pages::OpenFullBrandPage(m_browser); });
}

void AboutDialog::lblHomePage_Click()
{
    resume::step([this] { pages::OpenHomePage(m_browser); });
}
