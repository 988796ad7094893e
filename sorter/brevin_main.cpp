#include <string_view>
#include <vector>

#include "sort_job.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return static_cast<int>(velmora::runSort(args));
}
