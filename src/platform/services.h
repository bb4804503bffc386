// The services this program needs from the desktop beyond Qt's widgets. Each is a
// small interface; main() installs the real ones, tests install doubles.
#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <stdexcept>

class QWidget;

namespace platform {

// Raised by a service that could not do its work at all (as opposed to a request
// that was merely refused, which the callers never examine).
class PlatformError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline const QString kProgramTitle = QStringLiteral("Brenvo");

enum class BoxIcon { None, Information, Critical };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

struct BoxRequest
{
    QString text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    QString caption = kProgramTitle;
    // The window that raised the box: the box is its modal child and stays in front
    // of it. None for the boxes that come before any window.
    QWidget *owner = nullptr;
};

class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    // Modal; Yes is the default button of a Yes/No box.
    virtual BoxAnswer show(const BoxRequest &request) = 0;
};

class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    // Hands one address to the user's browser and returns at once; the outcome is
    // not reported. Throws PlatformError only when the service itself is unusable.
    virtual void open(const QString &address) = 0;
};

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // A missing value reads as empty text. Both throw PlatformError when the store
    // cannot be read or written.
    virtual QString read(const QString &section, const QString &key) = 0;
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() = 0;
};

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    // Uniform single-precision value in [0, 1).
    virtual float next() = 0;
};

class InstanceGuard
{
public:
    virtual ~InstanceGuard() = default;
    // True when this process is the only running copy for this user. Holds the claim
    // until the process ends.
    virtual bool claim() = 0;
};

class ProcessEnd
{
public:
    virtual ~ProcessEnd() = default;
    // Ends the process at once with the given status; a test double records it and returns.
    virtual void end(int status) = 0;
};

struct Services
{
    std::unique_ptr<MessageBoxService> messageBox;
    std::unique_ptr<UrlOpener> urlOpener;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<InstanceGuard> instanceGuard;
    std::unique_ptr<ProcessEnd> processEnd;
};

// The desktop's own services; main() hands them to the Program, tests hand it doubles.
Services realServices();

// A file-size limit (ulimit -f) or a closed pipe makes the write that meets it fail, as
// a full disk does, instead of ending the process (SIGXFSZ, SIGPIPE). For main() alone.
void treatLimitsAsErrors();

// A box of owner's (none before any window): the caption is the program title.
BoxAnswer messageBox(MessageBoxService &boxes, QWidget *owner, const QString &text, BoxIcon icon = BoxIcon::None,
                     BoxButtons buttons = BoxButtons::Ok);

} // namespace platform
