// The about window: name, version, a short description and two links; modal.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}
namespace platform {
class UrlOpener;
}

class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(platform::UrlOpener &browser, QWidget *parent = nullptr);
    ~AboutDialog() override;

private:
    void cmdOK_Click();
    void Label5_Click();
    void lblHomePage_Click();

    platform::UrlOpener &m_browser;
    std::unique_ptr<Ui::AboutDialog> ui;
};
