#include "fakes.h"

#include "app/DetailsWindow.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "ui/forms.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStyleFactory>
#include <QTest>

DetailsWindow *ProgramProbe::existingDetails() const
{
    return m_program.m_details;
}
TestWindow *ProgramProbe::existingTestWindow() const
{
    return m_program.m_test;
}
ExitScreen *ProgramProbe::existingExitScreen() const
{
    return m_program.m_exitScreen;
}

std::vector<QWidget *> ProgramProbe::windowsInCreationOrder() const
{
    std::vector<QWidget *> result;
    for (const QPointer<QWidget> &w : m_program.m_order)
        if (w)
            result.push_back(w.data());
    return result;
}

namespace fakes {

platform::BoxAnswer MessageBoxes::show(const platform::BoxRequest &request)
{
    shown.push_back(request);
    if (whileShown) {
        auto action = std::move(whileShown);
        whileShown = nullptr;
        action();
    }
    const bool question = request.buttons != platform::BoxButtons::Ok;
    if (answers.empty()) {
        // A box the test did not script an answer for fails that test, wherever it
        // comes up: a silent default answer would hide a box nobody expected.
        ++unscriptedBoxes;
        QTest::qFail(qPrintable(QStringLiteral("unscripted box: ") + request.text), __FILE__, __LINE__);
        return question ? platform::BoxAnswer::No : platform::BoxAnswer::Ok;
    }
    const platform::BoxAnswer answer = answers.front();
    answers.pop_front();
    if (question == (answer == platform::BoxAnswer::Ok))
        QTest::qFail(qPrintable(QStringLiteral("the scripted answer is not a button of the box: ") + request.text),
                     __FILE__, __LINE__);
    return answer;
}

void Browser::open(const QString &address)
{
    ++requests;
    if (mode == Mode::Broken)
        throw platform::PlatformError("no browser service");
    if (mode == Mode::Opens)
        opened.append(address);
}

QString Settings::read(const QString &section, const QString &key)
{
    if (unreadable)
        throw platform::PlatformError("unreadable");
    return values.value(section + u'/' + key);
}

void Settings::write(const QString &section, const QString &key, const QString &value)
{
    if (unwritable)
        throw platform::PlatformError("unwritable");
    ++writes;
    values.insert(section + u'/' + key, value);
}

float Random::next()
{
    ++draws;
    if (values.empty())
        return 0.5f;
    const float v = values.front();
    values.pop_front();
    return v;
}

namespace {
std::unique_ptr<Program> &current()
{
    static std::unique_ptr<Program> p;
    return p;
}
} // namespace

Installed resetProgram()
{
    current().reset();
    flushDeletes();

    platform::Services s;
    auto boxes = std::make_unique<MessageBoxes>();
    auto browser = std::make_unique<Browser>();
    auto settings = std::make_unique<Settings>();
    auto clock = std::make_unique<Clock>();
    auto random = std::make_unique<Random>();
    auto guard = std::make_unique<InstanceGuard>();
    auto end = std::make_unique<ProcessEnd>();
    const Installed out{boxes.get(), browser.get(), settings.get(), clock.get(), random.get(), guard.get(), end.get()};
    s.messageBox = std::move(boxes);
    s.urlOpener = std::move(browser);
    s.settings = std::move(settings);
    s.clock = std::move(clock);
    s.random = std::move(random);
    s.instanceGuard = std::move(guard);
    s.processEnd = std::move(end);
    current() = std::make_unique<Program>(std::move(s));
    return out;
}

ProgramProbe program()
{
    if (!current())
        resetProgram();
    return ProgramProbe(*current());
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void prepareApplication()
{
    QApplication::setQuitOnLastWindowClosed(false);
    forms::installLook();
}

} // namespace fakes
