#include "TestWindow.h"
#include "ui_TestWindow.h"

#include "braintest/quiz.h"
#include "platform/services.h"
#include "ui/forms.h"
#include "ui/resume.h"

namespace {
// The Next button's caption is the only record of whether it evaluates.
const QString kShowMyAbility = QStringLiteral("Show My Ability");
const QString kNextCaption = QStringLiteral("&Next");
const QString kChooseAnswer = QStringLiteral("Please choose an answer");
constexpr int kLastQuestion = quiz::kQuestionCount - 1;
} // namespace

TestWindow::TestWindow(platform::MessageBoxService &boxes, quiz::State &quiz, QWidget *parent)
    : MainWindowBase(parent), m_boxes(boxes), m_quiz(quiz), ui(std::make_unique<Ui::TestWindow>())
{
    ui->setupUi(this);
    forms::prepareWindow(this);

    connect(ui->cmdNext, &QPushButton::clicked, this, &TestWindow::cmdNext_Click);
    connect(ui->cmdPrevious, &QPushButton::clicked, this, &TestWindow::cmdPrevious_Click);
    connect(ui->cmdBack, &QPushButton::clicked, this, &TestWindow::cmdBack_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &TestWindow::cmdExit_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &TestWindow::Command1_Click);
    connect(ui->cmdRightBrainResponsible, &QPushButton::clicked, this, &TestWindow::cmdRightBrainResponsible_Click);
    connect(ui->cmdLeftBrainResponsible, &QPushButton::clicked, this, &TestWindow::cmdLeftBrainResponsible_Click);
    connect(ui->mnuFileBack, &QAction::triggered, this, &TestWindow::mnuFileBack_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &TestWindow::mnuExit_Click);
    forms::onClick(ui->Label19, [this] { Label19_Click(); });
    connectSharedHandlers(ui->mnuOnline, ui->mnuVisit, ui->mnuUpdate, ui->mnuAbout, ui->mnuDonate,
                          ui->mnuMakeMoneyOnline, ui->Label61, ui->lblCobrand, ui->lblFullBrand);
    // Next is both the default and the cancel button, so Esc always evaluates again
    // once the result is up, even though the question panel lies behind it.
    forms::onDefaultAndCancelKeys(this, [this] { cmdNext_Click(); });

    // The result panel lies in front until a test starts; what it covers is out of reach.
    ui->fraQuestion->setEnabled(false);
}

TestWindow::~TestWindow() = default;

void TestWindow::BringToFront(QWidget *front, QWidget *behind)
{
    forms::bringToFront(front);
    // The covered panel must not be reachable by Tab or access keys either.
    front->setEnabled(true);
    behind->setEnabled(false);
}

void TestWindow::StartTest()
{
    ShowQuestion(0);
    BringToFront(ui->fraQuestion, ui->fraResult);
    ui->optAnswerOne->setFocus();
}

void TestWindow::ShowQuestion(int index)
{
    const quiz::State &s = m_quiz;
    // Bounds-checked: a slot past the table reads as empty text.
    ui->lblQuestion->setText(quiz::slot(s.Questions, index));
    ui->optAnswerOne->setText(quiz::slot(s.Options, 2 * index));
    ui->optAnswerTwo->setText(quiz::slot(s.Options, 2 * index + 1));
    forms::clearOptions({ui->optAnswerOne, ui->optAnswerTwo});
}

// Stores the selected option's text as the answer to the question on screen; a slot
// past the table (repeated evaluations) is skipped. False when nothing is selected.
bool TestWindow::RecordAnswer()
{
    quiz::State &s = m_quiz;
    if (ui->optAnswerOne->isChecked())
        quiz::store(s.Answers, s.CurrentQuestion, ui->optAnswerOne->text());
    else if (ui->optAnswerTwo->isChecked())
        quiz::store(s.Answers, s.CurrentQuestion, ui->optAnswerTwo->text());
    else
        return false;
    return true;
}

void TestWindow::cmdNext_Click()
{
    quiz::State &s = m_quiz;
    if (ui->cmdNext->text() == kShowMyAbility) {
        if (!RecordAnswer()) {
            resume::step([this] { platform::messageBox(m_boxes, this, kChooseAnswer, platform::BoxIcon::Critical); });
            return;
        }
        quiz::add(s.CurrentQuestion, 1);
        ShowResult();
        return;
    }

    ui->cmdPrevious->setEnabled(true);
    if (!RecordAnswer()) {
        if (s.CurrentQuestion == 0)
            ui->cmdPrevious->setEnabled(false);
        resume::step([this] { platform::messageBox(m_boxes, this, kChooseAnswer, platform::BoxIcon::Critical); });
        return;
    }
    quiz::add(s.CurrentQuestion, 1);
    ui->cmdPrevious->setEnabled(true);
    if (s.CurrentQuestion == kLastQuestion)
        ui->cmdNext->setText(kShowMyAbility);
    ShowQuestion(s.CurrentQuestion);
}

void TestWindow::ShowResult()
{
    switch (quiz::Evaluate(m_quiz)) {
    case quiz::Verdict::Right:
        ui->lblAnswer->setText(quiz::kVerdictRight);
        forms::bringToFront(ui->fraRightBrainResponsible);
        break;
    case quiz::Verdict::Left:
        forms::bringToFront(ui->fraLeftBrainResponsible);
        ui->lblAnswer->setText(quiz::kVerdictLeft);
        break;
    case quiz::Verdict::Equal:
        // Neither list comes forward: the one already in front stays.
        ui->cmdRightBrainResponsible->show();
        ui->cmdLeftBrainResponsible->show();
        ui->lblAnswer->setText(quiz::kVerdictEqual);
        break;
    }
    // The verdict is longer than the layout's caption: keep it centred in its frame.
    ui->lblAnswer->resize(ui->lblAnswer->sizeHint());
    ui->lblAnswer->move((ui->Frame4->width() - ui->lblAnswer->width()) / 2, ui->lblAnswer->y());
    BringToFront(ui->fraResult, ui->fraQuestion);
    // No button holds the focus, so Enter (like Esc) reaches Next once more.
    centralWidget()->setFocus();
}

void TestWindow::cmdPrevious_Click()
{
    quiz::State &s = m_quiz;
    quiz::add(s.CurrentQuestion, -1);
    if (s.CurrentQuestion == 0)
        ui->cmdPrevious->setEnabled(false);
    ui->cmdNext->setText(kNextCaption);
    ShowQuestion(s.CurrentQuestion);
}

void TestWindow::cmdBack_Click()
{
    quiz::State &s = m_quiz;
    s.CurrentQuestion = 0;
    s.RightCount = 0;
    s.LeftCount = 0;
    ui->cmdLeftBrainResponsible->hide();
    ui->cmdRightBrainResponsible->hide();
    emit backRequested();
}

void TestWindow::Command1_Click()
{
    cmdBack_Click();
}

void TestWindow::mnuFileBack_Click()
{
    cmdBack_Click();
}

void TestWindow::cmdExit_Click()
{
    close();
}

void TestWindow::mnuExit_Click()
{
    cmdExit_Click();
}

void TestWindow::cmdRightBrainResponsible_Click()
{
    forms::bringToFront(ui->fraRightBrainResponsible);
}

void TestWindow::cmdLeftBrainResponsible_Click()
{
    forms::bringToFront(ui->fraLeftBrainResponsible);
}

void TestWindow::Label19_Click()
{
    emit linkClicked(forms::Link::CoBrand);
}
