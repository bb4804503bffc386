// The desktop's own implementations of the platform services. They hold no program
// logic: each hands one request to Qt or the operating system.
#include "services.h"
#include "instance_lock.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

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
        box.setWindowModality(Qt::ApplicationModal);
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
        static const QRegularExpression loneCr(QStringLiteral("\r(?!\n)"));
        return text.replace(loneCr, QStringLiteral("\n"));
    }
};

class DesktopUrlOpener final : public UrlOpener
{
public:
    void open(const QString &address) override
    {
        // Qt starts the browser with the address as one argument, never through a shell.
        QDesktopServices::openUrl(QUrl::fromEncoded(address.toUtf8()));
    }
};

class QtSettingsStore final : public SettingsStore
{
public:
    QString read(const QString &section, const QString &key) override
    {
        QSettings settings = open();
        const QString value = settings.value(section + u'/' + key).toString();
        check(settings);
        return value;
    }

    void write(const QString &section, const QString &key, const QString &value) override
    {
        QSettings settings = open();
        settings.setValue(section + u'/' + key, value);
        settings.sync();
        check(settings);
    }

private:
    // $XDG_CONFIG_HOME/brenvo/brenvo.conf on Linux.
    static QSettings open()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("brenvo"),
                         QStringLiteral("brenvo"));
    }

    static void check(const QSettings &settings)
    {
        if (settings.status() != QSettings::NoError)
            throw PlatformError("settings store unavailable");
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

void installRealServices()
{
    Services &s = services();
    s.messageBox = std::make_unique<QtMessageBox>();
    s.urlOpener = std::make_unique<DesktopUrlOpener>();
    s.settings = std::make_unique<QtSettingsStore>();
    s.clock = std::make_unique<SystemClock>();
    s.random = std::make_unique<SeededRandom>();
    s.instanceGuard = std::make_unique<LockInstanceGuard>();
    s.processEnd = std::make_unique<ExitProcess>();
}

} // namespace platform
