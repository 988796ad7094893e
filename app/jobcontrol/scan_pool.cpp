// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_pool.h"

#include <QCoreApplication>

#include <mutex>

namespace velmora {

namespace {

// Guards the application object between a post and its teardown.
std::mutex gate;
bool applicationClosed = false;

void closeGate() {
    const std::lock_guard lock(gate);
    applicationClosed = true;
}

}  // namespace

QThreadPool& scanPool() {
    static QThreadPool* const pool = [] {
        qAddPostRoutine(closeGate);  // runs at the start of QCoreApplication's destructor
        return new QThreadPool;      // never deleted, on purpose
    }();
    return *pool;
}

void postToMainThread(std::function<void()> work) {
    const std::lock_guard lock(gate);
    QCoreApplication* const application = QCoreApplication::instance();
    if (applicationClosed || application == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(application, std::move(work), Qt::QueuedConnection);
}

}  // namespace velmora
