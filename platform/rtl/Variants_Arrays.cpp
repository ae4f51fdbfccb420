// Variant arrays: creation, bounds, element access and resizing.
#include <memory>

#include "platform/rtl/VariantData.h"
#include "platform/rtl/Variants.h"

using namespace Variants;

namespace {

// More elements than this are refused rather than attempted.
constexpr Int64 kMaxElements = Int64(1) << 28;

// The value a new element of `type` holds.
Variant ZeroOf(TVarType type)
{
  switch (type) {
    case varVariant: return Variant();
    case varError: return Variant::Error(0);
    case varDispatch: return Variant(static_cast<IDispatch*>(nullptr));
    case varUnknown: return Variant(static_cast<IUnknown*>(nullptr));
    default: return VarAsType(Variant(), type);
  }
}

TVarArrayData& DataOf(const Variant& a)
{
  const Variant& v = a.Deref();
  if (!(v.VarType() & varArray)) RaiseNotArray();
  return *TVariantAccess::Array(v);
}

std::size_t OffsetOf(const TVarArrayData& data, const std::vector<int>& indexes)
{
  if (indexes.size() != data.Bounds.size()) RaiseBadIndex();
  std::size_t offset = 0, stride = 1;
  for (std::size_t k = 0; k < indexes.size(); ++k) {
    const TVarArrayData::TBound& b = data.Bounds[k];
    const Int64 i = Int64(indexes[k]) - b.Low;
    if (i < 0 || i >= b.Count) RaiseBadIndex();
    offset += static_cast<std::size_t>(i) * stride;
    stride *= static_cast<std::size_t>(b.Count);
  }
  return offset;
}

const TVarArrayData::TBound& BoundOf(const Variant& a, int dim)
{
  const TVarArrayData& data = DataOf(a);
  if (dim < 1 || dim > static_cast<int>(data.Bounds.size())) RaiseBadIndex();
  return data.Bounds[dim - 1];
}

}  // namespace

namespace Variants {

Variant VarArrayCreate(const std::vector<int>& bounds, TVarType elementType)
{
  if (bounds.empty() || bounds.size() % 2 != 0) RaiseInvalidArg();
  if (!VarTypeIsValidElementType(elementType)) throw EVariantBadVarTypeError("Invalid variant type");
  auto data = std::make_unique<TVarArrayData>();
  data->ElementType = elementType;
  Int64 total = 1;
  for (std::size_t k = 0; k < bounds.size(); k += 2) {
    const Int64 count = Int64(bounds[k + 1]) - bounds[k] + 1;
    if (count < 0) RaiseInvalidArg();
    total *= count;
    if (total > kMaxElements) throw EVariantArrayCreateError("Error creating variant or safe array");
    data->Bounds.push_back({bounds[k], static_cast<int>(count)});
  }
  data->Items.assign(static_cast<std::size_t>(total), ZeroOf(elementType));
  return TVariantAccess::MakeArray(data.release());
}

Variant VarArrayOf(const std::vector<Variant>& values)
{
  Variant a = VarArrayCreate({0, static_cast<int>(values.size()) - 1}, varVariant);
  TVarArrayData& data = DataOf(a);
  for (std::size_t i = 0; i < values.size(); ++i) data.Items[i] = values[i].Deref();
  return a;
}

int VarArrayDimCount(const Variant& a)
{
  if (!a.IsArray()) return 0;
  return static_cast<int>(DataOf(a).Bounds.size());
}

int VarArrayLowBound(const Variant& a, int dim) { return BoundOf(a, dim).Low; }

int VarArrayHighBound(const Variant& a, int dim)
{
  const TVarArrayData::TBound& b = BoundOf(a, dim);
  return b.Low + b.Count - 1;
}

void VarArrayRedim(Variant& a, int highBound)
{
  TVarArrayData& data = DataOf(a);
  TVarArrayData::TBound& last = data.Bounds.back();
  const Int64 count = Int64(highBound) - last.Low + 1;
  if (count < 0) RaiseInvalidArg();
  Int64 stride = 1;
  for (std::size_t k = 0; k + 1 < data.Bounds.size(); ++k) stride *= data.Bounds[k].Count;
  if (stride * count > kMaxElements) throw EVariantArrayCreateError("Error creating variant or safe array");
  data.Items.resize(static_cast<std::size_t>(stride * count), ZeroOf(data.ElementType));
  last.Count = static_cast<int>(count);
}

Variant VarArrayGet(const Variant& a, const std::vector<int>& indexes)
{
  const TVarArrayData& data = DataOf(a);
  return data.Items[OffsetOf(data, indexes)];
}

void VarArrayPut(Variant& a, const Variant& value, const std::vector<int>& indexes)
{
  TVarArrayData& data = DataOf(a);
  const std::size_t offset = OffsetOf(data, indexes);
  // Convert first: a failed conversion leaves the element as it was.
  Variant converted = VarAsType(value, data.ElementType);
  data.Items[offset] = std::move(converted);
}

Variant VarArrayRef(Variant& a)
{
  if (!a.IsArray()) RaiseNotArray();
  return Variant::Ref(a);
}

}  // namespace Variants
