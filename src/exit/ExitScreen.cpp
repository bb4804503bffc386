#include "ExitScreen.h"
#include "ui_ExitScreen.h"

#include "exit/fatal.h"
#include "platform/services.h"
#include "ui/forms.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>
#include <cmath>

namespace {

const QString kCaption = QStringLiteral("Brenvo v" BRENVO_VERSION);
const QString kNoSpace = QStringLiteral("Email Address Cannot Contain Space");

void critical(platform::MessageBoxService &boxes, QWidget *owner, const QString &text)
{
    platform::messageBox(boxes, owner, text, platform::BoxIcon::Critical);
}

} // namespace

const std::array<QString, 4> &ExitScreen::SupportMessages()
{
    static const std::array<QString, 4> messages = {
        QStringLiteral("Our programs can only be made and kept up to date with your support. The best way to support "
                       "us is to visit the discussion board at https://www.talvern.example/board "
                       "regularly and take part in its discussions and other activities."),
        QStringLiteral("Please visit the discussion board at https://www.talvern.example/board "
                       "regularly and support it by taking part in its many discussions. These programs cannot be "
                       "supported and maintained without your regular visits."),
        QStringLiteral("https://www.talvern.example/board is a free online discussion forum on the "
                       "human brain and mind. Visit it regularly to help us develop and maintain this program."),
        QStringLiteral("The discussion board needs your help! Visit https://www.talvern.example/board "
                       "regularly and take part in its discussions and activities, so that more of our programs can be "
                       "maintained and developed."),
    };
    return messages;
}

namespace {
referral::Field fieldOf(const Ui::ExitScreen &ui, const QWidget *box)
{
    using referral::Field;
    return box == ui.txtName          ? Field::ReferrerName
           : box == ui.txtEmail       ? Field::ReferrerEmail
           : box == ui.txtFriendName  ? Field::FriendName
           : box == ui.txtFriendEmail ? Field::FriendEmail
                                      : Field::Message;
}
} // namespace

ExitScreen::ExitScreen(platform::Services &services, referral::Addresses to, QWidget *parent)
    : QWidget(parent), m_services(services), m_to(std::move(to)), ui(std::make_unique<Ui::ExitScreen>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    forms::prepareWindow(this);

    connect(ui->Check1, &QPushButton::toggled, this, [this] { run([this] { Check1_Click(); }); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [this] { run([this] { cmdClose_Click(); }); });
    connect(ui->cmdSubmit, &QPushButton::clicked, this, [this] { run([this] { cmdSubmit_Click(); }); });
    forms::onClick(ui->lblGoToHome, [this] { run([this] { lblGoToHome_Click(); }); });
    for (QWidget *box : {static_cast<QWidget *>(ui->txtName), static_cast<QWidget *>(ui->txtEmail),
                         static_cast<QWidget *>(ui->txtFriendName), static_cast<QWidget *>(ui->txtFriendEmail),
                         static_cast<QWidget *>(ui->txtMessage)})
        box->installEventFilter(this);
    for (QLineEdit *box : {ui->txtName, ui->txtEmail, ui->txtFriendName, ui->txtFriendEmail})
        forms::limitLength(box, referral::maxLength(fieldOf(*ui, box)));
    ui->txtMessage->setMaxLength(referral::maxLength(referral::Field::Message));

    Form_Load();
}

ExitScreen::~ExitScreen() = default;

template <typename Handler>
void ExitScreen::run(Handler &&fn)
{
    fatal::run(*m_services.messageBox, this, std::forward<Handler>(fn), [this] { emit endRequested(); });
}

void ExitScreen::Form_Load()
{
    setWindowTitle(kCaption);
    ui->lblExitScreenCaption->setText(kCaption);
    forms::fitLabel(ui->lblExitScreenCaption);

    setWindowIcon(forms::programIcon());
    ui->picExitScreenIcon->setPixmap(forms::programPixmap());

    platform::RandomSource &random = *m_services.random;
    random.seedFromClock();
    const float r = random.next();
    const int k = std::clamp(static_cast<int>(std::floor(r * 4.0f)), 0, 3);
    ui->Label2->setText(SupportMessages()[static_cast<std::size_t>(k)]);
    // Exit has the focus when the screen comes up: a screen reader reads its
    // description after it, the support message and the form below.
    ui->cmdClose->setAccessibleDescription(ui->Label2->text() + u' ' + ui->Frame2->title() + u'.');

    // Above ordinary windows without taking the focus from the one the user was in.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void ExitScreen::showEvent(QShowEvent *event)
{
    // Exit again at every showing: a window manager's late report that the screen
    // was focused while hidden makes Qt move the focus on to the next control.
    if (!event->spontaneous())
        ui->cmdClose->setFocus();
    QWidget::showEvent(event);
}

void ExitScreen::cmdClose_Click()
{
    emit endRequested();
}

void ExitScreen::Check1_Click()
{
    // Springs back at once: unchecking raises this handler again, which then does nothing.
    if (ui->Check1->isChecked()) {
        ui->Check1->setChecked(false);
        emit linkClicked(forms::Link::Home);
    }
}

void ExitScreen::lblGoToHome_Click()
{
    emit linkClicked(forms::Link::Softwares);
}

QString ExitScreen::messageText() const
{
    // The box is multi-line: its line breaks go out as CR LF.
    QString text = ui->txtMessage->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

QString ExitScreen::boxText(QWidget *box) const
{
    if (box == ui->txtMessage)
        return messageText();
    return static_cast<QLineEdit *>(box)->text();
}

void ExitScreen::setBoxText(QWidget *box, const QString &text)
{
    if (box == ui->txtMessage)
        ui->txtMessage->setPlainText(text);
    else
        static_cast<QLineEdit *>(box)->setText(text);
}

void ExitScreen::cmdSubmit_Click()
{
    const referral::Form form{ui->txtName->text(), ui->txtEmail->text(), messageText(), ui->txtFriendName->text(),
                              ui->txtFriendEmail->text()};
    referral::SubmitReferral(form, m_to, *m_services.messageBox, *m_services.urlOpener, this);
}

bool ExitScreen::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QWidget *>(watched);
    if (!box)
        return false;
    // Focus that leaves with the window (another program, a message box) is not the
    // user moving between boxes.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        // Unannounced: a screen reader reads the box, empty, when it hears of the focus.
        run([&] { forms::unannounced([&] { Placeholder_GotFocus(box); }); });
        break;
    case QEvent::FocusOut:
        run([&] { Placeholder_LostFocus(box); });
        break;
    case QEvent::KeyPress:
        if (box == ui->txtEmail || box == ui->txtFriendEmail) {
            bool consumed = false;
            run([&] { consumed = EmailBox_KeyPress(box, static_cast<QKeyEvent *>(event)); });
            return consumed;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool ExitScreen::EmailBox_KeyPress(QWidget *box, QKeyEvent *event)
{
    if (event->text() != QStringLiteral(" "))
        return false;
    critical(*m_services.messageBox, this, kNoSpace);
    box->setFocus();
    return true;
}

namespace {
QString placeholderOf(const Ui::ExitScreen &ui, const QWidget *box)
{
    return referral::placeholder(fieldOf(ui, box));
}
} // namespace

void ExitScreen::Placeholder_GotFocus(QWidget *box)
{
    if (referral::trimSpaces(boxText(box)) == placeholderOf(*ui, box))
        setBoxText(box, QString());
}

void ExitScreen::Placeholder_LostFocus(QWidget *box)
{
    if (referral::trimSpaces(boxText(box)).isEmpty())
        setBoxText(box, placeholderOf(*ui, box));
}
