#include "platform/rtl/Filer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/StringList.h"

// ---- extended floats ----

namespace rtl {

std::array<uint8_t, 10> DoubleToExtended(double value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    uint16_t sign = static_cast<uint16_t>((bits >> 63) << 15);
    int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    uint64_t mantissa = 0;
    int extExponent = 0;
    if (exponent == 0x7FF) {
        extExponent = 0x7FFF;
        mantissa = (uint64_t{1} << 63) | (fraction << 11);
    } else if (exponent != 0) {
        extExponent = exponent - 1023 + 16383;
        mantissa = (uint64_t{1} << 63) | (fraction << 11);
    } else if (fraction != 0) {
        // A subnormal double is a normal extended.
        int shift = std::countl_zero(fraction) - 11;  // brings the top bit to bit 52
        extExponent = 1 - 1023 - shift + 16383;
        mantissa = fraction << (shift + 11);
    }
    std::array<uint8_t, 10> out{};
    for (int i = 0; i < 8; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(mantissa >> (8 * i));
    uint16_t se = static_cast<uint16_t>(sign | extExponent);
    out[8] = static_cast<uint8_t>(se);
    out[9] = static_cast<uint8_t>(se >> 8);
    return out;
}

double ExtendedToDouble(const uint8_t* bytes) {
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
    uint16_t se = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    uint64_t sign = static_cast<uint64_t>(se >> 15) << 63;
    int exponent = se & 0x7FFF;
    constexpr uint64_t kFraction = (uint64_t{1} << 52) - 1;
    if (exponent == 0x7FFF) {
        uint64_t payload = (mantissa << 1) == 0 ? 0 : ((mantissa >> 11) & kFraction) | (uint64_t{1} << 51);
        return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52) | payload);
    }
    if (mantissa == 0) return std::bit_cast<double>(sign);
    if (exponent == 0) exponent = 1;  // denormal extended: same scale as exponent 1
    int lz = std::countl_zero(mantissa);
    mantissa <<= lz;
    exponent -= lz;
    int dExponent = exponent - 16383 + 1023;
    if (dExponent >= 0x7FF) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
    // Bits dropped below the 53 kept: 11 for a normal result, more for a subnormal one.
    int drop = 11 + (dExponent < 1 ? 1 - dExponent : 0);
    uint64_t kept;
    bool roundUp;
    if (drop >= 65) {
        return std::bit_cast<double>(sign);
    } else if (drop == 64) {
        kept = 0;
        roundUp = mantissa > (uint64_t{1} << 63);
    } else {
        kept = mantissa >> drop;
        uint64_t rest = mantissa & ((uint64_t{1} << drop) - 1);
        uint64_t half = uint64_t{1} << (drop - 1);
        roundUp = rest > half || (rest == half && (kept & 1));
    }
    if (roundUp) ++kept;
    if (dExponent < 1) return std::bit_cast<double>(sign | kept);  // carries into the smallest normal
    if (kept == (uint64_t{1} << 53)) {
        kept >>= 1;
        if (++dExponent >= 0x7FF) return std::bit_cast<double>(sign | (uint64_t{0x7FF} << 52));
    }
    return std::bit_cast<double>(sign | (static_cast<uint64_t>(dExponent) << 52) | (kept & kFraction));
}

}  // namespace rtl

// ---- the filer ----

namespace {

bool SameIdent(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
               return up(x) == up(y);
           });
}

int FindIdent(TIdentList idents, std::string_view name) {
    for (size_t i = 0; i < idents.size(); ++i)
        if (SameIdent(idents[i], name)) return static_cast<int>(i);
    return -1;
}

String Utf8(std::string_view s) { return String(s); }

}  // namespace

TFiler::TFiler(TStream* Stream) : FStream(Stream) {
    if (!Stream) throw EFilerError(String("No stream to read or write components"));
}

TWriter* TFiler::WriterFor(std::string_view Name, bool HasData) {
    if (!FWriter || !HasData) return nullptr;
    FWriter->WritePropName(Name);
    return FWriter;
}

