// Any key presses and input-method commits into the real name box: only capital
// letters and blanks ever end up in it.
#include "app/DetailsWindow.h"
#include "app/Program.h"
#include "fakes.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdint>
#include <cstdlib>

namespace {
QApplication *app = nullptr;
QLineEdit *box = nullptr;
fakes::Installed f{};

// A fresh program with its details window up and the name box focused.
void openDetails()
{
    f = fakes::resetProgram();
    DetailsWindow *w = fakes::program().details();
    w->show();
    box = w->findChild<QLineEdit *>(QStringLiteral("txtName"));
    box->setFocus();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    fakes::prepareApplication();
    openDetails();
    return 0;
}

// Input: a run of events. Each: kind (even: key press, odd: commit), key (2 bytes),
// modifiers (1 byte), text length n (1 byte, at most 4), then n UTF-16 code units.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    box->clear();
    size_t i = 0;
    while (i + 5 <= size) {
        const bool commit = data[i] & 1;
        const int key = data[i + 1] | (data[i + 2] << 8);
        const auto mods = Qt::KeyboardModifiers(int(data[i + 3] & 0x1f) << 25);
        const size_t n = data[i + 4] % 5;
        i += 5;
        QString text;
        for (size_t k = 0; k < n && i + 2 <= size; ++k, i += 2)
            text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
        // The user clicks OK on the one refusal a key may bring.
        f.boxes->answers.assign(1, platform::BoxAnswer::Ok);
        if (commit) {
            QInputMethodEvent event;
            event.setCommitString(text);
            QApplication::sendEvent(box, &event);
        } else {
            QKeyEvent press(QEvent::KeyPress, key, mods, text);
            QApplication::sendEvent(box, &press);
        }
        if (qEnvironmentVariableIsSet("FUZZ_TRACE"))
            fprintf(stderr, "%s key %x mods %x text %s -> [%s]\n", commit ? "commit" : "press", key, unsigned(mods),
                    qPrintable(text.toUtf8().toHex()), qPrintable(box->text().toUtf8().toHex()));
        if (!box->window()->isVisible())
            break; // Enter or Esc started the start action; the box is no longer in use
    }
    for (const QChar c : box->text()) {
        if (!((c >= u'A' && c <= u'Z') || c == u' ')) {
            fprintf(stderr, "name box holds U+%04X\n", c.unicode());
            abort();
        }
    }
    f.boxes->shown.clear();
    if (!box->window()->isVisible())
        openDetails();
    return 0;
}
