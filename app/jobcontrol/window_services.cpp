// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_services.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QGuiApplication>

#include "completion_sound.h"
#include "desktop_notifier.h"
#include "desktop_services.h"

namespace velmora {

void useWindowServices() {
    setDesktopServices({
        .runFinished = [] { playCompletionSound(); },
        .copyText =
            [](const QString& text) {
                if (QClipboard* clipboard = QGuiApplication::clipboard()) {
                    clipboard->setText(text);
                }
            },
        // Seen where the window is active; told where it is not.
        .runEnded =
            [](const QString& summary, const QString& body) {
                if (QGuiApplication::applicationState() == Qt::ApplicationActive) {
                    return;
                }
                // Made at the first, under the name the application has by then.
                static auto* const notifier = new DesktopNotifier(
                    QDBusConnection::sessionBus(), QGuiApplication::desktopFileName(),
                    QGuiApplication::applicationDisplayName(), qApp);
                notifier->notify(summary, body);
            },
    });
}

}  // namespace velmora
