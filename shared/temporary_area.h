// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "file_io.h"

namespace velmora {

/// The hidden folder, inside a folder the workers write into, that holds the
/// temporary areas of the runs writing there.
inline constexpr std::string_view kPartialFolder = ".velmora-partial";

/// This run's own folder for files that are being written for a folder and
/// get their real name there only once complete: kPartialFolder/UUID inside
/// that folder, locked (flock) for as long as this run lives, so that a later
/// run can tell the leftovers of a killed run from the area of a live one.
/// Safe to use from many threads.
class TemporaryArea {
  public:
    /// An area for the folder open as `folder`, which must outlive it.
    /// Nothing is made until folder() is first called.
    explicit TemporaryArea(int folder) : target_(folder) {}
    /// Removes the area with everything in it, and kPartialFolder when no
    /// other run uses it.
    ~TemporaryArea();
    TemporaryArea(const TemporaryArea&) = delete;
    TemporaryArea& operator=(const TemporaryArea&) = delete;

    /// The area's folder, made and locked at the first call; -1 with errno
    /// set when it cannot be made.
    int folder();
    /// A name for a new file in the area, different at every call.
    std::string newName();

    /// Notes in the area that `name`, in the folder the area is for, is about
    /// to be made an empty placeholder that a file of `size` bytes is then
    /// renamed over. Should this run die before the rename, the next run's
    /// removeLeftovers removes the placeholder if it is still empty (never a
    /// file that got its content, nor one noted with size 0). Noted before
    /// the placeholder is made, so that no kill leaves one unnoted. False,
    /// with errno set, when the note cannot be written.
    bool notePlaceholder(const std::string& name, off_t size);

    /// Takes back the note of `name`: the placeholder could not be made,
    /// and a file under that name is not this run's.
    void withdrawPlaceholder(const std::string& name);

    /// Removes from the folder open as `folder` every area whose run is no
    /// longer alive (its lock is free), with everything in it, and the empty
    /// placeholders such a run noted and left behind.
    static void removeLeftovers(int folder);

  private:
    bool create();

    const int target_;
    std::mutex lock_;
    bool tried_ = false;
    int error_ = 0;
    UniqueFd partial_;
    UniqueFd own_;
    UniqueFd placeholders_;  ///< the notes of notePlaceholder, opened at the first
    std::string name_;
    std::atomic<unsigned long> next_{0};
};

}  // namespace velmora
