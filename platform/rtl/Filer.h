#pragma once
// Component streaming: the binary component stream of the class library, record for record.
//
// One record is one component: the signature "TPF0", the class name and the component name as
// short strings (one length byte, then UTF-8), the properties, a 0 byte ending the properties
// and a 0 byte ending the (always empty) list of child components. A property is its name as a
// short string (a sub-object's properties are named by path, "CellProperties.FontName")
// followed by a typed value: one value-type byte and its data, little-endian throughout.
//
// A class describes its stored properties to a TFiler in a fixed order, in
// TPersistent::PublishedProperties and DefineProperties, with the typed calls below. The same
// description serves both directions: a TWriter writes each property as it is described, a
// TReader reads the value of the property whose name it has just read.
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/rtl/Component.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/String.h"

enum TValueType : uint8_t {
    vaNull = 0,         // end of a list
    vaList = 1,         // values, then vaNull
    vaInt8 = 2,         // 1 byte
    vaInt16 = 3,        // 2 bytes
    vaInt32 = 4,        // 4 bytes
    vaExtended = 5,     // 10-byte x87 extended float
    vaString = 6,       // 1 length byte, bytes: ASCII text of at most 255 bytes
    vaIdent = 7,        // short string: enumeration values and named colours
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,      // 4-byte length, bytes
    vaSet = 11,         // value names as short strings, then an empty name
    vaLString = 12,     // 4-byte length, bytes: longer ASCII text
    vaNil = 13,         // an object reference that is not set
    vaWString = 18,     // 4-byte count of UTF-16 units, UTF-16LE
    vaUTF8String = 20,  // 4-byte length, UTF-8 bytes
};

class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;
// The identifiers of an enumeration or set type, indexed by ordinal value.
using TIdentList = std::span<const char* const>;

namespace rtl {
// The 10-byte x87 extended form of a double (mantissa with its integer bit, then sign and a
// 15-bit exponent), made by bit work so that the bytes never depend on the compiler.
std::array<uint8_t, 10> DoubleToExtended(double value);
// Back to the nearest double (ties to even); out of range gives an infinity or zero.
double ExtendedToDouble(const uint8_t* bytes);
}  // namespace rtl

class TFiler {
public:
    explicit TFiler(TStream* Stream);
    virtual ~TFiler() = default;
    TFiler(const TFiler&) = delete;
    TFiler& operator=(const TFiler&) = delete;

    TStream* Stream() const { return FStream; }
    // The component whose record is being written or read.
    TComponent* Root() const { return FRoot; }
    bool Writing() const { return FWriter != nullptr; }

    // A property the class writes and reads itself. The writer writes it only when HasData.
    void DefineProperty(std::string_view Name, const TReaderProc& ReadData, const TWriterProc& WriteData, bool HasData);
    // A property whose value is a block of bytes (vaBinary); the procedures get a stream that
    // holds just that block.
    void DefineBinaryProperty(std::string_view Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                              bool HasData);

    // Typed properties. Integers, Booleans, enumerations and sets are always written; a text
    // is left out when empty, a float when 0, a reference when not set. Each answers whether it
    // read a value into Value (when reading, only the property named in the stream is read).
    bool IntegerProperty(std::string_view Name, int32_t& Value);
    // Narrower integer fields (Word, SmallInt, Byte); a value that does not fit raises EConvertError.
    template <class T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && sizeof(T) < 4)
    bool IntegerProperty(std::string_view Name, T& Value);
    bool BooleanProperty(std::string_view Name, bool& Value);
    bool StringProperty(std::string_view Name, String& Value);
    bool FloatProperty(std::string_view Name, double& Value);
    // An enumeration written as the identifier of its value.
    bool IdentProperty(std::string_view Name, int& Value, TIdentList Idents);
    template <class E>
        requires std::is_enum_v<E>
    bool EnumProperty(std::string_view Name, E& Value, TIdentList Idents);
    // A set of up to 32 members, bit n for identifier n.
    bool SetProperty(std::string_view Name, uint32_t& Bits, TIdentList Idents);
    // A reference to a component by its name (vaIdent); a reader finds it among the components
    // of the record's owner, then among the record's own; a name found nowhere reads as nullptr.
    bool ComponentProperty(std::string_view Name, TComponent*& Value);
    // A sub-object: its properties under the path "Name.".
    void ObjectProperty(std::string_view Name, TPersistent* Value);