TReader* TFiler::ReaderFor(std::string_view Name) {
    if (!FReader || FReader->FMatched) return nullptr;
    const std::string& want = FReader->FPropName;
    if (want.size() != FPrefix.size() + Name.size() || want.compare(0, FPrefix.size(), FPrefix) != 0 ||
        !SameIdent(std::string_view(want).substr(FPrefix.size()), Name))
        return nullptr;
    FReader->FMatched = true;
    return FReader;
}

void TFiler::DefineProperty(std::string_view Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                            bool HasData) {
    if (TWriter* w = WriterFor(Name, HasData && WriteData)) WriteData(w);
    else if (TReader* r = ReaderFor(Name)) {
        if (!ReadData) throw EReadError(String("Property ") + Utf8(Name) + " cannot be read");
        ReadData(r);
    }
}

void TFiler::DefineBinaryProperty(std::string_view Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                                  bool HasData) {
    if (TWriter* w = WriterFor(Name, HasData && WriteData)) {
        TMemoryStream block;
        WriteData(&block);
        w->WriteBinary(block.Memory(), block.Size());
    } else if (TReader* r = ReaderFor(Name)) {
        if (!ReadData) throw EReadError(String("Property ") + Utf8(Name) + " cannot be read");
        std::vector<uint8_t> bytes = r->ReadBinary();
        TMemoryStream block;
        if (!bytes.empty()) block.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        block.SetPosition(0);
        ReadData(&block);
    }
}

bool TFiler::IntegerProperty(std::string_view Name, int32_t& Value) {
    if (TWriter* w = WriterFor(Name, true)) w->WriteInteger(Value);
    else if (TReader* r = ReaderFor(Name)) return Value = r->ReadInteger(), true;
    return false;
}

bool TFiler::BooleanProperty(std::string_view Name, bool& Value) {
    if (TWriter* w = WriterFor(Name, true)) w->WriteBoolean(Value);
    else if (TReader* r = ReaderFor(Name)) return Value = r->ReadBoolean(), true;
    return false;
}

bool TFiler::StringProperty(std::string_view Name, String& Value) {
    if (TWriter* w = WriterFor(Name, !Value.empty())) w->WriteString(Value);
    else if (TReader* r = ReaderFor(Name)) return Value = r->ReadString(), true;
    return false;
}

bool TFiler::FloatProperty(std::string_view Name, double& Value) {
    if (TWriter* w = WriterFor(Name, Value != 0)) w->WriteFloat(Value);
    else if (TReader* r = ReaderFor(Name)) return Value = r->ReadFloat(), true;
    return false;
}

bool TFiler::IdentProperty(std::string_view Name, int& Value, TIdentList Idents) {
    if (FWriter) {
        if (Value < 0 || static_cast<size_t>(Value) >= Idents.size())
            throw EWriteError(String("Property ") + Utf8(Name) + " has no identifier for the value " +
                              String(std::to_string(Value)));
        WriterFor(Name, true)->WriteIdent(Idents[static_cast<size_t>(Value)]);
    } else if (TReader* r = ReaderFor(Name)) {
        int index = FindIdent(Idents, r->ReadIdent());
        if (index < 0) throw EConvertError(String("Invalid property value"));
        Value = index;
        return true;
    }
    return false;
}

bool TFiler::SetProperty(std::string_view Name, uint32_t& Bits, TIdentList Idents) {
    if (TWriter* w = WriterFor(Name, true)) w->WriteSet(Bits, Idents);
    else if (TReader* r = ReaderFor(Name)) return Bits = r->ReadSet(Idents), true;
    return false;
}

