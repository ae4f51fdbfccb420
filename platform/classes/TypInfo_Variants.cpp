// Typed access to Variant properties, apart from TypInfo.cpp so that only its users pull in
// the Variant code.
#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variants.h"

namespace TypInfo {

Variant GetVariantProp(const TObject* Instance, const TPropInfo* Prop)
{
  if (Prop->PropType->Kind != tkVariant) throw EPropertyError("Invalid property value");
  if (!Prop->Getter) throw EPropWriteOnly("Property " + Prop->Name + " is write-only");
  Variant v;
  Prop->Getter(Instance, &v);
  return v;
}

void SetVariantProp(TObject* Instance, const TPropInfo* Prop, const Variant& Value)
{
  if (Prop->PropType->Kind != tkVariant) throw EPropertyError("Invalid property value");
  if (!Prop->Setter) throw EPropReadOnly("Property " + Prop->Name + " is read-only");
  Prop->Setter(Instance, &Value);
}

}  // namespace TypInfo
