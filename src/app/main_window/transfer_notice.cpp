#include "app/main_window/transfer_notice.h"

#include <algorithm>
#include <cstdio>

namespace {
int64_t megabytes(int64_t bytes) { return std::max<int64_t>(bytes, 0) / 1000000; }
}  // namespace

std::string transferNotice(TransferKind kind, const TransferStep& step) {
    const int percent = static_cast<int>(std::clamp(step.fraction, 0.0, 1.0) * 100.0);
    char text[96];
    if (kind == TransferKind::Load)
        std::snprintf(text, sizeof text, "Loading %d%%  %lld of %lld MB  Esc stops", percent,
                      static_cast<long long>(megabytes(step.bytes)), static_cast<long long>(megabytes(step.totalBytes)));
    else
        std::snprintf(text, sizeof text, "Saving %d%%  %lld MB", percent, static_cast<long long>(megabytes(step.bytes)));
    return text;
}
