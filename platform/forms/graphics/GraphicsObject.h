// The base of fonts, pens and brushes: a persistent description that tells its owner about every
// change, so that a canvas can drop the handle it selected before the handle is rebuilt.
#pragma once

#include <functional>

#include "platform/classes/Persistent.h"

class TGraphicsObject : public TPersistent {
  PELTO_CLASS(TGraphicsObject, TPersistent)
public:
  TGraphicsObject() = default;

  // Told after every change, before the object's old handle is freed.
  std::function<void(TObject* Sender)> OnChange;

protected:
  virtual void Changed();
};
