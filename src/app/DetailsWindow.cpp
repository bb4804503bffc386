#include "DetailsWindow.h"
#include "ui_DetailsWindow.h"

#include "app/name_keys.h"
#include "platform/services.h"
#include "ui/forms.h"
#include "ui/resume.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>

namespace {
const QString kEnterName = QStringLiteral("Please Enter Your Name");
// Misspelt as users of earlier versions know it; keep it so.
const QString kSelectSex = QStringLiteral("Plese Select Your Sex");
} // namespace

DetailsWindow::DetailsWindow(platform::MessageBoxService &boxes, QWidget *parent)
    : MainWindowBase(parent), m_boxes(boxes), ui(std::make_unique<Ui::DetailsWindow>())
{
    ui->setupUi(this);
    forms::prepareWindow(this);
    ui->txtName->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    ui->txtName->setValidator(new nameKeys::NameValidator(ui->txtName));
    ui->txtName->setMaxLength(nameKeys::kMaxLength);

    connect(ui->cmdNext, &QPushButton::clicked, this, &DetailsWindow::cmdNext_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &DetailsWindow::cmdExit_Click);
    connect(ui->mnuNext, &QAction::triggered, this, &DetailsWindow::mnuNext_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &DetailsWindow::mnuExit_Click);
    connectSharedHandlers(ui->mnuOnline, ui->mnuVisit, ui->mnuUpdate, ui->mnuAbout, ui->mnuDonate,
                          ui->mnuMakeMoneyOnline, ui->Label61, ui->lblCobrand, ui->lblFullBrand);
    ui->txtName->installEventFilter(this);

    ui->txtName->setFocus();
}

DetailsWindow::~DetailsWindow() = default;

void DetailsWindow::showBanner(banners::Banner banner)
{
    if (banner == banners::Banner::CoBrand)
        forms::bringToFront(ui->lblCobrand);
    else if (banner == banners::Banner::FullBrand)
        forms::bringToFront(ui->lblFullBrand);
}

bool DetailsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->txtName) {
        if (event->type() == QEvent::KeyPress)
            return txtName_KeyPress(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::InputMethod)
            return txtName_InputMethod(static_cast<QInputMethodEvent *>(event));
    }
    return MainWindowBase::eventFilter(watched, event);
}

bool DetailsWindow::txtName_KeyPress(QKeyEvent *event)
{
    const QString text = event->text();
    // Anything beyond control codes counts as text, whatever Qt would call printable.
    const bool carriesText = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u' ' && c != u'\x7f'; });
    const Qt::KeyboardModifiers mods = event->modifiers();
    // Focus moves, Esc and deletion are not typed characters, nor are Alt and Meta
    // combinations (access keys and shortcuts): they keep their own meaning, but text
    // that comes with them never reaches the box.
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return carriesText;
    default:
        break;
    }
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return !text.isEmpty();
    QString typed = text;
    if ((mods & Qt::ControlModifier) && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        typed = QString(QChar(static_cast<char16_t>(event->key() - Qt::Key_A + 1))); // Ctrl+V is code 22
    if (typed.isEmpty())
        return false; // cursor keys, Home, End and the like

    const nameKeys::Outcome outcome = nameKeys::filter(typed);
    if (outcome.refused) {
        resume::step(
            [this] { platform::messageBox(m_boxes, this, nameKeys::kRefusedMessage, platform::BoxIcon::Information); });
        return true;
    }
    // A single unchanged character (a capital, a blank, Backspace, Enter) goes on to the
    // box as the key it is; anything else is inserted as filtered text. Ctrl+H and
    // Ctrl+M (codes 8 and 13) are not handed on: the box would read their letter.
    if (typed.size() == 1 && outcome.text == typed && typed == text)
        return false;
    insertName(outcome.text);
    return true;
}

bool DetailsWindow::txtName_InputMethod(QInputMethodEvent *event)
{
    if (event->commitString().isEmpty())
        return false;
    const nameKeys::Outcome outcome = nameKeys::filter(event->commitString());
    if (outcome.refused) {
        resume::step(
            [this] { platform::messageBox(m_boxes, this, nameKeys::kRefusedMessage, platform::BoxIcon::Information); });
        return true;
    }
    insertName(outcome.text);
    return true;
}

void DetailsWindow::insertName(QString text)
{
    // Backspace and carriage return pass the filter as keys; as text they never enter.
    text.remove(QChar(8)).remove(QChar(13));
    ui->txtName->insert(text);
}

bool DetailsWindow::ValidateDetails()
{
    // A name of blanks passes: only an empty box is refused.
    if (ui->txtName->text().isEmpty()) {
        resume::step([this] { platform::messageBox(m_boxes, this, kEnterName, platform::BoxIcon::Information); });
        ui->txtName->setFocus();
        return false;
    }
    if (!ui->optMale->isChecked() && !ui->optFemale->isChecked()) {
        resume::step([this] { platform::messageBox(m_boxes, this, kSelectSex); });
        return false;
    }
    return true;
}

void DetailsWindow::cmdNext_Click()
{
    if (ValidateDetails())
        emit startTestRequested();
}

void DetailsWindow::mnuNext_Click()
{
    cmdNext_Click();
}

void DetailsWindow::cmdExit_Click()
{
    close();
}

void DetailsWindow::mnuExit_Click()
{
    close();
}
