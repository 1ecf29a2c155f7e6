#include "ui/SystemMenu.h"

namespace {

constexpr UINT kParkedClose = 0xFFFFFFF6;  // the Close item's command while disabled

}  // namespace

std::int16_t SetCloseMenuEnabled(HWND window, bool enable)
{
    if (!IsWindow(window)) return -1;
    HMENU menu = GetSystemMenu(window, FALSE);
    UINT command = enable ? kParkedClose : SC_CLOSE;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    if (!GetMenuItemInfoW(menu, command, FALSE, &item)) return 0;

    MENUITEMINFOW id{};
    id.cbSize = sizeof(id);
    id.fMask = MIIM_ID;
    id.wID = enable ? SC_CLOSE : kParkedClose;
    if (!SetMenuItemInfoW(menu, command, FALSE, &id)) return -2;

    UINT newCommand = id.wID;
    item.fMask = MIIM_STATE;
    if (enable)
        item.fState &= ~static_cast<UINT>(MFS_GRAYED | MFS_DISABLED);
    else
        item.fState |= MFS_GRAYED | MFS_DISABLED;
    if (!SetMenuItemInfoW(menu, newCommand, FALSE, &item)) return -3;

    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    return 0;
}
