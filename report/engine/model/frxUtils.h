// Small routines shared across the report library: text scanning, number text, page-number
// lists, component lists, temporary files, bitmap drawing and the error box. Positions are
// 1-based, as the report texts count them.
#pragma once

#include <functional>
#include <vector>

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Service.h"
#include "platform/rtl/System.h"

class TStrings;
class TCollection;
class TReader;
class TWriter;
class TComponent;
class TfrxComponent;
class TCanvas;
class TBitmap;
class TGraphic;
class TFont;
struct RECT;

struct TfrxRect {
  Extended Left = 0, Top = 0, Right = 0, Bottom = 0;
};
struct TfrxPoint {
  Extended X = 0, Y = 0;
};

namespace frxUtils {

// The text between an Open delimiter found from Start and its matching Close. Quoted parts
// ("..." and '...') and double-byte characters are stepped over. Start moves to the opening
// delimiter; Stop is the position of the last character of the closing one. Not an error: no
// opening delimiter, or one left unclosed, answers "" with Stop = Start.
AnsiString FindBracketed(const AnsiString& Text, const AnsiString& Open, const AnsiString& Close, int& Start,
                         int& Stop);
// Clears List and adds each Separator-delimited piece of Text, empty pieces included; a
// separator at the very end adds no empty last piece.
void SplitString(const AnsiString& Text, TStrings* List, const AnsiString& Separator);
// A number with either ',' or '.' as the decimal separator, blanks removed. Raises
// EConvertError for text that is no number.
Extended StrToFloatAnySep(const AnsiString& Text);
// Whole values as FloatToStr, others with two decimals ("2", "2.50").
AnsiString FloatToStrTwoDecimals(Extended Value);
TfrxRect MakeFloatRect(Extended Left, Extended Top, Extended Right, Extended Bottom);
TfrxPoint MakeFloatPoint(Extended X, Extended Y);
// Clears List and fills it with the page numbers of Text ("1, 3-5, 8"; "5-" runs to
// PageCount), as decimal text. An empty text leaves List empty (all pages); a range whose end
// is below its start adds nothing. Raises EConvertError for a piece that is no number.
void ParsePageNumbers(const AnsiString& Text, TStrings* List, Integer PageCount);
// The name by which Report's file refers to Obj: its plain name when it has no owner or is
// owned by the report or by the report's owner; "Form.Name" when its owner is a global
// component (a form or data module); "Form.Frame.Name" inside a frame of a global component;
// otherwise "". "" for nullptr.
AnsiString GetReferenceName(TfrxComponent* Report, TComponent* Obj);
// Reverses GetReferenceName: nullptr when nothing has the name. Raises EClassNotFound
// "Missing <name>" when the search itself fails.
TComponent* FindReference(TComponent* Owner, const AnsiString& Name);
// A collection as a defined property of Report. While Report is written as XML: a list with one
// long string per item, the item's attribute text; otherwise the standard collection form.
void WriteCollection(TCollection* Collection, TWriter* Writer, TfrxComponent* Report);
// Reads either form. Listed items are applied through the serializer loading Report when there
// is one (its errors and references then join that load), else through one of their own.
// A damaged list raises the reader's error after the items read so far.
void ReadCollection(TCollection* Collection, TReader* Reader, TfrxComponent* Report);
// A message box with Text, the caption of resource "mbError" and the error icon.
void ShowErrorBox(const AnsiString& Text);

// The application's forms, data modules and custom forms (in the screen's order), which
// GetComponentList searches after the report. The window layer installs the answer; by
// default there are none and only the report is searched.
struct TApplicationContainers {
  std::vector<TComponent*> Forms;
  std::vector<TComponent*> DataModules;
  std::vector<TComponent*> CustomForms;
};
TService<std::function<TApplicationContainers()>>& ApplicationContainersService();
// Clears List and adds, for every component of ClassRef (or derived) other than Skip, its
// reference name (GetReferenceName) with the component as the entry's object. Searched in
// this order: the components owned by Report when it is a report; each form's components, and
// those of frames placed directly on it; each data module's; the data modules owned by custom
// forms of class "TDataModuleForm". The entries' objects are not owned by List.
void GetComponentList(TComponent* Report, TClass ClassRef, TStrings* List, TComponent* Skip);
// The full name of a new, empty file "fr" + a unique part, in Dir (a path delimiter added when
// missing) or, when Dir is empty, in the temporary folder. The caller deletes the file. Raises
// EInOutError when the file cannot be made there.
AnsiString GetTempFile(const AnsiString& Dir);
// Draws Bitmap at (X, Y) with the pixels of its transparent colour left out; Bitmap itself is
// not changed.
void DrawTransparentBitmap(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap);
// Copies Bitmap's pixels stretched into Rect of Canvas (plain copy; colour-on-colour stretching
// unless the bitmap is monochrome), as printers and recorded pages need. An empty bitmap draws
// nothing.
void DrawBitmap(TCanvas* Canvas, const RECT& Rect, TBitmap* Bitmap);
// Draws Graphic stretched into Rect: first into a 32-bit bitmap of its own size, then with
// DrawBitmap. An empty graphic draws nothing.
void DrawGraphic(TCanvas* Canvas, const RECT& Rect, TGraphic* Graphic);
// Gives Font the report objects' initial look: "Arial", 10 points at 96 pixels per inch, black,
// DEFAULT_CHARSET, regular, default pitch. A new platform font starts otherwise, and the report
// files leave out what matches this look, so every font a report object owns starts here.
void SetDefaultFont(TFont* Font);

}  // namespace frxUtils
