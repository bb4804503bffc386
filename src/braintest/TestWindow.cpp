#include "TestWindow.h"
#include "ui_TestWindow.h"

#include "braintest/quiz.h"
#include "platform/services.h"
#include "ui/forms.h"
#include "ui/resume.h"

#include <QKeyEvent>
#include <algorithm>

namespace {
const QString kShowMyAbility = QStringLiteral("Show My Ability");
const QString kNextCaption = QStringLiteral("&Next");
const QString kChooseAnswer = QStringLiteral("Please choose an answer");
} // namespace

TestWindow::TestWindow(platform::MessageBoxService &boxes, quiz::Test &quiz, QWidget *parent)
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

    // The result panel lies in front until a test starts; what it covers is out of reach.
    ui->fraQuestion->setEnabled(false);
    // The panels the focus is put on to have them read out: focusable (a click puts the
    // focus there too; Tab passes them by).
    for (QWidget *panel :
         {static_cast<QWidget *>(ui->Frame1), static_cast<QWidget *>(ui->Frame3), static_cast<QWidget *>(ui->fraResult),
          static_cast<QWidget *>(ui->fraRightBrainResponsible), static_cast<QWidget *>(ui->fraLeftBrainResponsible)})
        panel->setFocusPolicy(Qt::ClickFocus);
    ui->Frame1->installEventFilter(this);
    ui->Frame3->installEventFilter(this);
}

TestWindow::~TestWindow() = default;

void TestWindow::bringToFront(QWidget *front, QWidget *behind, void (TestWindow::*focus)())
{
    // The focus goes to the front before the panel behind is hidden and disabled: taken
    // from a panel that way, it would pass through the next control in the tab order,
    // and a screen reader would name that control.
    front->setEnabled(true);
    front->show();
    (this->*focus)();
    forms::bringToFront(front);
    // The covered panel must not be reachable by Tab or access keys either.
    behind->setEnabled(false);
}

void TestWindow::startTest()
{
    showQuestion(0);
    bringToFront(ui->fraQuestion, ui->fraResult, &TestWindow::focusQuestion);
}

void TestWindow::showQuestion(int index)
{
    const quiz::State &s = m_quiz.state();
    // Bounds-checked: a slot past the table reads as empty text.
    ui->lblQuestion->setText(quiz::slot(s.Questions, index));
    ui->optAnswerOne->setText(quiz::slot(s.Options, 2 * index));
    ui->optAnswerTwo->setText(quiz::slot(s.Options, 2 * index + 1));
    forms::clearOptions({ui->optAnswerOne, ui->optAnswerTwo});
}

void TestWindow::focusQuestion()
{
    // A screen reader speaks what the focus comes to, and nothing that changes under a
    // focus that stays: the focus moves to the answers' panel, or when it is there
    // already, to the question's panel. The one it moves to is the question to a screen
    // reader, the two answers its description; the other has no name of its own, so
    // that no two panels are read as the same question.
    QWidget *to = ui->Frame1->hasFocus() ? ui->Frame3 : ui->Frame1;
    QWidget *other = to == ui->Frame1 ? ui->Frame3 : ui->Frame1;
    other->setAccessibleName(QString());
    other->setAccessibleDescription(QString());
    to->setAccessibleName(ui->lblQuestion->text());
    to->setAccessibleDescription(ui->optAnswerOne->text() + QStringLiteral(", ") + ui->optAnswerTwo->text());
    to->setFocus();
}

bool TestWindow::eventFilter(QObject *watched, QEvent *event)
{
    // From a question's panel, the keys that choose an answer go on to the first answer.
    if ((watched == ui->Frame1 || watched == ui->Frame3) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right
            || key == Qt::Key_Space) {
            ui->optAnswerOne->setFocus(Qt::TabFocusReason);
            if (key == Qt::Key_Space)
                ui->optAnswerOne->click();
            return true;
        }
    }
    return MainWindowBase::eventFilter(watched, event);
}

// The text of the selected option; empty when nothing is selected.
QString TestWindow::selectedAnswer() const
{
    if (ui->optAnswerOne->isChecked())
        return ui->optAnswerOne->text();
    if (ui->optAnswerTwo->isChecked())
        return ui->optAnswerTwo->text();
    return {};
}

void TestWindow::cmdNext_Click()
{
    const bool evaluates = m_quiz.onLastQuestion();
    const QString answer = selectedAnswer();
    if (answer.isEmpty()) {
        if (!evaluates)
            ui->cmdPrevious->setEnabled(m_quiz.state().CurrentQuestion != 0);
        resume::step([this] { platform::messageBox(m_boxes, this, kChooseAnswer, platform::BoxIcon::Critical); });
        return;
    }
    m_quiz.recordAnswer(answer);
    m_quiz.nextQuestion();
    if (evaluates) {
        showResult();
        return;
    }
    ui->cmdPrevious->setEnabled(true);
    ui->cmdNext->setText(m_quiz.onLastQuestion() ? kShowMyAbility : kNextCaption);
    showQuestion(m_quiz.state().CurrentQuestion);
    focusQuestion();
}

void TestWindow::showResult()
{
    switch (m_quiz.evaluate()) {
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
    // No button holds the focus, so Enter (like Esc) reaches Next once more.
    bringToFront(ui->fraResult, ui->fraQuestion, &TestWindow::focusList);
}

void TestWindow::focusList()
{
    QGroupBox *list = ui->fraRightBrainResponsible->isVisibleTo(ui->fraResult) ? ui->fraRightBrainResponsible
                                                                               : ui->fraLeftBrainResponsible;
    QList<QLabel *> labels = list->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    std::ranges::sort(labels, [](QLabel *a, QLabel *b) { return a->y() < b->y(); });
    QStringList lines;
    for (QLabel *line : labels)
        lines << line->text();
    // To a screen reader: the result panel is the verdict, the list its title and lines.
    list->setAccessibleDescription(lines.join(QStringLiteral(", ")));
    ui->fraResult->setAccessibleName(ui->lblAnswer->text());
    ui->fraResult->setAccessibleDescription(list->title() + QStringLiteral(": ") + list->accessibleDescription());
    // Each time to a panel the focus is not on already, so that it is spoken again.
    (list->hasFocus() ? static_cast<QWidget *>(ui->fraResult) : list)->setFocus();
}

void TestWindow::cmdPrevious_Click()
{
    m_quiz.previousQuestion();
    if (m_quiz.state().CurrentQuestion == 0)
        ui->cmdPrevious->setEnabled(false);
    ui->cmdNext->setText(kNextCaption);
    showQuestion(m_quiz.state().CurrentQuestion);
    focusQuestion();
}

void TestWindow::cmdBack_Click()
{
    m_quiz.restart();
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
    focusList();
}

void TestWindow::cmdLeftBrainResponsible_Click()
{
    forms::bringToFront(ui->fraLeftBrainResponsible);
    focusList();
}

void TestWindow::Label19_Click()
{
    emit linkClicked(forms::Link::CoBrand);
}
