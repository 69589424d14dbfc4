#pragma once
#include <cstdint>
#include <string>

#include "storyloom/coreframework/Logging.h"
#include "storyloom/coreframework/serializer/BitStream.h"
#include "storyloom/coreframework/serializer/ChunkText.h"

// A named value that a serializer writes as an attribute or a child element.
class DataChunk {
public:
    enum Flags : std::uint16_t {
        AlwaysWrite = 0x10,  // written even when it holds its default value
        NeverWrite = 0x20,   // not written, unless AlwaysWrite is set as well
    };

    DataChunk(const std::string& name, const char* context);
    DataChunk(const DataChunk&) = delete;
    DataChunk& operator=(const DataChunk&) = delete;
    virtual ~DataChunk() = default;

    virtual std::string ToString() const = 0;
    // Parses the text into the value and counts the import; answers the fields filled.
    virtual int FromString(const std::string& text) = 0;
    virtual bool IsDefault() const = 0;
    virtual const char* GetTypeName() const = 0;
    virtual void UpdateTypeDescription() = 0;
    virtual void WriteBits(BitStream& stream) const = 0;
    // Reads nothing once the stream has failed; fails it when it runs out.
    virtual void ReadBits(BitStream& stream) = 0;

    const std::string& GetName() const { return _name; }
    // Values read since the owning serializer last began an import.
    std::uint32_t GetImportCount() const { return _importCount; }
    void ResetImportCount() { _importCount = 0; }
    std::uint16_t GetFlags() const { return _flags; }
    void SetFlags(std::uint16_t flags) { _flags = flags; }
    // Whether the export writes this chunk with the value it holds now.
    bool IsToBeWritten() const;
    std::int16_t GetPrecision() const { return _precision; }
    void SetPrecision(std::int16_t precision) { _precision = precision; }
    const char* GetContext() const { return _context; }

protected:
    std::string _name;
    std::uint32_t _importCount = 0;
    std::uint16_t _flags = 0;
    std::int16_t _precision = -1;  // decimals of written floats; below 0 the shortest form
    const char* _context;
};

// T is the storage: U itself for a chunk that owns its value, U* for one bound to a variable.
template <class T, class U>
class TDataChunk : public DataChunk {
public:
    std::string ToString() const override {
        return _value ? ChunkValueText(*_value, WrittenPrecision()) : std::string();
    }
    int FromString(const std::string& text) override {
        ++_importCount;
        return _value ? ReadChunkValue(text, *_value) : 0;
    }
    bool IsDefault() const override { return !_value || ChunkValueEquals(*_value, _default); }
    const char* GetTypeName() const override {
        return IsBound() ? ChunkTypeNames<U>::pointer : ChunkTypeNames<U>::value;
    }
    void UpdateTypeDescription() override { _description = "Type.Not.Described"; }
    void WriteBits(BitStream& stream) const override {
        if (_value) WriteChunkBits(stream, *_value);
    }
    void ReadBits(BitStream& stream) override {
        if (_value) ReadChunkBits(stream, *_value);
    }
    // Keeps the typed chunks' table of virtual operations in the shape other modules expect;
    // it has nothing to do.
    virtual void Refresh() {}

    // The value the chunk works on; a bound chunk without a variable answers its default.
    const U& GetValue() const { return _value ? *_value : _default; }
    void SetValue(const U& value) {
        if (_value) *_value = value;
    }
    const U& GetDefault() const { return _default; }
    const std::string& GetDescription() const { return _description; }

protected:
    TDataChunk(const std::string& name, T data, const U& defaultValue, const char* context)
        : DataChunk(name, context), _data(std::move(data)), _default(defaultValue) {}

    static constexpr bool IsBound() { return std::is_pointer<T>::value; }
    // A bound chunk always writes the shortest form.
    int WrittenPrecision() const { return IsBound() ? -1 : _precision; }

    T _data;
    U _default;
    std::string _description;
    U* _value = nullptr;
};

// A chunk that owns its value.
template <class U>
class TDataChunkValue : public TDataChunk<U, U> {
public:
    TDataChunkValue(const std::string& name, const U& value, const U& defaultValue,
                    const char* context = nullptr)
        : TDataChunk<U, U>(name, value, defaultValue, context) {
        this->_value = &this->_data;
    }
};

// A chunk bound to a variable elsewhere, which must outlive the chunk.
template <class U>
class TDataChunkPtr : public TDataChunk<U*, U> {
public:
    TDataChunkPtr(const std::string& name, U* value, const U& defaultValue,
                  const char* context = nullptr)
        : TDataChunk<U*, U>(name, value, defaultValue, context) {
        FRAMEWORK_ASSERT(value, "coreframework/serializer/DataChunk");
        this->_value = value;
    }
};