bool TFiler::ComponentProperty(std::string_view Name, TComponent*& Value) {
    if (FWriter && Value && Value->Name().empty())
        throw EWriteError(String("Property ") + Utf8(Name) + " refers to a component without a name");
    if (TWriter* w = WriterFor(Name, Value != nullptr)) {
        w->WriteIdent(Value->Name().ToUtf8());
    } else if (TReader* r = ReaderFor(Name)) {
        if (r->NextValue() == vaNil) {
            r->ReadValue();
            Value = nullptr;
            return true;
        }
        String name = Utf8(r->ReadIdent());
        TComponent* found = nullptr;
        if (FRoot && FRoot->Owner()) found = FRoot->Owner()->FindComponent(name);
        if (!found && FRoot) found = FRoot->FindComponent(name);
        Value = found;
        return true;
    }
    return false;
}

void TFiler::ObjectProperty(std::string_view Name, TPersistent* Value) {
    if (!Value) return;
    if (FReader) {
        // Only descend when the property read lies below this path.
        const std::string& want = FReader->FPropName;
        size_t at = FPrefix.size();
        if (FReader->FMatched || want.size() <= at + Name.size() + 1 || want.compare(0, at, FPrefix) != 0 ||
            want[at + Name.size()] != '.' || !SameIdent(std::string_view(want).substr(at, Name.size()), Name))
            return;
    }
    size_t keep = FPrefix.size();
    FPrefix.append(Name);
    FPrefix.push_back('.');
    try {
        Value->PublishedProperties(this);
        Value->DefineProperties(this);
    } catch (...) {
        FPrefix.resize(keep);
        throw;
    }
    FPrefix.resize(keep);
}

// ---- the writer ----

TWriter::TWriter(TStream* Stream) : TFiler(Stream) {
    FWriter = this;
    FBuffer.reserve(4096);
}

TWriter::~TWriter() {
    try {
        FlushBuffer();
    } catch (...) {
        // Only reached while another exception unwinds; that one is reported.
    }
}

void TWriter::FlushBuffer() {
    if (FBuffer.empty()) return;
    std::vector<uint8_t> pending;
    pending.swap(FBuffer);
    FStream->WriteBuffer(pending.data(), static_cast<int64_t>(pending.size()));
    pending.clear();
    FBuffer.swap(pending);
}

void TWriter::Write(const void* Data, size_t Count) {
    auto* p = static_cast<const uint8_t*>(Data);
    FBuffer.insert(FBuffer.end(), p, p + Count);
    if (FBuffer.size() >= 4096) FlushBuffer();
}

void TWriter::WriteValue(TValueType Value) {
    uint8_t b = Value;
    Write(&b, 1);
}

void TWriter::WriteStr(std::string_view Value) {
    if (Value.size() > 255)
        throw EWriteError(String("Name too long for the component stream: ") + Utf8(Value.substr(0, 40)) + "...");
    uint8_t n = static_cast<uint8_t>(Value.size());
    Write(&n, 1);
    Write(Value.data(), Value.size());
}

void TWriter::WritePropName(std::string_view Name) {
    if (FPrefix.empty()) {
        WriteStr(Name);
        return;
    }
    std::string path = FPrefix;
    path.append(Name);
    WriteStr(path);
}

namespace {
void PutLE(uint8_t* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}
}  // namespace

