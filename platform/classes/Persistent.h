// TPersistent: an object with published properties that can be assigned from another and
// stored by the component stream.
#pragma once

#include "platform/classes/ClassDecl.h"

class TFiler;

class TPersistent : public TObject {
  PELTO_CLASS(TPersistent, TObject)
public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  ~TPersistent() override = default;

  // Copies Source into this object: Source's AssignTo decides. Raises EConvertError
  // "Cannot assign a %s to a %s" when neither side knows the other (Source nullptr is "nil").
  virtual void Assign(TPersistent* Source);
  // The name by which the object inspector and error texts show the object; the class name
  // here.
  virtual AnsiString GetNamePath();

protected:
  // Assign's second chance: copies this object into Dest; raises the same error here.
  virtual void AssignTo(TPersistent* Dest);
  // Adds properties that the published ones cannot express (binary blocks, lists) to the
  // filer through DefineProperty and DefineBinaryProperty.
  virtual void DefineProperties(TFiler* Filer) {}
  // The object that owns this one for the streaming system and the name path; none here.
  virtual TPersistent* GetOwner() { return nullptr; }

  [[noreturn]] void AssignError(TPersistent* Source);

  friend class TWriter;
  friend class TReader;
  friend class TCollection;
  friend class TCollectionItem;
};

using TPersistentClass = TClass;
