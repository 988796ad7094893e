// Moskel SOURCE TMP QUALITY WORKERS: the compress worker.
#include <string>
#include <vector>

#include "compress_job.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return static_cast<int>(velmora::runMoskel(args, velmora::findImageTool()));
}
