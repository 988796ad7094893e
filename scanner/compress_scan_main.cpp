#include "compress_scan.h"

int main(int argc, char** argv) {
    return velmora::runCompressScan(argc, argv);
}
