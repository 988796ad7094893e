#include "tallix.h"

int main(int argc, char** argv) {
    return velmora::runTallix(argc, argv);
}
