#include "view/layout/paint_buffer.h"

PaintBufferPlan planPaintBuffer(int clientWidth, int clientHeight, const PixelRect& update) {
    PaintBufferPlan plan;
    if (clientWidth > kPaintBufferLimit || clientHeight > kPaintBufferLimit) {
        plan.originX = update.left;
        plan.originY = update.top;
        plan.width = update.width();
        plan.height = update.height();
    } else {
        plan.width = clientWidth;
        plan.height = clientHeight;
    }
    if (plan.width < 0) plan.width = 0;
    if (plan.height < 0) plan.height = 0;
    return plan;
}

bool prepareBackground(Surface& buffer, const PaintBufferPlan& plan, const PixelRect& update) {
    if (!buffer.reserve(plan.width, plan.height)) return false;
    buffer.fillRect(update.left - plan.originX, update.top - plan.originY, update.width(), update.height(), kBackgroundFill,
                    1.0f);
    return true;
}
