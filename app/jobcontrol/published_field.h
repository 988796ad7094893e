// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

/// Stores `value` in `field` and emits `changed` on `owner` when it differs;
/// true when it did.
template <typename Owner, typename Field, typename Value, typename Signal>
bool publish(Owner* owner, Field& field, const Value& value, Signal changed) {
    if (field == value) {
        return false;
    }
    field = value;
    emit(owner->*changed)();
    return true;
}

}  // namespace velmora
