// The about window: name, version, a short description and two links; modal.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdOK_Click();
    void Label5_Click();
    void lblHomePage_Click();

    std::unique_ptr<Ui::AboutDialog> ui;
};
