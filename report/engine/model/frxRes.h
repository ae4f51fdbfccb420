// The report library's texts by key, one registry for the process.
//
// A text is a single string or a form block: lines "Prop=Value" (a property of the form) and
// "Component.Prop=Value", joined by CR LF, applied to a window by ApplyFormTexts.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/System.h"

class TComponent;

class TfrxResources : public TObject {
public:
  // Registers Text under Key; a key registered before has its text replaced.
  void Add(const AnsiString& Key, const AnsiString& Text);
  // The text of Key (looked up ignoring ASCII case); Key itself when it is not registered, so
  // that a missing text shows its key. Not an error.
  AnsiString Get(const AnsiString& Key) const;
  // Applies the block registered under Form's class name to Form's string properties and to
  // those of the components it owns. Lines naming a component the form lacks, a property the
  // component lacks or one that is no string are skipped; nothing happens without a block.
  void ApplyFormTexts(TComponent* Form) const;

private:
  struct TNoCase {
    bool operator()(const AnsiString& a, const AnsiString& b) const;
  };
  std::map<AnsiString, size_t, TNoCase> FKeys;  // key -> index into FTexts
  std::vector<AnsiString> FTexts;               // in registration order
};

namespace frxRes {

// The process-wide registry, created on first use (owned by this unit, freed by Finalize).
TfrxResources* frxResources();
// Shorthand for frxResources()->Get(Key).
AnsiString Get(const AnsiString& Key);
void Finalize();

}  // namespace frxRes