protected:
    // The writer when writing and HasData (the property's name is written); else nullptr.
    TWriter* WriterFor(std::string_view Name, bool HasData);
    // The reader when reading and Name is the property the stream names; else nullptr.
    TReader* ReaderFor(std::string_view Name);

    TStream* FStream;
    TComponent* FRoot = nullptr;
    TWriter* FWriter = nullptr;
    TReader* FReader = nullptr;
    std::string FPrefix;  // path of the sub-object being described, "CellProperties."
};

class TWriter : public TFiler {
public:
    explicit TWriter(TStream* Stream);
    // Writes what is still buffered; errors are only reported by FlushBuffer.
    ~TWriter() override;

    // The whole record of Instance: signature, class name, name, properties, end markers.
    void WriteRootComponent(TComponent* Instance);
    // The record without the signature.
    void WriteComponent(TComponent* Instance);
    void WriteSignature();
    // Both property lists of Instance.
    void WriteProperties(TPersistent* Instance);
    // Hands the buffered bytes to the stream.
    void FlushBuffer();

    // Typed values.
    void WriteValue(TValueType Value);
    // vaInt8, vaInt16 or vaInt32, the smallest that holds Value.
    void WriteInteger(int32_t Value);
    void WriteBoolean(bool Value);
    void WriteFloat(double Value);
    // The UTF-8 form when it is shorter than twice the UTF-16 length (vaString, vaLString or
    // vaUTF8String), else vaWString.
    void WriteString(const String& Value);
    void WriteIdent(std::string_view Ident);
    void WriteSet(uint32_t Bits, TIdentList Idents);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteNil() { WriteValue(vaNil); }
    void WriteBinary(const void* Data, int64_t Count);
    // A short string: one length byte, then at most 255 bytes.
    void WriteStr(std::string_view Value);
    void WritePropName(std::string_view Name);
    void Write(const void* Data, size_t Count);

private:
    std::vector<uint8_t> FBuffer;
};

class TReader : public TFiler {
public:
    explicit TReader(TStream* Stream);
    // Gives back to the stream what was read ahead, so its position ends after the record.
    ~TReader() override;

    // Reads a whole record into Root, or into a new object of the record's registered class
    // when Root is nullptr; csLoading and csReading are set during the read and Loaded is
    // called once after it.
    TComponent* ReadRootComponent(TComponent* Root);
    void ReadSignature();
    // Reads one property (name and value) into Instance.
    void ReadProperty(TPersistent* Instance);
    // Puts the stream back to just after the last byte used.
    void FlushBuffer();

    // Typed values; a value of another type raises EConvertError, a stream that ends EReadError.
    TValueType ReadValue();
    TValueType NextValue();
    // Any of the integer codes.
    int32_t ReadInteger();
    bool ReadBoolean();
    // vaExtended, or an integer.
    double ReadFloat();
    // Any of the text codes.
    String ReadString();
    std::string ReadIdent();
    uint32_t ReadSet(TIdentList Idents);
    void ReadListBegin();
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListEnd();
    std::vector<uint8_t> ReadBinary();
    std::string ReadStr();
    void Read(void* Data, size_t Count);
    // The property being read, with its path.
    const std::string& PropName() const { return FPropName; }

private:
    friend class TFiler;
    void Fill();
    void CheckAvailable(uint64_t Count);
    [[noreturn]] void BadValue(TValueType Found);
    std::vector<uint8_t> FBuffer;
    size_t FPos = 0;
    size_t FEnd = 0;
    std::string FPropName;
    bool FMatched = false;
};

template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && sizeof(T) < 4)
bool TFiler::IntegerProperty(std::string_view Name, T& Value) {
    int32_t v = Value;
    if (!IntegerProperty(Name, v)) return false;
    if (v < static_cast<int32_t>(std::numeric_limits<T>::min()) || v > static_cast<int32_t>(std::numeric_limits<T>::max()))
        throw EConvertError(String("Value ") + String(std::to_string(v)) + " is out of range");
    Value = static_cast<T>(v);
    return true;
}

template <class E>
    requires std::is_enum_v<E>
bool TFiler::EnumProperty(std::string_view Name, E& Value, TIdentList Idents) {
    int v = static_cast<int>(Value);
    if (!IdentProperty(Name, v, Idents)) return false;
    Value = static_cast<E>(v);
    return true;
}
