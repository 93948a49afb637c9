#pragma once
// The game's windows, by design name: referring to one loads it.

class Form;

Form& frmMONDAI();  // the digit strip
Form& frmKAITOU();  // the answer cursor
Form& frmTALK();    // the message balloon
Form& frmTalk2();   // the second balloon, below the first

class Attack;

// The strip's cells show the attack's digits; until play they stay hidden.
void DrawRow(const Attack& attack);
void RevealRow();
// Puts the loaded strip's cells where a strip loaded now would stand, digits unchanged.
void PlaceStrip();
