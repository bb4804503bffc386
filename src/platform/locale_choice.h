// The character set Qt starts with on Linux. Qt needs a UTF-8 locale: when the user has
// set no locale at all, it switches to C.UTF-8 by itself, but says so in four lines at
// every start.
#pragma once

namespace platform {

// While this lives, and only when LC_ALL, LC_CTYPE and LANG are all unset or empty,
// LC_CTYPE names C.UTF-8, the locale Qt would choose; afterwards it is unset again, so
// that the programs Brenvo starts (the browser) see the environment as it was. A locale
// the user chose is left to Qt.
class Utf8LocaleLoan
{
public:
    Utf8LocaleLoan();
    ~Utf8LocaleLoan();
    Utf8LocaleLoan(const Utf8LocaleLoan &) = delete;
    Utf8LocaleLoan &operator=(const Utf8LocaleLoan &) = delete;

private:
    bool m_lent = false;
};

} // namespace platform
