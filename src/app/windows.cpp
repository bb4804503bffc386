#include "windows.h"

#include "app/DetailsWindow.h"
#include "braintest/TestWindow.h"
#include "exit/ExitScreen.h"
#include "web/AboutDialog.h"

#include <QPointer>
#include <algorithm>

namespace Windows {
namespace {

struct Registry
{
    QPointer<DetailsWindow> main;
    QPointer<TestWindow> display;
    QPointer<AboutDialog> about;
    QPointer<ExitScreen> exitScreen;
    std::vector<QPointer<QWidget>> order;
    std::vector<const QWidget *> closing;
};

Registry &registry()
{
    static Registry r;
    return r;
}

template <typename Form>
Form *obtain(QPointer<Form> &slot)
{
    if (!slot) {
        slot = new Form;
        registry().order.emplace_back(slot.data());
    }
    return slot.data();
}

void forget(QWidget *window)
{
    Registry &r = registry();
    if (r.main == window)
        r.main = nullptr;
    if (r.display == window)
        r.display = nullptr;
    if (r.about == window)
        r.about = nullptr;
    if (r.exitScreen == window)
        r.exitScreen = nullptr;
    std::erase_if(r.order, [window](const QPointer<QWidget> &w) { return w.isNull() || w == window; });
    std::erase(r.closing, window);
}

} // namespace

DetailsWindow *main()
{
    return obtain(registry().main);
}
TestWindow *display()
{
    return obtain(registry().display);
}
AboutDialog *about()
{
    return obtain(registry().about);
}
ExitScreen *exitScreen()
{
    return obtain(registry().exitScreen);
}

DetailsWindow *existingMain()
{
    return registry().main.data();
}
TestWindow *existingDisplay()
{
    return registry().display.data();
}
AboutDialog *existingAbout()
{
    return registry().about.data();
}
ExitScreen *existingExitScreen()
{
    return registry().exitScreen.data();
}

std::vector<QWidget *> inCreationOrder()
{
    std::vector<QWidget *> result;
    for (const QPointer<QWidget> &w : registry().order)
        if (w)
            result.push_back(w.data());
    return result;
}

void beginClose(QWidget *window)
{
    registry().closing.push_back(window);
}

void endClose(QWidget *window)
{
    forget(window);
}

bool isClosing(const QWidget *window)
{
    const auto &closing = registry().closing;
    return std::find(closing.begin(), closing.end(), window) != closing.end();
}

void Reset()
{
    // A window may own another (the about window its opener): delete each at most once.
    std::vector<QPointer<QWidget>> all;
    for (QWidget *w : inCreationOrder())
        all.emplace_back(w);
    for (const QPointer<QWidget> &w : all) {
        if (w) {
            forget(w.data());
            delete w.data();
        }
    }
    registry() = Registry{};
}

} // namespace Windows
