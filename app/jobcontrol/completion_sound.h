#pragma once

namespace velmora {

/// How the end of a run was made audible.
enum class CompletionSound { Played, Beeped };

/// Starts the desktop's "complete" event sound (freedesktop sound theme)
/// without waiting for it; where it cannot play, sounds the alert beep.
CompletionSound playCompletionSound();

}  // namespace velmora
