// The program: owns the platform services, the quiz's state, the banner
// choice and the four windows, and decides which window shows next. Windows report
// what the user asked for through signals; only this class connects them.
#pragma once

#include "braintest/quiz.h"
#include "platform/services.h"
#include "ui/links.h"

#include <QObject>
#include <QPointer>
#include <vector>

class AboutDialog;
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

    // Each returns the one window of its kind, making it (hidden) when none exists.
    DetailsWindow *details();
    TestWindow *testWindow();
    AboutDialog *about();
    ExitScreen *exitScreen();
    // Each returns the window of its kind, or nullptr when none exists.
    DetailsWindow *existingDetails() const;
    TestWindow *existingTestWindow() const;
    AboutDialog *existingAbout() const;
    ExitScreen *existingExitScreen() const;
    // Every window that exists, oldest first.
    std::vector<QWidget *> windowsInCreationOrder() const;

    platform::Services &services() { return m_services; }
    quiz::State &quiz() { return m_quiz; }
    // Draws the banner the details window shows.
    void chooseBanner();

protected:
    // Every window's close passes through here: the one place that decides what a
    // close brings next.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The menus and links both main windows share.
    void connectMenus(MainWindowBase *window);
    void startTest();
    void backToDetails();
    void showAbout(QWidget *over);
    void openLink(forms::Link link);
    void closing(QWidget *window);
    template <typename Window>
    Window *remember(Window *window);
    void forget(QWidget *window);

    platform::Services m_services;
    quiz::State m_quiz;

    QPointer<DetailsWindow> m_details;
    QPointer<TestWindow> m_test;
    QPointer<AboutDialog> m_about;
    QPointer<ExitScreen> m_exitScreen;
    std::vector<QPointer<QWidget>> m_order;
    std::vector<const QWidget *> m_closing;
    bool m_ending = false;
    bool m_ended = false;
};
