// The store of face pictures: a form that is never shown, holding one picture per shape.

#include "platform/failures.h"
#include "platform/form.h"
#include "platform/picture.h"
#include "resources/resources.h"
#include "rgn/shaping.h"

namespace {

void Design(Form& form) {
  form.AddPictureBox("pPicture", 0).Hold(Picture::FromBitmapFile(CellFaceBitmap()));
  form.AddPictureBox("pPicture", 1).Hold(Picture::FromBitmapFile(CursorFaceBitmap()));
}

const FormDesign kDesign{.name = "frm_RGN_Picture", .design = Design};

}  // namespace

const Picture& pPicture(int shapeNo) {
  PictureBox* box = Reference(kDesign).FindPictureBox("pPicture", shapeNo);
  if (!box) FatalError("no face picture for shape " + std::to_string(shapeNo));
  return box->Held();
}
