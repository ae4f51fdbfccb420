// TFiler: what the component stream's reader and writer share: the stream, the root
// component, and the defined properties through which a class stores what its published
// properties cannot express.
//
// The binary component stream ("TPF0"): a signature, then one component: an optional prefix
// byte (0xF0 | flags, then the child position as an integer value when ffChildPos is set), its
// class name and its name as short strings (one length byte, then the bytes), its properties
// (each a short-string name, dotted for nested objects, and one tagged value) ended by vaNull,
// its children (each a component) ended by vaNull. Integers are little-endian.
#pragma once

#include <functional>

#include "platform/classes/Sets.h"
#include "platform/classes/TypInfo.h"

class TStream;
class TReader;
class TWriter;
class TComponent;
class TPersistent;

// The tag before every value of the stream.
enum TValueType : Byte {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String
};

enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = Set<TFilerFlag>;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
public:
  // The filer works on Stream (not owned) from its current position. BufSize is accepted for
  // the classic signature; the filer reads and writes straight through.
  TFiler(TStream* Stream, int BufSize);
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;
  ~TFiler() override = default;

  // A property stored by the class's own code. The writer calls WriteData under Name when
  // HasData; the reader calls ReadData when the stream holds Name.
  virtual void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
  // A block of bytes stored under Name (tag vaBinary, a 32-bit length, the bytes). WriteData
  // writes the block into a stream; ReadData reads it from a stream holding exactly the block.
  virtual void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;

  TStream* GetStream() const { return FStream; }
  // The component at the top of the stream; references are written and resolved against it.
  TComponent* GetRoot() const { return FRoot; }
  virtual void SetRoot(TComponent* Value)
  {
    FRoot = Value;
    FLookupRoot = Value;
  }
  TComponent* GetLookupRoot() const { return FLookupRoot; }
  // Children are neither written nor read when set.
  bool GetIgnoreChildren() const { return FIgnoreChildren; }
  void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  bool FIgnoreChildren = false;
};

namespace Classes {
// The four bytes every component stream starts with.
inline constexpr char FilerSignature[4] = {'T', 'P', 'F', '0'};
}  // namespace Classes