void TWriter::WriteInteger(int32_t Value) {
    uint8_t out[5];
    if (Value >= -128 && Value <= 127) {
        out[0] = vaInt8;
        PutLE(out + 1, static_cast<uint32_t>(Value), 1);
        Write(out, 2);
    } else if (Value >= -32768 && Value <= 32767) {
        out[0] = vaInt16;
        PutLE(out + 1, static_cast<uint32_t>(Value), 2);
        Write(out, 3);
    } else {
        out[0] = vaInt32;
        PutLE(out + 1, static_cast<uint32_t>(Value), 4);
        Write(out, 5);
    }
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteFloat(double Value) {
    WriteValue(vaExtended);
    auto bytes = rtl::DoubleToExtended(Value);
    Write(bytes.data(), bytes.size());
}

void TWriter::WriteString(const String& Value) {
    // Measure the UTF-8 form; an unpaired surrogate has none, so such text stays UTF-16.
    size_t utf8Size = 0;
    bool ascii = true;
    bool encodable = true;
    for (size_t i = 0; i < Value.size(); ++i) {
        char16_t c = Value[i];
        if (c < 0x80) {
            utf8Size += 1;
            continue;
        }
        ascii = false;
        if (c < 0x800) {
            utf8Size += 2;
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < Value.size() && Value[i + 1] >= 0xDC00 && Value[i + 1] <= 0xDFFF) {
            utf8Size += 4;
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            encodable = false;
            break;
        } else {
            utf8Size += 3;
        }
    }
    uint8_t head[5];
    if (ascii) {
        std::string bytes(Value.begin(), Value.end());
        if (bytes.size() <= 255) {
            head[0] = vaString;
            head[1] = static_cast<uint8_t>(bytes.size());
            Write(head, 2);
        } else {
            head[0] = vaLString;
            PutLE(head + 1, bytes.size(), 4);
            Write(head, 5);
        }
        Write(bytes.data(), bytes.size());
    } else if (encodable && utf8Size < 2 * Value.size()) {
        std::string bytes = Value.ToUtf8();
        head[0] = vaUTF8String;
        PutLE(head + 1, bytes.size(), 4);
        Write(head, 5);
        Write(bytes.data(), bytes.size());
    } else {
        head[0] = vaWString;
        PutLE(head + 1, Value.size(), 4);
        Write(head, 5);
        for (char16_t c : Value) {
            uint8_t unit[2] = {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)};
            Write(unit, 2);
        }
    }
}

void TWriter::WriteIdent(std::string_view Ident) {
    WriteValue(vaIdent);
    WriteStr(Ident);
}

void TWriter::WriteSet(uint32_t Bits, TIdentList Idents) {
    WriteValue(vaSet);
    for (size_t i = 0; i < Idents.size() && i < 32; ++i)
        if (Bits & (uint32_t{1} << i)) WriteStr(Idents[i]);
    WriteStr("");
}

void TWriter::WriteBinary(const void* Data, int64_t Count) {
    if (Count < 0 || Count > 0x7FFFFFFF) throw EWriteError(String("Binary value too large for the component stream"));
    uint8_t head[5] = {vaBinary};
    PutLE(head + 1, static_cast<uint64_t>(Count), 4);
    Write(head, 5);
    if (Count > 0) Write(Data, static_cast<size_t>(Count));
}

void TWriter::WriteSignature() { Write("TPF0", 4); }

void TWriter::WriteProperties(TPersistent* Instance) {
    Instance->PublishedProperties(this);
    Instance->DefineProperties(this);
}

void TWriter::WriteComponent(TComponent* Instance) {
    if (!Instance) throw EWriteError(String("No component to write"));
    TComponent* outerRoot = FRoot;
    FRoot = Instance;
    bool wasWriting = Instance->FComponentState.Contains(csWriting);
    Instance->FComponentState << csWriting;
    try {
        WriteStr(Instance->ClassName());
        WriteStr(Instance->Name().ToUtf8());
        WriteProperties(Instance);
        WriteListEnd();  // end of the properties
        WriteListEnd();  // no child components
    } catch (...) {
        if (!wasWriting) Instance->FComponentState >> csWriting;
        FRoot = outerRoot;
        throw;
    }
    if (!wasWriting) Instance->FComponentState >> csWriting;
    FRoot = outerRoot;
}

void TWriter::WriteRootComponent(TComponent* Instance) {
    WriteSignature();
    WriteComponent(Instance);
    FlushBuffer();
}

// ---- the reader ----

TReader::TReader(TStream* Stream) : TFiler(Stream) { FReader = this; }

TReader::~TReader() {
    try {
        FlushBuffer();
    } catch (...) {
        // The stream cannot seek back; nothing more to do while unwinding.
    }
}

void TReader::FlushBuffer() {
    if (FEnd > FPos) FStream->Seek(-static_cast<int64_t>(FEnd - FPos), soCurrent);
    FPos = FEnd = 0;
}

