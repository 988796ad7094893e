#include "display_check.h"

#include <QtGlobal>

namespace velmora::cli {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QString noDisplayMessage() {
    return QStringLiteral(
        "velmora: no display for the window (DISPLAY and WAYLAND_DISPLAY are unset).\n"
        "Open it in a virtual display with 'xvfb-run -a velmora', or work without a window:\n"
        "'velmora sort SOURCE' or 'velmora compress SOURCE' (see 'velmora --help').\n");
}

}  // namespace velmora::cli
