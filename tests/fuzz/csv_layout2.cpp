// CSV layout 2 through the public import on a temporary delivered
// database, against the independent reading in csvimport.h.
#include "csvimport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::csv::run(data, size, 2);
    return 0;
}
