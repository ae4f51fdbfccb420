// The preview control: a report's prepared pages on screen, zoomed and scrolled, with the
// outline beside them, text search on the drawn pages and the commands of the preview window.
//
// Sections: the find state and the drawing search (frxPreview), TfrxPreviewWorkspace (the page
// surface: painting, scrolling, mouse, the search walk), TfrxPreview (navigation, zoom, outline,
// progress of a running preparation, commands).
//
// Call flow while a report is prepared inside the preview: TfrxReport::ShowReport → the preview
// opens empty → PrepareReport → ProgressStarted (Clear, running) → ProgressChanged per page (the
// layout grows, the scroll ranges follow every 5, 20 or 50 pages) → ProgressStopped (zoom,
// outline, buttons). Commands are refused while running.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/gdi/WinTypes.h"
#include "report/engine/controls/frxScrollWin.h"
#include "report/engine/model/frxCustomPreview.h"
#include "report/engine/model/frxOptions.h"
#include "report/engine/preview/frxPageList.h"

class TButton;
class TfrxCustomExportFilter;
class TfrxPreview;
class TfrxPreviewPages;
class TfrxReport;
class TfrxReportPage;
class TLabel;
class TPanel;
class TSplitter;
class TTreeNode;
class TTreeView;

// What a search found, shared by all previews of the process.
struct TfrxFindState {
  AnsiString Text;
  bool CaseSensitive = false;
  bool Found = false;
  RECT Rect{};          // page pixels at zoom 1
  Integer Record = -1;  // number of the drawing record found last; -1 none
};

namespace frxPreview {

TfrxFindState& FindState();
// Walks the records of Drawing in order, numbering them from 0, for the first text record after
// record After whose text contains Text (upper-cased by the locale's rules unless
// CaseSensitive). Answers whether one was found, with its number and bounds.
bool FindInDrawing(HENHMETAFILE Drawing, const AnsiString& Text, bool CaseSensitive, Integer After, RECT& Bounds,
                   Integer& Record);
// An editable copy of a prepared page in a report of its own: views without data, every
// object a direct child of the page at its absolute place, no bands.
std::unique_ptr<TfrxReport> EditableCopy(TfrxReportPage* Prepared);
// Where an outline node points: kept apart, so that no top or page number is cut short.
struct TOutlinePosition {
  Integer PageIndex = 0;
  Integer Top = 0;
};

}  // namespace frxPreview

class TfrxPreviewWorkspace : public TfrxScrollWin {
  PELTO_DECLARE_CLASS(TfrxPreviewWorkspace, TfrxScrollWin)
public:
  TfrxPreviewWorkspace(TComponent* AOwner, TfrxPreview* APreview);
  ~TfrxPreviewWorkspace() override;

  TfrxPageList& GetPageList() { return FPageList; }
  // Scroll ranges from the layout at the preview's zoom.
  void UpdateScrollBars();
  // Searches from SearchPage after the last found record; makes a find visible and repaints.
  void FindText();
  // The page a search is on (0-based).
  Integer SearchPage = 0;
  // Forgets the drawing held for the search.
  void ClearDrawingCache();
  // How many pages were drawn for searching (each page once per search).
  Integer GetDrawingsMade() const { return FDrawingsMade; }
  // Scrolls without making the page at the new position current (page changes).
  void SetPositionQuietly(Integer Horz, Integer Vert);
  // Paints into an off-screen picture first, so that a repaint never shows the grey before the
  // pages (the preview options' DoubleBuffered).
  bool GetDoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

protected:
  void PaintWindow(HDC DC) override;
  void Paint() override;
  void HorzScrolled() override;
  void VertScrolled() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  void DrawSheet(HDC DC, Integer Index, const RECT& Sheet);
  // The page under client point (X, Y) and the point relative to its sheet; -1 when none.
  Integer PageAt(int X, int Y, POINT& OnSheet);

  TfrxPreview* FPreview;
  TfrxPageList FPageList;
  bool FDragging = false;
  bool FQuiet = false;
  POINT FLastPoint{};
  POINT FOffset{};  // the scroll positions the window contents show
  HENHMETAFILE FDrawing = nullptr;
  Integer FDrawingPage = -1;
  Integer FDrawingsMade = 0;
  bool FDoubleBuffered = true;
};

class TfrxPreview : public TfrxCustomPreview {
  PELTO_DECLARE_CLASS(TfrxPreview, TfrxCustomPreview)
public:
  explicit TfrxPreview(TComponent* AOwner);
  ~TfrxPreview() override;

