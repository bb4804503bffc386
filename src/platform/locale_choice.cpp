#include "platform/locale_choice.h"

#include <cstdlib>

namespace platform {

namespace {
bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}
} // namespace

Utf8LocaleLoan::Utf8LocaleLoan()
{
    if (isSet("LC_ALL") || isSet("LC_CTYPE") || isSet("LANG"))
        return;
    m_lent = setenv("LC_CTYPE", "C.UTF-8", 1) == 0;
}

Utf8LocaleLoan::~Utf8LocaleLoan()
{
    if (m_lent)
        unsetenv("LC_CTYPE");
}

} // namespace platform