void TReader::Fill() {
    if (FPos < FEnd) return;
    // Records are short and the stream goes back by what was read ahead: start with a small
    // block and grow it while the record goes on.
    size_t block = FBuffer.empty() ? 256 : std::min<size_t>(FBuffer.size() * 2, 4096);
    if (FBuffer.size() != block) FBuffer.resize(block);
    int32_t got = FStream->Read(FBuffer.data(), static_cast<int32_t>(FBuffer.size()));
    if (got <= 0) throw EReadError(String("Stream read error"));
    FPos = 0;
    FEnd = static_cast<size_t>(got);
}

void TReader::Read(void* Data, size_t Count) {
    auto* out = static_cast<uint8_t*>(Data);
    while (Count > 0) {
        Fill();
        size_t n = std::min(Count, FEnd - FPos);
        std::memcpy(out, FBuffer.data() + FPos, n);
        FPos += n;
        out += n;
        Count -= n;
    }
}

void TReader::CheckAvailable(uint64_t Count) {
    // A damaged length must not make us allocate what the stream cannot hold.
    int64_t left = FStream->Size() - FStream->Position();
    if (left < 0) left = 0;
    if (Count > static_cast<uint64_t>(left) + (FEnd - FPos)) throw EReadError(String("Stream read error"));
}

TValueType TReader::ReadValue() {
    uint8_t b;
    Read(&b, 1);
    return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() {
    Fill();
    return static_cast<TValueType>(FBuffer[FPos]);
}

void TReader::BadValue(TValueType Found) {
    throw EConvertError(String("Invalid property value (value type ") + String(std::to_string(static_cast<int>(Found))) +
                        ")");
}

namespace {
uint64_t GetLE(const uint8_t* in, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | in[i];
    return v;
}
}  // namespace

int32_t TReader::ReadInteger() {
    TValueType type = ReadValue();
    uint8_t in[4];
    switch (type) {
    case vaInt8:
        Read(in, 1);
        return static_cast<int8_t>(in[0]);
    case vaInt16:
        Read(in, 2);
        return static_cast<int16_t>(GetLE(in, 2));
    case vaInt32:
        Read(in, 4);
        return static_cast<int32_t>(static_cast<uint32_t>(GetLE(in, 4)));
    default:
        BadValue(type);
    }
}

bool TReader::ReadBoolean() {
    TValueType type = ReadValue();
    if (type == vaTrue) return true;
    if (type == vaFalse) return false;
    BadValue(type);
}

double TReader::ReadFloat() {
    TValueType type = NextValue();
    if (type == vaInt8 || type == vaInt16 || type == vaInt32) return ReadInteger();
    ReadValue();
    if (type != vaExtended) BadValue(type);
    uint8_t in[10];
    Read(in, 10);
    return rtl::ExtendedToDouble(in);
}

String TReader::ReadString() {
    TValueType type = ReadValue();
    uint8_t in[4];
    uint64_t count;
    switch (type) {
    case vaString:
        Read(in, 1);
        count = in[0];
        break;
    case vaLString:
    case vaUTF8String:
    case vaWString:
        Read(in, 4);
        count = GetLE(in, 4);
        break;
    default:
        BadValue(type);
    }
    if (type == vaWString) {
        CheckAvailable(count * 2);
        std::vector<uint8_t> bytes(static_cast<size_t>(count * 2));
        Read(bytes.data(), bytes.size());
        String s(static_cast<size_t>(count), u'\0');
        for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        return s;
    }
    CheckAvailable(count);
    std::string bytes(static_cast<size_t>(count), '\0');
    Read(bytes.data(), bytes.size());
    return String(bytes);
}

std::string TReader::ReadStr() {
    uint8_t n;
    Read(&n, 1);
    std::string s(n, '\0');
    Read(s.data(), n);
    return s;
}

std::string TReader::ReadIdent() {
    TValueType type = ReadValue();
    if (type != vaIdent) BadValue(type);
    return ReadStr();
}

uint32_t TReader::ReadSet(TIdentList Idents) {
    TValueType type = ReadValue();
    if (type != vaSet) BadValue(type);
    uint32_t bits = 0;
    for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) {
        int index = FindIdent(Idents, name);
        if (index < 0 || index >= 32) throw EConvertError(String("Invalid property value (") + Utf8(name) + ")");
        bits |= uint32_t{1} << index;
    }
    return bits;
}

