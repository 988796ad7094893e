// SPDX-License-Identifier: GPL-3.0-or-later
#include "status_file.h"

#include <cerrno>

#include "atomic_file.h"
#include "failure_reason.h"

namespace velmora {

bool StatusFile::write(std::string_view line) {
    current_ = replaceFileAtomically(file_, line) ||
               (isDiskFullError(errno) && reserve_ != nullptr && reserve_->release() &&
                replaceFileAtomically(file_, line));
    return current_;
}

}  // namespace velmora
