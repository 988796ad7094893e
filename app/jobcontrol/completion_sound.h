// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

/// How the end of a run was made audible.
enum class CompletionSound { Played, Beeped, Muted };

/// Starts the desktop's "complete" event sound (freedesktop sound theme)
/// without waiting for it; where it cannot play, or where no sound output
/// exists (soundOutputExists()), sounds the alert beep instead.
CompletionSound playCompletionSound();

/// Makes playCompletionSound() silent for the rest of the process: the
/// command line reports the end of a job in words only.
void muteCompletionSound();

/// True when a sound can be played at all: a sound server answers at
/// `pulseServer` (the PULSE_SERVER setting) or has its socket in
/// `runtimeFolder` (XDG_RUNTIME_DIR), or `deviceFolder` (/dev/snd) holds a
/// playback device. Without one the sound library would only print errors.
bool soundOutputExists(const QString& deviceFolder, const QString& runtimeFolder,
                       const QString& pulseServer);

}  // namespace velmora
