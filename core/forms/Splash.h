// TSplashFrm: the borderless window shown while the program connects: Image1 holds the picture
// "splash.jpg" of the program's folder (none when the file is missing or unreadable) and Label1,
// a transparent silver status line over it. The label is repainted at once on each change, since
// no message loop runs yet.
#pragma once

#include "platform/forms/forms/Form.h"

class TImage;
class TLabel;
class TPicture;

class TSplashFrm : public TForm {
  PELTO_DECLARE_CLASS(TSplashFrm, TForm)
public:
  // Loads "splash.jpg" from ProgramDir (the program's folder when empty).
  explicit TSplashFrm(TComponent* AOwner, const AnsiString& ProgramDir = AnsiString());
  ~TSplashFrm() override;

  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;

  // A non-empty text replaces the status line; an empty one appends ".".
  void ShowHint(const AnsiString& Text);
  AnsiString GetStatusText() const;
  // Image1's picture; null when none was loaded.
  TPicture* GetPicture() const;

  static constexpr int StatusLeft = 5, StatusTop = 207;
};
