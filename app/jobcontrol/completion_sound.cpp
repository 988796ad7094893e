// SPDX-License-Identifier: GPL-3.0-or-later
#include "completion_sound.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <canberra.h>

#include <atomic>
#include <cstdio>

namespace velmora {

namespace {

std::atomic<bool> muted{false};

/// The sound context, opened once and kept for the application's lifetime so
/// that a sound that has started can play to its end; none when there is no
/// sound output or no sound system could be opened (that is not retried).
ca_context* soundContext() {
    static ca_context* context = [] {
        if (!soundOutputExists(QStringLiteral("/dev/snd"), qEnvironmentVariable("XDG_RUNTIME_DIR"),
                               qEnvironmentVariable("PULSE_SERVER"))) {
            return static_cast<ca_context*>(nullptr);
        }
        ca_context* made = nullptr;
        if (ca_context_create(&made) != CA_SUCCESS) {
            return static_cast<ca_context*>(nullptr);
        }
        ca_context_change_props(made, CA_PROP_APPLICATION_NAME, "Velmora", nullptr);
        if (ca_context_open(made) != CA_SUCCESS) {
            ca_context_destroy(made);
            return static_cast<ca_context*>(nullptr);
        }
        return made;
    }();
    return context;
}

void beep() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::beep();
        return;
    }
    std::fputs("\a", stderr);
    std::fflush(stderr);
}

}  // namespace

bool soundOutputExists(const QString& deviceFolder, const QString& runtimeFolder,
                       const QString& pulseServer) {
    if (!pulseServer.isEmpty()) {
        return true;
    }
    // PulseAudio and PipeWire's Pulse server both listen here.
    if (!runtimeFolder.isEmpty() &&
        QFileInfo::exists(QDir(runtimeFolder).filePath(QStringLiteral("pulse/native")))) {
        return true;
    }
    // ALSA's playback devices are pcmC<card>D<device>p.
    return !QDir(deviceFolder)
                .entryList({QStringLiteral("pcmC*D*p")}, QDir::System | QDir::Files)
                .isEmpty();
}

CompletionSound playCompletionSound() {
    if (muted) {
        return CompletionSound::Muted;
    }
    ca_context* context = soundContext();
    if (context != nullptr &&
        ca_context_play(context, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_CANBERRA_XDG_THEME_NAME,
                        "freedesktop", CA_PROP_EVENT_DESCRIPTION, "Proses Selesai",
                        nullptr) == CA_SUCCESS) {
        return CompletionSound::Played;
    }
    beep();
    return CompletionSound::Beeped;
}

void muteCompletionSound() {
    muted = true;
}

}  // namespace velmora
