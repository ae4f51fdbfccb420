// The catalogue of a script's registered items that the report designer shows: functions by
// category, classes with their members, enumerations, variables and constants, as an XML tree.
#pragma once

class TfsScript;
class TfsXMLItem;

namespace fs_icatalog {

// Fills Root's children "Functions", "Classes", "Types", "Variables" and "Constants" (added when
// missing) from Script's own items, in their list order; with FunctionsOnly just the functions.
// Attribute texts are written as they are, unescaped.
void BuildScriptCatalog(const TfsScript* Script, TfsXMLItem* Root, bool FunctionsOnly);

}  // namespace fs_icatalog
