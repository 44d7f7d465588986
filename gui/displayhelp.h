#pragma once

class QWidget;

// Opens a help page (a file name in the help directory) through the help
// system; on failure shows "Help System Error" over parent with the reason
// (and, when the page is missing, its full path).
void DisplayHelp(QWidget *parent, const char *page);
