// Bringing a window of the program forward.
#pragma once

class QWidget;

// Shows the window, restores it when it is minimised (keeping it maximised
// when it was), raises it and gives it the keyboard: what choosing a window
// again from the menu or its shortcut does.
void TaFrem(QWidget* w);
