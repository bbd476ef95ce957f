#include "view/layout/window_sizer_win32.h"

#include "platform/handles_win32.h"

#include "view/layout/dpi_win32.h"
#include "view/layout/gdi_region_win32.h"

void WindowSizer::init(HWND parent) {
    parent_ = parent;
    RECT client{};
    GetClientRect(parent, &client);
    initialWidth_ = client.right - client.left;
    initialHeight_ = client.bottom - client.top;
    if (baseScale_ > 0) baseScale_ = dpiScale(parent);
    children_.clear();
    items_.clear();
}

void WindowSizer::add(HWND child, float left, float top, float right, float bottom) {
    if (!parent_ || !child) return;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&r), 2);
    SizerItemPlan item;
    item.initial = {r.left, r.top, r.right, r.bottom};
    item.factors = {left, top, right, bottom};
    item.last = item.initial;
    item.placed = item.initial;
    children_.push_back(child);
    items_.push_back(item);
}

void WindowSizer::resize() {
    if (!parent_) return;
    int current = baseScale_ > 0 ? dpiScale(parent_) : 0;
    RECT client{};
    GetClientRect(parent_, &client);
    layoutSizerItems(items_, {client.left, client.top, client.right, client.bottom}, initialWidth_, initialHeight_, current,
                     baseScale_);

    // One batch so the children move together before anything repaints.
    HDWP batch = nullptr;
    for (size_t i = 0; i < items_.size(); ++i) {
        const PixelRect& r = items_[i].placed;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (i == 0) batch = BeginDeferWindowPos(static_cast<int>(items_.size()));
        if (batch) batch = DeferWindowPos(batch, children_[i], nullptr, r.left, r.top, r.width(), r.height(), flags);
        if (!batch) SetWindowPos(children_[i], nullptr, r.left, r.top, r.width(), r.height(), flags);
    }
    if (batch) EndDeferWindowPos(batch);

    win32::Region area(CreateRectRgnIndirect(&client));
    if (!area) return;
    if (subtractVisibleChildren(parent_, area.get()) != NULLREGION) InvalidateRgn(parent_, area.get(), FALSE);
}
