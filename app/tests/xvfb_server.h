// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <sys/types.h>

namespace velmora::testkit {

/// A private virtual X server (Xvfb) on a free display, for tests that need
/// a real window. It is stopped when this object goes away.
class XvfbServer {
  public:
    /// Starts Xvfb and waits until it accepts clients; see display().
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    /// The server's display name, such as ":3"; empty when Xvfb is not
    /// installed or did not start.
    QString display() const { return display_; }

  private:
    pid_t pid_ = -1;
    QString display_;
};

}  // namespace velmora::testkit
