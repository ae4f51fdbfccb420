// Arbitrary bytes as a saved filter, both as the criteria stream ("TPF0" ...) and as the bare
// criteria data: reading must either succeed or raise a library exception, and what was read
// must write back to bytes that read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "controls/data/filter/cxFilter.h"
#include "platform/classes/Filer.h"
#include "platform/rtl/Streams.h"

namespace {

class TFuzzField : public TObject {
public:
  explicit TFuzzField(Integer AID) : ID(AID) {}
  Integer ID;
};

class TFuzzItem : public TcxFilterCriteriaItem {
public:
  using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
  Variant GetRecordValue(void* ARecord) override
  {
    auto* field = static_cast<TFuzzField*>(GetItemLink());
    if (!field) return Variant::Null();
    return (*static_cast<std::vector<Variant>*>(ARecord))[static_cast<size_t>(field->ID)];
  }
  AnsiString GetFieldCaption() override { return GetItemLink() ? "Caption" : ""; }
  AnsiString GetFieldName() override { return GetItemLink() ? "F1;F2" : ""; }
};

class TFuzzCriteria : public TcxFilterCriteria {
  PELTO_CLASS(TFuzzCriteria, TcxFilterCriteria)
public:
  TFuzzCriteria()
  {
    for (Integer i = 0; i < 4; ++i) Fields.push_back(std::make_unique<TFuzzField>(i));
  }
  Integer GetIDByItemLink(TObject* AItemLink) override
  {
    return AItemLink ? static_cast<TFuzzField*>(AItemLink)->ID : -1;
  }
  TObject* GetItemLinkByID(Integer AID) override
  {
    return AID >= 0 && AID < 4 ? Fields[static_cast<size_t>(AID)].get() : nullptr;
  }
  TcxFilterCriteriaItem* CreateItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                    TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                    const AnsiString& ADisplayValue) override
  {
    return new TFuzzItem(AParent, AItemLink, AOperatorKind, AValue, ADisplayValue);
  }
  std::vector<std::unique_ptr<TFuzzField>> Fields;

protected:
  void DefineProperties(TFiler* Filer) override { DefineCriteriaData(Filer); }
};

AnsiString Written(TcxFilterCriteria& c, bool AStream)
{
  TStringStream s;
  if (AStream)
    c.SaveToStream(&s);
  else
    c.WriteData(&s);
  return s.GetDataString();
}

void Read(TcxFilterCriteria& c, const AnsiString& bytes, bool AStream)
{
  TStringStream s(bytes);
  if (AStream)
    c.LoadFromStream(&s);
  else
    c.ReadData(&s);
}

// Reads the bytes one way; when they are accepted, checks the round trip and uses the result.
void Exercise(const AnsiString& bytes, bool AStream)
{
  TFuzzCriteria criteria;
  try {
    Read(criteria, bytes, AStream);
  } catch (const Exception&) {
    return;
  }
  const AnsiString first = Written(criteria, AStream);
  TFuzzCriteria again;
  Read(again, first, AStream);
  if (Written(again, AStream) != first) std::abort();

  for (TcxFilterCriteriaOptions options : {TcxFilterCriteriaOptions{}, TcxFilterCriteriaOptions::FromMask(15)}) {
    criteria.SetOptions(options);
    criteria.SetTranslateBetween(!options.Empty());
    criteria.SetTranslateIn(!options.Empty());
    std::vector<Variant> record = {Variant::Null(), Variant(5), Variant("abc"), Variant(2.5)};
    try {
      criteria.GetFilterText();
      criteria.GetFilterCaption();
      criteria.RecordMatches(&record);
    } catch (const Exception&) {}
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const AnsiString bytes(reinterpret_cast<const char*>(data), size);
  Exercise(bytes, true);
  Exercise(bytes, false);
  return 0;
}
