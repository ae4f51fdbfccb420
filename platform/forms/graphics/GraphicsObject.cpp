#include "platform/forms/graphics/GraphicsObject.h"

void TGraphicsObject::Changed()
{
  if (OnChange) OnChange(this);
}
