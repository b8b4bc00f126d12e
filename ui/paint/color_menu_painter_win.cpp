#include "ui/paint/color_menu_painter_win.h"

#include "ui/paint/paint_rules.h"

#include <algorithm>
#include <iterator>

namespace orvane {

ColorMenuPainter::ColorMenuPainter(HMENU menu, const SchemePaint& paint) : menu_(menu), paint_(paint) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    ::GetMenuInfo(menu_, &info);
    originalBrush_ = info.hbrBack;
    int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        item.dwTypeData = caption;
        item.cch = static_cast<UINT>(std::size(caption));
        if (!::GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &item)) {
            continue;
        }
        items_.push_back({item.wID, item.fType, caption});
        MENUITEMINFOW owner{};
        owner.cbSize = sizeof owner;
        owner.fMask = MIIM_FTYPE;
        owner.fType = item.fType | MFT_OWNERDRAW;
        ::SetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &owner);
    }
}

ColorMenuPainter::~ColorMenuPainter() {
    if (menu_ == nullptr || !::IsMenu(menu_)) {
        return;
    }
    int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID;
        if (!::GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &item)) {
            continue;
        }
        const Item* known = Find(item.wID);
        if (known == nullptr) {
            continue;
        }
        std::wstring caption = known->caption;
        MENUITEMINFOW plain{};
        plain.cbSize = sizeof plain;
        plain.fMask = MIIM_FTYPE | MIIM_STRING;
        plain.fType = known->type & ~static_cast<UINT>(MFT_OWNERDRAW);
        plain.dwTypeData = caption.data();
        ::SetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &plain);
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = originalBrush_;
    ::SetMenuInfo(menu_, &info);
}

void ColorMenuPainter::Update() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, paint_.dpi) ||
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font_.reset(::CreateFontIndirectW(&metrics.lfMenuFont));
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = paint_.menu.get();
    ::SetMenuInfo(menu_, &info);
}

const ColorMenuPainter::Item* ColorMenuPainter::Find(UINT id) const {
    auto known = std::find_if(items_.begin(), items_.end(), [&](const Item& m) { return m.id == id; });
    return known != items_.end() ? &*known : nullptr;
}

bool ColorMenuPainter::OnMeasureItem(MEASUREITEMSTRUCT& item) const {
    const Item* known = item.CtlType == ODT_MENU ? Find(item.itemID) : nullptr;
    if (known == nullptr) {
        return false;
    }
    SIZE text{};
    const bool separator = (known->type & MFT_SEPARATOR) != 0;
    if (!separator) {
        WindowDc screen(nullptr);
        SelectScope font(screen.get(), font_.get());
        text = TextSize(screen.get(), known->caption);
    }
    const ItemSize size =
        ColorMenuItemSize(separator, static_cast<int>(text.cx), static_cast<int>(text.cy), paint_.dpi);
    item.itemWidth = static_cast<UINT>(size.width);
    item.itemHeight = static_cast<UINT>(size.height);
    return true;
}

bool ColorMenuPainter::OnDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.CtlType != ODT_MENU || reinterpret_cast<HMENU>(item.hwndItem) != menu_) {
        return false;
    }
    const Item* known = Find(item.itemID);
    if (known == nullptr) {
        return false;
    }
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    const Box box{rect.left, rect.top, rect.right, rect.bottom};
    if ((known->type & MFT_SEPARATOR) != 0) {
        Fill(dc, rect, paint_.menu.get(), paint_.palette.menuBackground);
        const Box line = MenuSeparatorLine(box, paint_.dpi);
        Fill(dc, RECT{line.left, line.top, line.right, line.bottom}, paint_.border.get(),
             paint_.palette.border);
        return true;
    }
    const MenuItemLook look =
        ColorMenuItemLook(paint_.palette, box, (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0,
                          (item.itemState & ODS_SELECTED) != 0, paint_.dpi);
    Fill(dc, rect, look.background);
    if ((item.itemState & ODS_CHECKED) != 0) {
        // The radio item's bullet.
        const int radius = look.bulletRadius;
        UniqueBrush brush(::CreateSolidBrush(Ref(look.text)));
        UniquePen pen(::CreatePen(PS_SOLID, 1, Ref(look.text)));
        SelectScope useBrush(dc, brush.get());
        SelectScope usePen(dc, pen.get());
        ::Ellipse(dc, look.bulletX - radius, look.bulletY - radius, look.bulletX + radius + 1,
                  look.bulletY + radius + 1);
    }
    RECT label{look.label.left, look.label.top, look.label.right, look.label.bottom};
    SelectScope font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Ref(look.text));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if ((item.itemState & ODS_NOACCEL) != 0) {
        format |= DT_HIDEPREFIX;
    }
    ::DrawTextW(dc, known->caption.c_str(), static_cast<int>(known->caption.size()), &label, format);
    return true;
}

} // namespace orvane
