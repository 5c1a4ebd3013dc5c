#pragma once

class QDialog;

// Keeps a question from being answered by a key the user pressed without
// reading it: no button of `dialog` is its default or auto-default button,
// Enter and Return press only the button that has the keyboard focus (and
// do nothing elsewhere, in a text box the user clicked into to copy from),
// and Escape does nothing. The close box still calls reject().
void KeepKeysFromAnswering(QDialog *dialog);
