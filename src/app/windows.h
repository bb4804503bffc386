// The program's four windows: at most one of each, created on first use, forgotten
// when closed so that the next use starts from the initial state.
#pragma once

#include <QWidget>
#include <vector>

class frmMain;
class frmDisplay;
class frmAbout;
class frmExitScreen;

namespace Windows {

// Each returns the one window of its kind, creating it (hidden) when none exists.
frmMain *main();
frmDisplay *display();
frmAbout *about();
frmExitScreen *exitScreen();

// Each returns the window of its kind, or nullptr when none exists.
frmMain *existingMain();
frmDisplay *existingDisplay();
frmAbout *existingAbout();
frmExitScreen *existingExitScreen();

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
