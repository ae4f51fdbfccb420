// Message texts of the data layer. Each is the built-in text; callers raise them as they stand.
#pragma once

namespace cxDataConsts {

inline constexpr const char* cxSDataReadError = "Stream read error";
inline constexpr const char* cxSDataWriteError = "Stream write error";
inline constexpr const char* cxSDataItemExistError = "Item already exists";
inline constexpr const char* cxSDataRecordIndexError = "RecordIndex out of range";
inline constexpr const char* cxSDataItemIndexError = "ItemIndex out of range";
inline constexpr const char* cxSDataRowIndexError = "RowIndex out of range";
inline constexpr const char* cxSDataDetailFilterControllerNotFound = "DetailFilterController not found";
inline constexpr const char* cxSDataControllerNotInGridMode = "DataController not in GridMode";

}  // namespace cxDataConsts
