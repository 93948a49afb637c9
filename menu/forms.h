#pragma once

class Form;

// The hidden holder of the popup menu; closing it, for whatever reason, ends the program.
Form& frmMenu();

// The about box; shown modally, closed by its OK button or its close box.
Form& frm_Version();

// The window "成績の記録": the history of time attacks, opened from the high-score submenu;
// shown modally, closed by ESC or its close box.
Form& frmRecords();

// Rewrites the five captions of the high-score submenu from the settings file as it is now.
void RefreshHighScoreMenu();
