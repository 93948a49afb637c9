// The about box: icon, title and version, built afresh at every opening.

#include <string>

#include "menu/forms.h"
#include "platform/form.h"
#include "platform/picture.h"
#include "platform/screen.h"
#include "resources/resources.h"
#include "resources/version.h"

namespace {

void Close(Form& form) {
  Unload(form);
}

void Design(Form& form) {
  form.SetCaption("バージョン情報");
  form.SetWidth(3945);
  form.SetHeight(1125);
  form.Cls();
  form.PaintPicture(Picture::FromBitmapFile(AppIconBitmap()), 180, 210);  // Image1

  TextLabel& title = form.AddLabel("Label3");
  title.SetCaption("ノルカ計算");
  title.Move(870, 180, 2220, 285);
  title.SetFont({"ＭＳ Ｐ明朝", 11.25f, true});
  TextLabel& version = form.AddLabel("Label2", 1);
  version.SetCaption(std::string("Version ") + kVersion);
  version.Move(1515, 525, 1515, 285);
  version.SetFont({"Times New Roman", 9.75f, true});

  // One rule across the dialog: white, with a darker line a pixel below.
  form.Line(-135, 870, 10330, 870, kWhite);
  form.Line(-45, 885, 10330, 885, kBlack);

  CommandButton& ok = form.AddButton("Command1", "OK", Close);
  ok.Move(3075, 120, 795, 345);
  ok.Default = true;
  ok.Cancel = true;
}

void Load(Form& form) {
  form.Move((Screen::Width() - form.Width()) / 2, (Screen::Height() - form.Height()) / 2);
}

const FormDesign kDesign{
    .name = "frm_Version", .style = FormStyle::FixedDialog, .design = Design, .load = Load};

}  // namespace

Form& frm_Version() {
  return Reference(kDesign);
}
