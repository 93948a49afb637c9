// Two interchangeable, empty balloon windows; every balloon shown on them sets them up anew.

#include "game/forms.h"
#include "platform/form.h"

namespace {

const FormDesign kTalk{.name = "frmTALK"};
const FormDesign kTalk2{.name = "frmTalk2"};

}  // namespace

Form& frmTALK() {
  return Reference(kTalk);
}

Form& frmTalk2() {
  return Reference(kTalk2);
}