void TReader::ReadListBegin() {
    TValueType type = ReadValue();
    if (type != vaList) BadValue(type);
}

void TReader::ReadListEnd() {
    TValueType type = ReadValue();
    if (type != vaNull) BadValue(type);
}

std::vector<uint8_t> TReader::ReadBinary() {
    TValueType type = ReadValue();
    if (type != vaBinary) BadValue(type);
    uint8_t in[4];
    Read(in, 4);
    uint64_t count = GetLE(in, 4);
    CheckAvailable(count);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    Read(bytes.data(), bytes.size());
    return bytes;
}

void TReader::ReadSignature() {
    char sig[4];
    Read(sig, 4);
    if (std::memcmp(sig, "TPF0", 4) != 0) throw EReadError(String("Invalid stream format"));
}

void TReader::ReadProperty(TPersistent* Instance) {
    FPropName = ReadStr();
    FMatched = false;
    try {
        Instance->PublishedProperties(this);
        if (!FMatched) Instance->DefineProperties(this);
        if (!FMatched) {
            size_t dot = FPropName.rfind('.');
            throw EReadError(String("Property ") + Utf8(dot == std::string::npos ? FPropName : FPropName.substr(dot + 1)) +
                             " does not exist");
        }
    } catch (Exception& e) {
        e.SetMessage(String("Error reading ") + Instance->ClassName() + "." + Utf8(FPropName) + ": " + e.Message());
        throw;
    }
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    ReadSignature();
    std::string className = ReadStr();
    std::string name = ReadStr();
    TComponent* result = Root;
    if (!result) {
        TPersistent* made = FindClass(Utf8(className))->Create(nullptr);
        result = dynamic_cast<TComponent*>(made);
        if (!result) {
            delete made;
            throw EReadError(String("Class ") + Utf8(className) + " is not a component");
        }
    }
    TComponent* outerRoot = FRoot;
    FRoot = result;
    TComponentState before = result->FComponentState;
    result->FComponentState << csLoading << csReading;
    try {
        result->SetName(Utf8(name));
        while (!EndOfList()) ReadProperty(result);
        ReadListEnd();
        if (!EndOfList()) throw EReadError(String("Error reading ") + result->ClassName() + ": child components are not supported");
        ReadListEnd();
    } catch (...) {
        FRoot = outerRoot;
        // A failed read leaves no loading state behind.
        if (!before.Contains(csReading)) result->FComponentState >> csReading;
        if (!before.Contains(csLoading)) result->FComponentState >> csLoading;
        if (!Root) result->Free();
        throw;
    }
    FRoot = outerRoot;
    if (!before.Contains(csReading)) result->FComponentState >> csReading;
    result->Loaded();
    return result;
}

// ---- stream and string-list entry points ----

void TStream::WriteComponent(TComponent* Instance) {
    TWriter writer(this);
    writer.WriteRootComponent(Instance);
}

TComponent* TStream::ReadComponent(TComponent* Instance) {
    TReader reader(this);
    TComponent* result = reader.ReadRootComponent(Instance);
    reader.FlushBuffer();
    return result;
}

// A string list stores its items as one list value "Strings" (left out when empty).
void TStrings::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineProperty(
        "Strings",
        [this](TReader* reader) {
            BeginUpdate();
            try {
                Clear();
                reader->ReadListBegin();
                while (!reader->EndOfList()) Add(reader->ReadString());
                reader->ReadListEnd();
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
        },
        [this](TWriter* writer) {
            writer->WriteListBegin();
            for (int i = 0; i < Count(); ++i) writer->WriteString(Get(i));
            writer->WriteListEnd();
        },
        Count() > 0);
}
