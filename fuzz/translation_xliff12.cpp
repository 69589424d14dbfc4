// The XLIFF 1.2 reader on any bytes: trans-units in groups, <ph>, <x>, <g> and <mrk> codes,
// target states, notes, text that is not UTF-8; see TranslationFormFuzz.h for the property.
#include "TranslationFormFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TranslationFormFuzz::Run(Xliff12Form(), data, size);
}
