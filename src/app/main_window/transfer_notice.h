#pragma once
// The status text of a long load or save: how far it has come, and how to stop a load.
#include <cstdint>
#include <string>

#include "editor/transfer_progress.h"

enum class TransferKind { Load, Save };

// "Loading 42%  180 of 425 MB  Esc stops" / "Saving 42%  180 MB".
std::string transferNotice(TransferKind kind, const TransferStep& step);
