#ifndef ONNEXTMODAL_H
#define ONNEXTMODAL_H

#include <functional>

class QWidget;

namespace TestSupport {

// Runs handler on the next modal widget that becomes active (polling every
// few milliseconds, for at most timeoutMs), so a test can answer a dialog
// that exec() is about to block on.
void onNextModal(const std::function<void(QWidget *)> &handler, int timeoutMs = 5000);

} // namespace TestSupport

#endif // ONNEXTMODAL_H
