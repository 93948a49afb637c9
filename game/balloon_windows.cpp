// Two interchangeable, empty balloon windows; every balloon shown on them sets them up anew.

#include "game/forms.h"
#include "platform/form.h"

namespace {

void Design(Form& form) {
  form.SetCaption("Form1");
}

const FormDesign kTalk{.name = "frmTALK", .design = Design};
const FormDesign kTalk2{.name = "frmTalk2", .design = Design};

}  // namespace

Form& frmTALK() {
  return Reference(kTalk);
}

Form& frmTalk2() {
  return Reference(kTalk2);
}
