#pragma once

namespace velmora {

/// How the end of a run was made audible.
enum class CompletionSound { Played, Beeped, Muted };

/// Starts the desktop's "complete" event sound (freedesktop sound theme)
/// without waiting for it; where it cannot play, sounds the alert beep.
CompletionSound playCompletionSound();

/// Makes playCompletionSound() silent for the rest of the process: the
/// command line reports the end of a job in words only.
void muteCompletionSound();

}  // namespace velmora
