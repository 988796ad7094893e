// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_services.h"

#include <utility>

namespace velmora {

namespace {

DesktopServices& services() {
    static DesktopServices set;
    return set;
}

}  // namespace

void setDesktopServices(DesktopServices services) {
    velmora::services() = std::move(services);
}

const DesktopServices& desktopServices() {
    return services();
}

}  // namespace velmora
