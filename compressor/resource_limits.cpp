// SPDX-License-Identifier: GPL-3.0-or-later
#include "resource_limits.h"

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <string_view>

#include "decimal.h"

namespace velmora {

namespace {

std::optional<rlim_t> limitValue(std::string_view text) {
    const auto value = parseDecimalInteger(text);
    if (!value || *value < 0)
        return std::nullopt;
    return static_cast<rlim_t>(*value);
}

// Lowers a limit; a hard limit already below the wanted one stays as it is.
bool lowerLimit(int resource, rlim_t soft, rlim_t hard) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0)
        return false;
    if (limit.rlim_max != RLIM_INFINITY) {
        soft = std::min(soft, limit.rlim_max);
        hard = std::min(hard, limit.rlim_max);
    }
    limit = {soft, hard};
    return ::setrlimit(resource, &limit) == 0;
}

}  // namespace

int execWithLimits(std::span<char* const> args) {
    if (args.size() < 4)
        return kLimitUsageExit;
    const auto parent = parseDecimalInteger(args[0]);
    const auto cpuSeconds = limitValue(args[1]);
    const auto addressSpace = limitValue(args[2]);
    if (!parent || *parent <= 0 || !cpuSeconds || *cpuSeconds == 0 || !addressSpace)
        return kLimitUsageExit;

    // The signal comes when the parent dies from now on; one that died
    // before has left this process to another parent already.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != static_cast<pid_t>(*parent))
        return kLimitParentGoneExit;

    // A tool that runs into its CPU limit is killed by SIGXCPU, whose default
    // action would also write a core file.
    if (!lowerLimit(RLIMIT_CORE, 0, 0) || !lowerLimit(RLIMIT_CPU, *cpuSeconds, *cpuSeconds + 1) ||
        (*addressSpace > 0 && !lowerLimit(RLIMIT_AS, *addressSpace, *addressSpace))) {
        return kLimitExecExit;
    }
    ::execv(args[3], args.data() + 3);
    return kLimitExecExit;
}

}  // namespace velmora
