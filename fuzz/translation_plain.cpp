// The plain-lines reader on any bytes, through the dictionary's own import and export; see
// TranslationFormFuzz.h for the property.
#include "TranslationFormFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TranslationFormFuzz::Run(PlainForm(), data, size);
}
