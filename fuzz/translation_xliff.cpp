// The XLIFF reader on any bytes: units in groups, several segments, inline codes, <cp>
// characters, notes, text that is not UTF-8; see TranslationFormFuzz.h for the property.
#include "TranslationFormFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TranslationFormFuzz::Run(XliffForm(), data, size);
}
