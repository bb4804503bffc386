#include "frmDisplay.h"
#include "ui_frmDisplay.h"

#include "app/frmMain.h"
#include "app/resume.h"
#include "app/windows.h"
#include "braintest/modBrainTest.h"
#include "exit/frmExitScreen.h"
#include "platform/services.h"
#include "ui/forms.h"
#include "web/modHelp.h"

namespace {
// The Next button's caption is the only record of whether it evaluates.
const QString kShowMyAbility = QStringLiteral("Show My Ability");
const QString kNextCaption = QStringLiteral("&Next");
const QString kChooseAnswer = QStringLiteral("Please choose an answer");
constexpr int kLastQuestion = modBrainTest::kQuestionCount - 1;
} // namespace

frmDisplay::frmDisplay(QWidget *parent) : MainWindowBase(parent), ui(std::make_unique<Ui::frmDisplay>())
{
    ui->setupUi(this);
    forms::prepareWindow(this);

    connect(ui->cmdNext, &QPushButton::clicked, this, &frmDisplay::cmdNext_Click);
    connect(ui->cmdPrevious, &QPushButton::clicked, this, &frmDisplay::cmdPrevious_Click);
    connect(ui->cmdBack, &QPushButton::clicked, this, &frmDisplay::cmdBack_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &frmDisplay::cmdExit_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &frmDisplay::Command1_Click);
    connect(ui->cmdRightBrainResponsible, &QPushButton::clicked, this, &frmDisplay::cmdRightBrainResponsible_Click);
    connect(ui->cmdLeftBrainResponsible, &QPushButton::clicked, this, &frmDisplay::cmdLeftBrainResponsible_Click);
    connect(ui->mnuFileBack, &QAction::triggered, this, &frmDisplay::mnuFileBack_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &frmDisplay::mnuExit_Click);
    forms::onClick(ui->Label19, [this] { Label19_Click(); });
    connectSharedHandlers();
    // Next is both the default and the cancel button, so Esc always evaluates again
    // once the result is up, even though the question panel lies behind it.
    forms::onDefaultAndCancelKeys(this, [this] { cmdNext_Click(); });

    // The result panel lies in front until a test starts; what it covers is out of reach.
    ui->fraQuestion->setEnabled(false);
}

frmDisplay::~frmDisplay() = default;

void frmDisplay::BringToFront(QWidget *front, QWidget *behind)
{
    forms::bringToFront(front);
    // The covered panel must not be reachable by Tab or access keys either.
    front->setEnabled(true);
    behind->setEnabled(false);
}

void frmDisplay::StartTest()
{
    ShowQuestion(0);
    BringToFront(ui->fraQuestion, ui->fraResult);
    ui->optAnswerOne->setFocus();
}

void frmDisplay::ShowQuestion(int index)
{
    const modBrainTest::State &s = modBrainTest::state();
    resume::step([&] { ui->lblQuestion->setText(modBrainTest::slot(s.Questions, index)); });
    resume::step([&] { ui->optAnswerOne->setText(modBrainTest::slot(s.Options, 2 * index)); });
    resume::step([&] { ui->optAnswerTwo->setText(modBrainTest::slot(s.Options, 2 * index + 1)); });
    forms::clearOptions({ui->optAnswerOne, ui->optAnswerTwo});
}

// Stores the selected option's text as the answer to the question on screen; a slot
// past the table (repeated evaluations) is skipped. False when nothing is selected.
bool frmDisplay::RecordAnswer()
{
    modBrainTest::State &s = modBrainTest::state();
    if (ui->optAnswerOne->isChecked())
        modBrainTest::store(s.Answers, s.CurrentQuestion, ui->optAnswerOne->text());
    else if (ui->optAnswerTwo->isChecked())
        modBrainTest::store(s.Answers, s.CurrentQuestion, ui->optAnswerTwo->text());
    else
        return false;
    return true;
}

