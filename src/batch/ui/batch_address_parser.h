// The batch list's way into the address text parser.
#pragma once

#include <functional>

class QWidget;

namespace billprint {

class AppContext;

// Opens the parser for the batch list: each receiver handed over is stored
// in the list (ReceiverList) and `rowsStored` is called after each, so
// that the list can query again.
void openAddressParserForBatch(AppContext &context, QWidget *parent, const std::function<void()> &rowsStored);

} // namespace billprint
