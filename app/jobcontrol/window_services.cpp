// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_services.h"

#include <QClipboard>
#include <QGuiApplication>

#include "completion_sound.h"
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
    });
}

}  // namespace velmora
