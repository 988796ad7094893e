// SPDX-License-Identifier: GPL-3.0-or-later
#include "encode_request.h"

#include "decimal.h"

namespace velmora {

std::optional<EncodeRequest> parseEncodeArguments(std::span<const std::string> args) {
    if (args.size() != 9)
        return std::nullopt;
    if (args[0] != "-s" || args[1] != "format" || args[2] != "jpeg" || args[3] != "-s" ||
        args[4] != "formatOptions" || args[7] != "--out") {
        return std::nullopt;
    }
    const auto quality = parseDecimalInteger(args[5]);
    if (!quality || *quality < 1 || *quality > 100)
        return std::nullopt;
    if (args[6].empty() || args[8].empty())
        return std::nullopt;
    return EncodeRequest{static_cast<int>(*quality), args[6], args[8]};
}

}  // namespace velmora
