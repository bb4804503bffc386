#include "services.h"

namespace platform {

BoxAnswer messageBox(MessageBoxService &boxes, QWidget *owner, const QString &text, BoxIcon icon, BoxButtons buttons)
{
    BoxRequest request;
    request.owner = owner;
    request.text = text;
    request.icon = icon;
    request.buttons = buttons;
    return boxes.show(request);
}

} // namespace platform
