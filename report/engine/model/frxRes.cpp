#include "report/engine/model/frxRes.h"

#include "platform/classes/Component.h"
#include "platform/classes/TypInfo.h"
#include "platform/rtl/StringList.h"

bool TfrxResources::TNoCase::operator()(const AnsiString& a, const AnsiString& b) const
{
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

void TfrxResources::Add(const AnsiString& Key, const AnsiString& Text)
{
  auto it = FKeys.find(Key);
  if (it != FKeys.end()) {
    FTexts[it->second] = Text;
    return;
  }
  FTexts.push_back(Text);
  FKeys.emplace(Key, FTexts.size() - 1);
}

AnsiString TfrxResources::Get(const AnsiString& Key) const
{
  auto it = FKeys.find(Key);
  return it == FKeys.end() ? Key : FTexts[it->second];
}

namespace {

void SetStringProp(TObject* Obj, const AnsiString& Name, const AnsiString& Value)
{
  const TPropInfo* prop = TypInfo::FindPropInfo(Obj, Name);
  if (!prop || prop->IsReadOnly()) return;
  TTypeKind kind = prop->PropType->Kind;
  if (kind != tkString && kind != tkLString && kind != tkWString) return;
  TypInfo::SetStrProp(Obj, prop, Value);
}

}  // namespace

void TfrxResources::ApplyFormTexts(TComponent* Form) const
{
  auto it = FKeys.find(Form->ClassName());
  if (it == FKeys.end()) return;
  TStringList lines;
  lines.SetText(FTexts[it->second]);
  for (Integer i = 0; i < lines.GetCount(); ++i) {
    AnsiString line = lines[i];
    size_t eq = line.find('=');
    if (eq == AnsiString::npos || eq == 0) continue;
    AnsiString name = line.substr(0, eq);
    AnsiString value = line.substr(eq + 1, 4096);
    size_t dot = name.find('.');
    if (dot == AnsiString::npos) {
      SetStringProp(Form, name, lines.GetValues(name));
      continue;
    }
    TComponent* c = Form->FindComponent(name.substr(0, dot));
    if (c) SetStringProp(c, name.substr(dot + 1, 255), value);
  }
}

namespace frxRes {

namespace {
std::unique_ptr<TfrxResources> Instance;
}

TfrxResources* frxResources()
{
  if (!Instance) Instance = std::make_unique<TfrxResources>();
  return Instance.get();
}

AnsiString Get(const AnsiString& Key) { return frxResources()->Get(Key); }

void Finalize() { Instance.reset(); }

}  // namespace frxRes
