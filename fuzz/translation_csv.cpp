// The CSV reader on any bytes: quoted fields, stray quotes, rows of the wrong width, headers
// in any order or none; see TranslationFormFuzz.h for the property.
#include "TranslationFormFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return TranslationFormFuzz::Run(CsvForm(), data, size);
}