  // ---- Linked report
  void InitPreview() override;
  void Lock() override;
  void Unlock() override;
  void ProgressStarted() override;
  void ProgressChanged(Integer Count) override;
  void ProgressStopped() override;
  void Detach() override;
  bool IsLocked() const { return FLocked; }
  bool IsRunning() const { return FRunning; }
  // The prepared pages as the preview uses them; nullptr when none are linked.
  TfrxPreviewPages* GetPages() const;

  // ---- Navigation
  Integer GetPageCount() const;
  Integer GetPageNo() const { return FPageNo; }
  // Clamped to 1 .. PageCount (0 without pages); scrolls the page's top 10 pixels below the
  // visible top, then fires OnPageChanged.
  void SetPageNo(Integer Value);
  void First() { SetPageNo(1); }
  void Prior() { SetPageNo(FPageNo - 1); }
  void Next() { SetPageNo(FPageNo + 1); }
  void Last() { SetPageNo(GetPageCount()); }
  // Shows Top (pixels at zoom 1 below the top margin; 0: the sheet's top) of page PageNo.
  void ShowPosition(Integer PageNo, Integer Top);
  // 20 pixels per wheel notch.
  void MouseWheelScroll(Integer Delta);
  // The page at a scroll position became current (no scrolling back).
  void PageNoFromScroll(Integer PageNo);

  // ---- Zoom
  Extended GetZoom() const { return FZoom; }
  // Not below 0.25; leaves the many-pages mode.
  void SetZoom(Extended Value);
  TfrxZoomMode GetZoomMode() const { return FZoomMode; }
  void SetZoomMode(TfrxZoomMode Value);
  // 0 hand, 1 zoom.
  Integer GetTool() const { return FTool; }
  void SetTool(Integer Value);
  // The zoom for the mode, the scroll ranges, a repaint.
  void UpdatePages();
  // Rebuilds the layout from the prepared pages.
  void RebuildLayout();

  // ---- Outline
  bool GetOutlineVisible() const;
  void SetOutlineVisible(bool Value);
  void UpdateOutline();
  TTreeView* GetOutlineTree() const { return FOutline; }
  // The position a node stands for (nullptr for a node that is not the outline's).
  const frxPreview::TOutlinePosition* OutlinePosition(TTreeNode* Node) const;

  // ---- Commands (nothing while a preparation runs)
  void Print();
  // Asks for a file name, then saves / loads.
  void SaveToFile();
  void LoadFromFile();
  void SaveToFile(const AnsiString& FileName);
  void LoadFromFile(const AnsiString& FileName);
  void Export(TfrxCustomExportFilter* Filter);
  void PageSetupDialog();
  // Shows the find dialog, then searches.
  void Find();
  // The search the find dialog starts.
  void Find(const AnsiString& Text, bool CaseSensitive, bool FromTop);
  void FindNext();
  bool GetFindNextAllowed() const { return FAllowF3; }
  void EditPage();
  void EditTemplate();
  void Clear();
  void AddPage();
  void DeletePage();
  void Cancel();

  // ---- Message panel
  void ShowMessage(const AnsiString& Text);
  void HideMessage();
  TPanel* GetMessagePanel() const { return FMessagePanel; }

  TfrxPreviewWorkspace* GetWorkspace() const { return FWorkspace; }
  // Milliseconds between page-count updates during preparation, as pages (5, 20 or 50).
  Integer GetUpdateInterval() const { return FUpdateInterval; }
  // Key handling of the page surface (scrolling keys, F3, Ctrl+P, Ctrl+S, Ctrl+F).
  void HandleKey(Word& Key, TShiftState Shift);

  std::function<void(TObject* Sender, Integer PageNo)> OnPageChanged;

  PELTO_PUBLISHED(p);

protected:
  void Resize() override;

private:
  friend class TfrxPreviewWorkspace;
  void ChangePageNo(Integer Value, bool Scroll);
  void FirePageChanged();
  void FillOutline(TTreeNode* Parent);
  void OutlineClick(TObject*);
  void UpdateWindow();
  TfrxPreviewButtons Buttons() const;

  TTreeView* FOutline = nullptr;
  TSplitter* FSplitter = nullptr;
  TfrxPreviewWorkspace* FWorkspace = nullptr;
  TPanel* FMessagePanel = nullptr;
  TLabel* FMessageLabel = nullptr;
  TButton* FCancelButton = nullptr;
  std::vector<std::unique_ptr<frxPreview::TOutlinePosition>> FOutlinePositions;
  Integer FPageNo = 1;
  Extended FZoom = 1;
  TfrxZoomMode FZoomMode = zmDefault;
  Integer FTool = 0;
  bool FLocked = false;
  bool FRunning = false;
  bool FAllowF3 = false;
  Integer FUpdateInterval = 20;
  DWORD FTime = 0;
};
