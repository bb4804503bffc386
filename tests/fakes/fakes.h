// Test doubles of the platform services: they record every request and answer from
// what the test scripted.
#pragma once

#include "app/Program.h"
#include "platform/services.h"

#include <QMap>
#include <QStringList>
#include <deque>
#include <vector>

// What tests and benchmarks read and drive inside the Program: its windows (made on
// first use, or only looked at), its services and the quiz's state.
class ProgramProbe
{
public:
    explicit ProgramProbe(Program &program) : m_program(program) {}

    void start() { m_program.start(); }
    void end() { m_program.end(); }
    void chooseBanner() { m_program.chooseBanner(); }

    DetailsWindow *details() { return m_program.details(); }
    TestWindow *testWindow() { return m_program.testWindow(); }
    ExitScreen *exitScreen() { return m_program.exitScreen(); }
    DetailsWindow *existingDetails() const;
    TestWindow *existingTestWindow() const;
    ExitScreen *existingExitScreen() const;
    // Every window that exists, oldest first.
    std::vector<QWidget *> windowsInCreationOrder() const;

    platform::Services &services() { return m_program.m_services; }
    const quiz::State &quiz() const { return m_program.m_quiz.state(); }

private:
    Program &m_program;
};

namespace fakes {

class MessageBoxes final : public platform::MessageBoxService
{
public:
    platform::BoxAnswer show(const platform::BoxRequest &request) override;

    // The user's answers, one per box in the order the boxes come: OK for a box that
    // only tells, Yes or No for a question. A box with no answer left fails the test,
    // and so does an answer that is not one of the box's buttons.
    void answerOk(int times = 1) { answers.insert(answers.end(), times, platform::BoxAnswer::Ok); }

    std::vector<platform::BoxRequest> shown;
    std::deque<platform::BoxAnswer> answers;
    int unscriptedBoxes = 0;
    std::function<void()> whileShown; // runs inside the box, as a user could act
};

class Browser final : public platform::UrlOpener
{
public:
    enum class Mode { Opens, Refuses, Broken };
    void open(const QString &address) override;

    QStringList opened; // what a working browser was handed
    int requests = 0;   // every call, whatever the mode
    Mode mode = Mode::Opens;
};

class Settings final : public platform::SettingsStore
{
public:
    QString read(const QString &section, const QString &key) override;
    void write(const QString &section, const QString &key, const QString &value) override;

    QMap<QString, QString> values; // "Section/Key" -> value
    int writes = 0;
    bool unreadable = false;
    bool unwritable = false;
};

class Clock final : public platform::Clock
{
public:
    QDate today() override { return date; }
    QDate date{2026, 12, 7};
};

class Random final : public platform::RandomSource
{
public:
    void seedFromClock() override { ++seeds; }
    float next() override;

    std::deque<float> values; // drawn in order; 0.5 once they run out
    int seeds = 0;
    int draws = 0;
};

class InstanceGuard final : public platform::InstanceGuard
{
public:
    bool claim() override { return alone; }
    bool alone = true;
};

class ProcessEnd final : public platform::ProcessEnd
{
public:
    void end(int status) override
    {
        ++ends;
        lastStatus = status;
    }
    int ends = 0;
    int lastStatus = -1;
};

struct Installed
{
    MessageBoxes *boxes;
    Browser *browser;
    Settings *settings;
    Clock *clock;
    Random *random;
    InstanceGuard *guard;
    ProcessEnd *processEnd;
};

// Destroys the test's Program with its windows and makes a fresh one on fresh doubles.
Installed resetProgram();

// The Program the last resetProgram() made, seen through its probe.
ProgramProbe program();

// Runs the deletions that closed windows have queued.
void flushDeletes();

// Application set-up shared by the GUI tests: fonts, style, no quitting on close.
void prepareApplication();

} // namespace fakes
