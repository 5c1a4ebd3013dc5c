#pragma once

class QWidget;

// The small modal about box: the application title, "ver. " with the
// four-part program version, and what the program does.
void ShowAboutBox(QWidget *parent);
