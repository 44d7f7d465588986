#pragma once

#include <functional>

class QPrinter;
class QWidget;

// The one seam of the sketch's printing, for tests: the printer set-up
// dialog. The function sets the printer up and returns false for a
// cancelled set-up.
using PrintSetupDialog = std::function<bool(QPrinter &printer, QWidget *parent)>;

// Replaces the set-up dialog; an empty function restores the toolkit's.
void SetPrintSetupDialog(PrintSetupDialog dialog);
