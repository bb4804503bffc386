#include "services.h"

namespace platform {

Services &services()
{
    static Services instance;
    return instance;
}

BoxAnswer messageBox(const QString &text, BoxIcon icon, BoxButtons buttons)
{
    return messageBox(nullptr, text, icon, buttons);
}

BoxAnswer messageBox(QWidget *owner, const QString &text, BoxIcon icon, BoxButtons buttons)
{
    BoxRequest request;
    request.owner = owner;
    request.text = text;
    request.icon = icon;
    request.buttons = buttons;
    return services().messageBox->show(request);
}

void openUrl(const QString &address)
{
    services().urlOpener->open(address);
}

} // namespace platform
