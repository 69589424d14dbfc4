#include "storyloom/coreframework/serializer/DataChunk.h"

DataChunk::DataChunk(const std::string& name, const char* context)
    : _name(name), _context(context) {}

bool DataChunk::IsToBeWritten() const {
    if (_flags & AlwaysWrite) return true;
    return !(_flags & NeverWrite) && !IsDefault();
}
