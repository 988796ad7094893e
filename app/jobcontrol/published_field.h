#pragma once

namespace velmora {

/// Stores `value` in `field` and emits `changed` on `owner` when it differs.
template <typename Owner, typename Field, typename Value, typename Signal>
void publish(Owner* owner, Field& field, const Value& value, Signal changed) {
    if (field != value) {
        field = value;
        emit(owner->*changed)();
    }
}

}  // namespace velmora
