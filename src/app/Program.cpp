#include "Program.h"

#include "app/DetailsWindow.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "ui/resume.h"
#include "web/AboutDialog.h"
#include "web/banners.h"
#include "web/pages.h"
#include "web/update_prompt.h"

#include <QEvent>
#include <algorithm>

namespace {
const QString kAlreadyRunning = QStringLiteral("Application is already running");
}

Program::Program(platform::Services services) : m_services(std::move(services)) {}

Program::~Program()
{
    for (const QPointer<QWidget> &w : m_order) {
        if (w) {
            w->removeEventFilter(this);
            delete w.data();
        }
    }
}

void Program::start()
{
    bool alone = true;
    resume::step([&] { alone = m_services.instanceGuard->claim(); });
    if (!alone) {
        // The running copy is left alone: nothing is sent to it.
        resume::step([&] {
            platform::messageBox(*m_services.messageBox, nullptr, kAlreadyRunning, platform::BoxIcon::Information);
        });
        end();
        return;
    }
    resume::step([&] { m_services.random->seedFromClock(); });
    resume::step([&] { updatePrompt::OfferUpdateCheck(m_services); });
    details()->show();
    resume::step([&] { chooseBanner(); }); // draws from the platform generator
}

void Program::chooseBanner()
{
    details()->showBanner(banners::CoBrand_Randomize(*m_services.random));
}

void Program::end()
{
    // The exit screen's close, which this pass brings about, calls back in here. That
    // inner call closes what is left and ends the process itself; with the real
    // platform it never returns, and with a test's double the outer pass finds the end
    // done and stops.
    if (m_ended)
        return;
    m_ending = true;
    const std::vector<QPointer<QWidget>> pass = m_order;
    for (const QPointer<QWidget> &window : pass) {
        if (m_ended)
            return;
        if (window.isNull() || std::find(m_closing.begin(), m_closing.end(), window.data()) != m_closing.end())
            continue;
        window->close();
    }
    if (m_ended)
        return;
    m_ended = true;
    resume::step([&] { m_services.processEnd->end(0); });
}

template <typename Window>
Window *Program::remember(Window *window)
{
    window->installEventFilter(this);
    m_order.emplace_back(window);
    return window;
}

void Program::forget(QWidget *window)
{
    if (m_details == window)
        m_details = nullptr;
    if (m_test == window)
        m_test = nullptr;
    if (m_exitScreen == window)
        m_exitScreen = nullptr;
    std::erase_if(m_order, [window](const QPointer<QWidget> &w) { return w.isNull() || w == window; });
    std::erase(m_closing, window);
}

DetailsWindow *Program::details()
{
    if (!m_details) {
        DetailsWindow *w = remember(new DetailsWindow(*m_services.messageBox));
        m_details = w;
        connect(w, &DetailsWindow::startTestRequested, this, &Program::beginTest);
        connectMenus(w);
    }
    return m_details;
}

TestWindow *Program::testWindow()
{
    if (!m_test) {
        TestWindow *w = remember(new TestWindow(*m_services.messageBox, m_quiz));
        m_test = w;
        connect(w, &TestWindow::backRequested, this, &Program::backToDetails);
        connectMenus(w);
    }
    return m_test;
}

void Program::connectMenus(MainWindowBase *window)
{
    connect(window, &MainWindowBase::linkClicked, this, [this](forms::Link link) { openLink(link); });
    connect(window, &MainWindowBase::aboutRequested, this, [this, window] { showAbout(window); });
}

ExitScreen *Program::exitScreen()
{
    if (!m_exitScreen) {
        const referral::Addresses to{pages::pageAddress(QStringLiteral("kesp-refer-a-friend")),
                                     pages::kSiteBase + QStringLiteral("/brenvo/")};
        auto *w = new ExitScreen(m_services, to);
        m_exitScreen = remember(w);
        // The exit screen traps nothing: a page that cannot be opened is its failure,
        // reported there.
        connect(w, &ExitScreen::linkClicked, this,
                [this](forms::Link link) { pages::open(*m_services.urlOpener, link); });
        connect(w, &ExitScreen::endRequested, this, &Program::end);
    }
    return m_exitScreen;
}

void Program::beginTest()
{
    m_quiz.LoadQuestions();
    TestWindow *test = testWindow();
    test->startTest();
    if (m_details)
        m_details->hide();
    if (m_exitScreen)
        m_exitScreen->hide();
    test->show();
}

void Program::backToDetails()
{
    // Closing the test window makes the exit screen, which this return to the details
    // window would take away again at once: it is left unshown. Shown, the window system
    // would hand it the focus of the closing window, and a screen reader would name a
    // control of a window that comes and goes.
    m_goingBack = true;
    if (m_test)
        m_test->close();
    m_goingBack = false;
    details()->show();
    if (m_exitScreen)
        m_exitScreen->hide();
}

void Program::showAbout(QWidget *over)
{
    // Modal over its window, with no task bar entry of its own, and built afresh each
    // time. Its window owns it too: should that go first, the dialog goes with it.
    QPointer<AboutDialog> dialog = new AboutDialog(*m_services.urlOpener, over);
    dialog->exec();
    delete dialog.data();
}

void Program::openLink(forms::Link link)
{
    // A failing link never reports an error and never blocks the window.
    resume::step([&] { pages::open(*m_services.urlOpener, link); });
}

bool Program::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched->isWidgetType())
        closing(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}

void Program::closing(QWidget *window)
{
    if (std::find(m_closing.begin(), m_closing.end(), window) != m_closing.end())
        return;
    m_closing.push_back(window);
    if (window == m_details || window == m_test) {
        // The exit screen comes up whenever a main window goes; the other main window,
        // hidden behind a running test, is left as it is. While the program ends, an
        // exit screen that is already there is shown once more, but none is built only
        // to be closed at once.
        if (m_goingBack)
            exitScreen();
        else if (!m_ending || m_exitScreen)
            exitScreen()->show();
    } else if (window == m_exitScreen) {
        end();
    }
    // Forgotten at once, so that the next use builds the window afresh.
    forget(window);
}
