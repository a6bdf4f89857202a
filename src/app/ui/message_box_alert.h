#pragma once

class QWidget;

namespace billprint {

// Routes the program's alerts to real message boxes.
void installMessageBoxAlerts();

} // namespace billprint
