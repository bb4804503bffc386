#include "windows.h"

#include "app/frmMain.h"
#include "braintest/frmDisplay.h"
#include "exit/frmExitScreen.h"
#include "web/frmAbout.h"

#include <QPointer>
#include <algorithm>

namespace Windows {
namespace {

struct Registry
{
    QPointer<frmMain> main;
    QPointer<frmDisplay> display;
    QPointer<frmAbout> about;
    QPointer<frmExitScreen> exitScreen;
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

frmMain *main()
{
    return obtain(registry().main);
}
frmDisplay *display()
{
    return obtain(registry().display);
}
frmAbout *about()
{
    return obtain(registry().about);
}
frmExitScreen *exitScreen()
{
    return obtain(registry().exitScreen);
}

frmMain *existingMain()
{
    return registry().main.data();
}
frmDisplay *existingDisplay()
{
    return registry().display.data();
}
frmAbout *existingAbout()
{
    return registry().about.data();
}
frmExitScreen *existingExitScreen()
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
