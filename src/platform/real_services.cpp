// The desktop's own implementations of the platform services. They hold no program
// logic: each hands one request to Qt or the operating system.
#include "browser_command.h"
#include "instance_lock.h"
#include "services.h"
#ifdef Q_OS_WIN
#include "settings_registry.h"
#else
#include "settings_file.h"
#endif

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace platform {
namespace {

class QtMessageBox final : public MessageBoxService
{
public:
    BoxAnswer show(const BoxRequest &request) override
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        if (request.icon == BoxIcon::Information)
            icon = QMessageBox::Information;
        else if (request.icon == BoxIcon::Critical)
            icon = QMessageBox::Critical;
        QWidget *parent = request.owner ? request.owner->window() : nullptr;
        QMessageBox box(icon, request.caption, displayText(request.text), QMessageBox::NoButton, parent);
        box.setTextFormat(Qt::PlainText);
        // The desktop's font, kept for message boxes when the program set its own.
        box.setFont(QApplication::font("QMessageBox"));
        box.setWindowModality(Qt::ApplicationModal);
        // A box of no window's (the update prompt, the refusal of a second copy) comes
        // up above every window, the first copy's always-on-top farewell screen included.
        if (!parent)
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        if (request.buttons == BoxButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            return box.exec() == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return BoxAnswer::Ok;
    }

private:
    // A lone carriage return separates lines in these texts; Qt only breaks on LF.
    static QString displayText(QString text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
                text[i] = u'\n';
        }
        return text;
    }
};

// While an address is handed on, Qt's own messages that would quote it (no browser
// found, say) name only its page: a referral's query holds people's names and e-mail
// addresses, and standard error ends up in the desktop's journal.
class AddressRedactor
{
public:
    explicit AddressRedactor(const QUrl &url)
        : m_url(url), m_page(QUrlQuery(url).queryItemValue(QStringLiteral("page")))
    {
        s_active = this;
        m_previous = qInstallMessageHandler(&AddressRedactor::handle);
    }
    ~AddressRedactor()
    {
        qInstallMessageHandler(m_previous);
        s_active = nullptr;
    }
    AddressRedactor(const AddressRedactor &) = delete;
    AddressRedactor &operator=(const AddressRedactor &) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        AddressRedactor *self = s_active;
        QString shown = message;
        if (self && self->quotes(message))
            shown = QStringLiteral("Could not open the page \"%1\"").arg(self->m_page);
        if (self && self->m_previous)
            self->m_previous(type, context, shown);
        else
            std::fprintf(stderr, "%s\n", shown.toLocal8Bit().constData());
    }

    bool quotes(const QString &message) const
    {
        for (const QString &part :
             {m_url.toString(), m_url.toString(QUrl::FullyEncoded), m_url.toString(QUrl::FullyDecoded), m_url.query(),
              m_url.query(QUrl::FullyEncoded), m_url.query(QUrl::FullyDecoded)}) {
            if (!part.isEmpty() && message.contains(part))
                return true;
        }
        return false;
    }

    static inline AddressRedactor *s_active = nullptr;
    QUrl m_url;
    QString m_page;
    QtMessageHandler m_previous = nullptr;
};

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
bool isProgram(const QString &path)
{
    if (!path.contains(u'/'))
        return !QStandardPaths::findExecutable(path).isEmpty();
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

bool startDetached(const QStringList &command)
{
    return !command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1));
}

// Qt's own way, with the variables that name a browser hidden from it: it would split a
// path with a blank, and the commands of $BROWSER have been tried already.
void openTheQtWay(const QUrl &url)
{
    const QByteArray browser = qgetenv("BROWSER");
    const QByteArray defaultBrowser = qgetenv("DEFAULT_BROWSER");
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    QDesktopServices::openUrl(url);
    if (!browser.isNull())
        qputenv("BROWSER", browser);
    if (!defaultBrowser.isNull())
        qputenv("DEFAULT_BROWSER", defaultBrowser);
}
#endif

class DesktopUrlOpener final : public UrlOpener
{
public:
    void open(const QString &address) override
    {
        // Always the address as one argument, never through a command interpreter.
        const QUrl url = QUrl::fromEncoded(address.toUtf8());
        const AddressRedactor redactor(url);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        // In a Flatpak or Snap sandbox only the desktop portal, which Qt uses, can open it.
        if (!QFileInfo::exists(QStringLiteral("/.flatpak-info")) && !qEnvironmentVariableIsSet("SNAP")) {
            // The browser the user named, then the desktop's own choice through xdg-open.
            const QString encoded = QString::fromUtf8(url.toEncoded());
            for (const QStringList &command : browserCommands(qEnvironmentVariable("BROWSER"), encoded, isProgram))
                if (startDetached(command))
                    return;
            const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
            if (!opener.isEmpty() && startDetached({opener, encoded}))
                return;
        }
        openTheQtWay(url);
#else
        QDesktopServices::openUrl(url);
#endif
    }
};

class SystemClock final : public Clock
{
public:
    QDate today() override { return QDate::currentDate(); }
};

class SeededRandom final : public RandomSource
{
public:
    void seedFromClock() override
    {
        const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        m_engine.seed(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
    }

    float next() override
    {
        // 24 random bits fill a float's mantissa exactly, so the result stays below 1.
        return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::mt19937 m_engine{5489u};
};

class ExitProcess final : public ProcessEnd
{
public:
    [[noreturn]] void end(int status) override
    {
        // Ends at once: no further window event and no close handling may run.
        std::fflush(nullptr);
        std::_Exit(status);
    }
};

class LockInstanceGuard final : public InstanceGuard
{
public:
    bool claim() override { return claimInstanceLock(); }
};

} // namespace

#ifdef Q_OS_UNIX
namespace {
void noteOnly(int) {}
} // namespace
#endif

void treatLimitsAsErrors()
{
#ifdef Q_OS_UNIX
    // Caught rather than ignored: a caught signal is reset for the programs Brenvo
    // starts (the browser), an ignored one would stay ignored there.
    struct sigaction action
    {
    };
    action.sa_handler = noteOnly;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGXFSZ, &action, nullptr);
    sigaction(SIGPIPE, &action, nullptr);
#endif
}

Services realServices()
{
    Services s;
    s.messageBox = std::make_unique<QtMessageBox>();
    s.urlOpener = std::make_unique<DesktopUrlOpener>();
#ifdef Q_OS_WIN
    s.settings = std::make_unique<RegistrySettingsStore>();
#else
    s.settings = std::make_unique<FileSettingsStore>();
#endif
    s.clock = std::make_unique<SystemClock>();
    s.random = std::make_unique<SeededRandom>();
    s.instanceGuard = std::make_unique<LockInstanceGuard>();
    s.processEnd = std::make_unique<ExitProcess>();
    return s;
}

} // namespace platform
