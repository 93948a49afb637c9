#pragma once

class Form;

// The hidden holder of the popup menu; closing it, for whatever reason, ends the program.
Form& frmMenu();
