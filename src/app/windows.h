// The program's four windows: at most one of each, created on first use, forgotten
// when closed so that the next use starts from the initial state.
#pragma once

#include <QWidget>
#include <vector>

class DetailsWindow;
class TestWindow;
class AboutDialog;
class ExitScreen;

namespace Windows {

// Each returns the one window of its kind, creating it (hidden) when none exists.
DetailsWindow *main();
TestWindow *display();
AboutDialog *about();
ExitScreen *exitScreen();

// Each returns the window of its kind, or nullptr when none exists.
DetailsWindow *existingMain();
TestWindow *existingDisplay();
AboutDialog *existingAbout();
ExitScreen *existingExitScreen();

// Every window that exists, oldest first.
std::vector<QWidget *> inCreationOrder();

// Each window's close handling runs between these two calls; a window stays known,
// and counts as closing, until its close has finished.
void beginClose(QWidget *window);
void endClose(QWidget *window);
bool isClosing(const QWidget *window);

// Destroys every window at once, without close handling (tests start from nothing).
void Reset();

} // namespace Windows
