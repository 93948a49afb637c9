#include "menu/forms.h"
#include "platform/application.h"
#include "platform/form.h"

namespace {

void OpenHighScores(Form&) {
  RefreshHighScoreMenu();
}

void ShowRecords(Form&) {
  frmRecords().Show(ShowMode::Modal);
}

void ShowAbout(Form&) {
  frm_Version().Show(ShowMode::Modal);
}

void Quit(Form& holder) {
  Unload(holder);
}

void Design(Form& form) {
  MenuItem& popup = form.Menus().Add("mpop", "mpop");
  MenuItem& scores = popup.Add("mh", "ハイスコア", OpenHighScores);
  for (int rank = 0; rank < 5; ++rank)
    scores.Add("mhiscore", "", nullptr, rank);
  scores.Add("sep004", "-");
  scores.Add("mrecords", "成績の記録...", ShowRecords);
  popup.Add("sep003", "-");
  popup.Add("mver", "バージョン情報", ShowAbout);
  popup.Add("sep001", "-");
  popup.Add("mend", "終了", Quit);
}

void Close(Form& form) {
  UnloadAllFormsExcept(form.Name());
  End();
}

const FormDesign kDesign{.name = "frmMenu", .design = Design, .close = Close};

}  // namespace

Form& frmMenu() {
  return Reference(kDesign);
}
