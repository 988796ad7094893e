// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QThreadPool>

#include <functional>

namespace velmora {

/// The pool whose threads wait for scans. Unlike Qt's global pool it is
/// never destroyed, so ending the application does not wait for a scan that
/// is still running: that backend runs on to its end by itself.
QThreadPool& scanPool();

/// Runs `work` on the main thread's event loop; dropped once the application
/// object is being torn down. Callable from any thread.
void postToMainThread(std::function<void()> work);

}  // namespace velmora
