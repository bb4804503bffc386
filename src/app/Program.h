// The program: owns the platform services, the test in progress and the windows, and
// decides which window shows next. Windows report
// what the user asked for through signals; only this class connects them.
#pragma once

#include "braintest/quiz.h"
#include "platform/services.h"
#include "ui/links.h"

#include <QObject>
#include <QPointer>
#include <vector>

class DetailsWindow;
class ExitScreen;
class MainWindowBase;
class TestWindow;

class Program final : public QObject
{
    Q_OBJECT
public:
    explicit Program(platform::Services services);
    // Destroys the windows that are left, without their close handling.
    ~Program() override;

    // The start: refuses a second copy, offers the update page when due, shows the
    // details window and picks its banner.
    void start();

    // Closes every window that exists, in the order they were made, then ends the
    // process; once, whichever close handler calls it again.
    void end();

protected:
    // Every window's close passes through here: the one place that decides what a
    // close brings next.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The tests and benchmarks look inside through it (tests/fakes).
    friend class ProgramProbe;

    // Each returns the one window of its kind, making it (hidden) when none exists.
    DetailsWindow *details();
    TestWindow *testWindow();
    ExitScreen *exitScreen();
    // Draws the banner the details window shows.
    void chooseBanner();

    // The menus and links both main windows share.
    void connectMenus(MainWindowBase *window);
    void beginTest();
    void backToDetails();
    void showAbout(QWidget *over);
    void openLink(forms::Link link);
    void closing(QWidget *window);
    template <typename Window>
    Window *remember(Window *window);
    void forget(QWidget *window);

    platform::Services m_services;
    quiz::Test m_quiz;

    QPointer<DetailsWindow> m_details;
    QPointer<TestWindow> m_test;
    QPointer<ExitScreen> m_exitScreen;
    std::vector<QPointer<QWidget>> m_order;
    std::vector<const QWidget *> m_closing;
    bool m_ending = false;
    bool m_goingBack = false; // Back is closing the test window
    bool m_ended = false;
};
