#include "gui/displayhelp.h"

#include "host/helpsystem.h"

#include <QCoreApplication>
#include <QMessageBox>

void DisplayHelp(QWidget *parent, const char *page)
{
    HelpSystem *help = HelpSystem::Instance();
    const int error = help->Display(page ? page : "");
    if (error == HelpShown)
        return;
    QString text = QCoreApplication::translate("DisplayHelp", help->GetLastError().c_str());
    if (error == HelpFileNotFound)
        text += QString::fromLocal8Bit(help->FilePath(page ? page : ""));
    QMessageBox::warning(parent, QCoreApplication::translate("DisplayHelp", "Help System Error"), text,
                         QMessageBox::Ok);
}
