// SPDX-License-Identifier: GPL-3.0-or-later
pragma Singleton
import QtQml

// Builders for the option lists of segmented pickers.
QtObject {
    /// Options whose text is each number in decimal and whose value is the number.
    function numbers(values) {
        return values.map(n => ({
                    "text": String(n),
                    "value": n
                }));
    }
}
