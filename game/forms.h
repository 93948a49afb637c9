#pragma once
// The game's windows, by design name: referring to one loads it.

class Form;

Form& frmMONDAI();  // the digit strip
Form& frmKAITOU();  // the answer cursor
Form& frmTALK();    // the message balloon
Form& frmTalk2();   // the second balloon, below the first

// Puts the loaded strip's cells where a strip loaded now would stand, digits unchanged.
void PlaceStrip();