void frmDisplay::cmdNext_Click()
{
    modBrainTest::State &s = modBrainTest::state();
    if (ui->cmdNext->text() == kShowMyAbility) {
        if (!RecordAnswer()) {
            resume::step([this] { platform::messageBox(this, kChooseAnswer, platform::BoxIcon::Critical); });
            return;
        }
        modBrainTest::add(s.CurrentQuestion, 1);
        ShowResult();
        return;
    }

    ui->cmdPrevious->setEnabled(true);
    if (!RecordAnswer()) {
        if (s.CurrentQuestion == 0)
            ui->cmdPrevious->setEnabled(false);
        resume::step([this] { platform::messageBox(this, kChooseAnswer, platform::BoxIcon::Critical); });
        return;
    }
    modBrainTest::add(s.CurrentQuestion, 1);
    ui->cmdPrevious->setEnabled(true);
    if (s.CurrentQuestion == kLastQuestion)
        ui->cmdNext->setText(kShowMyAbility);
    ShowQuestion(s.CurrentQuestion);
}

void frmDisplay::ShowResult()
{
    switch (modBrainTest::Evaluate()) {
    case modBrainTest::Verdict::Right:
        ui->lblAnswer->setText(modBrainTest::kVerdictRight);
        forms::bringToFront(ui->fraRightBrainResponsible);
        break;
    case modBrainTest::Verdict::Left:
        forms::bringToFront(ui->fraLeftBrainResponsible);
        ui->lblAnswer->setText(modBrainTest::kVerdictLeft);
        break;
    case modBrainTest::Verdict::Equal:
        // Neither list comes forward: the one already in front stays.
        ui->cmdRightBrainResponsible->show();
        ui->cmdLeftBrainResponsible->show();
        ui->lblAnswer->setText(modBrainTest::kVerdictEqual);
        break;
    }
    // The verdict is longer than the layout's caption: keep it centred in its frame.
    ui->lblAnswer->resize(ui->lblAnswer->sizeHint());
    ui->lblAnswer->move((ui->Frame4->width() - ui->lblAnswer->width()) / 2, ui->lblAnswer->y());
    BringToFront(ui->fraResult, ui->fraQuestion);
    // No button holds the focus, so Enter (like Esc) reaches Next once more.
    centralWidget()->setFocus();
}

void frmDisplay::cmdPrevious_Click()
{
    modBrainTest::State &s = modBrainTest::state();
    modBrainTest::add(s.CurrentQuestion, -1);
    if (s.CurrentQuestion == 0)
        ui->cmdPrevious->setEnabled(false);
    ui->cmdNext->setText(kNextCaption);
    ShowQuestion(s.CurrentQuestion);
}

void frmDisplay::cmdBack_Click()
{
    modBrainTest::State &s = modBrainTest::state();
    s.CurrentQuestion = 0;
    s.RightCount = 0;
    s.LeftCount = 0;
    resume::step([this] {
        ui->cmdLeftBrainResponsible->hide();
        ui->cmdRightBrainResponsible->hide();
    });
    // Closing brings up the exit screen, which this return to the details window
    // then takes away again.
    resume::step([this] { close(); });
    resume::step([] { Windows::main()->show(); });
    resume::step([] {
        if (frmExitScreen *exitScreen = Windows::existingExitScreen())
            exitScreen->hide();
    });
}

void frmDisplay::Command1_Click()
{
    cmdBack_Click();
}

void frmDisplay::mnuFileBack_Click()
{
    cmdBack_Click();
}

void frmDisplay::cmdExit_Click()
{
    close();
}

void frmDisplay::mnuExit_Click()
{
    cmdExit_Click();
}

void frmDisplay::cmdRightBrainResponsible_Click()
{
    forms::bringToFront(ui->fraRightBrainResponsible);
}

void frmDisplay::cmdLeftBrainResponsible_Click()
{
    forms::bringToFront(ui->fraLeftBrainResponsible);
}

void frmDisplay::Label19_Click()
{
    resume::step(modHelp::OpenCoBrandPage);
}
