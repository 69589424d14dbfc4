// The PO reader on any bytes: escapes, continued strings, flags, previous originals, plural
// and obsolete entries; see TranslationFormFuzz.h for the property.
#include "TranslationFormFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TranslationFormFuzz::Run(PoForm(), data, size);
}
