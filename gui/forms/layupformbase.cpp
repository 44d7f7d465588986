#include "gui/forms/layupformbase.h"

#include "ui_layupformbase.h"

#include <QPoint>

LayupFormBase::LayupFormBase(QWidget *parent, const char *name, bool modal)
    : QDialog(parent), ui_(new Ui::LayupFormBase)
{
    Q_INIT_RESOURCE(layup);
    ui_->setupUi(this);
    setObjectName(QString::fromLatin1(name ? name : "LayupFormBase"));
    setModal(modal);
    Ui::LayupFormBase &u = *ui_;
    connect(u.wViewMenu, &QComboBox::activated, this, &LayupFormBase::ViewMenuActivated);
    connect(u.wPrintButton, &QPushButton::clicked, this, &LayupFormBase::PrintButtonClick);
    connect(u.wCopyButton, &QPushButton::clicked, this, &LayupFormBase::CopyButtonClick);
    connect(u.wOkButton, &QPushButton::clicked, this, &LayupFormBase::OkButtonClick);
    connect(u.wApplyButton, &QPushButton::clicked, this, &LayupFormBase::ApplyButtonClick);
    connect(u.wResetButton, &QPushButton::clicked, this, &LayupFormBase::ResetButtonClick);
    connect(u.wCancelButton, &QPushButton::clicked, this, &LayupFormBase::CancelButtonClick);
    connect(u.wHelpButton, &QPushButton::clicked, this, &LayupFormBase::HelpButtonClick);
    connect(u.wPlySizeSlider, &QSlider::valueChanged, this, &LayupFormBase::PlySizeInPixelsValueChanged);
    connect(u.wAutoGroupsButton, &QPushButton::clicked, this, &LayupFormBase::AutoGroupsButtonClick);
    connect(u.wLamOptionButton, &QPushButton::clicked, this, &LayupFormBase::MoreButtonClick);
    connect(u.wMatlButton, &QPushButton::clicked, this, &LayupFormBase::MatlButtonClick);
    connect(u.wLamTreeList, &QTreeWidget::itemSelectionChanged, this, &LayupFormBase::LamTreeSelectionChanged);
    connect(u.wModifyButton, &QPushButton::clicked, this, &LayupFormBase::ModifyButtonClick);
    connect(u.wPasteButton, &QPushButton::clicked, this, &LayupFormBase::PasteButtonClick);
    connect(u.wCutButton, &QPushButton::clicked, this, &LayupFormBase::CutButtonClick);
    connect(u.wStackingSeqMenu, &QComboBox::activated, this, &LayupFormBase::StackingSeqMenuActivated);
    connect(u.wImportButton, &QPushButton::clicked, this, &LayupFormBase::ImportButtonClick);
    connect(u.wExportButton, &QPushButton::clicked, this, &LayupFormBase::ExportButtonClick);
    connect(u.wDeleteButton, &QPushButton::clicked, this, &LayupFormBase::DeleteButtonClick);
    connect(u.wUndoButton, &QPushButton::clicked, this, &LayupFormBase::UndoButtonClick);
    connect(u.wNewButton, &QPushButton::clicked, this, &LayupFormBase::NewButtonClick);
    connect(u.wLamTreeList, &QWidget::customContextMenuRequested, this, [this](const QPoint &position) {
        QTreeWidget *list = ui_->wLamTreeList;
        LamTreeRightButtonClicked(list->itemAt(position), list->viewport()->mapToGlobal(position),
                                  list->columnAt(position.x()));
    });
    connect(u.wLamTreeList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { LamTreeItemDoubleClicked(item); });
    connect(u.wPartialMenu, &QComboBox::activated, this, &LayupFormBase::PartialViewActivated);
    connect(u.wIndentToolButton, &QPushButton::clicked, this, &LayupFormBase::IndentButtonClick);
    connect(u.wOutdentToolButton, &QPushButton::clicked, this, &LayupFormBase::OutdentButtonClick);
    connect(u.wLinkToolButton, &QPushButton::clicked, this, &LayupFormBase::LinkButtonClick);
    connect(u.wUnlinkToolButton, &QPushButton::clicked, this, &LayupFormBase::UnlinkButtonClick);
}

LayupFormBase::~LayupFormBase() { delete ui_; }

void LayupFormBase::languageChange() { ui_->retranslateUi(this); }

void LayupFormBase::LamTreeItemDoubleClicked(QTreeWidgetItem *)
{
    qWarning("LayupFormBase::LamTreeItemDoubleClicked(QTreeWidgetItem*): Not implemented yet");
}

void LayupFormBase::AntiSymmetricClick()
{
    qWarning("LayupFormBase::AntiSymmetricClick(): Not implemented yet");
}

void LayupFormBase::ApplyButtonClick()
{
    qWarning("LayupFormBase::ApplyButtonClick(): Not implemented yet");
}

void LayupFormBase::AutoGroupsButtonClick()
{
    qWarning("LayupFormBase::AutoGroupsButtonClick(): Not implemented yet");
}

void LayupFormBase::CancelButtonClick()
{
    qWarning("LayupFormBase::CancelButtonClick(): Not implemented yet");
}

void LayupFormBase::CopyButtonClick()
{
    qWarning("LayupFormBase::CopyButtonClick(): Not implemented yet");
}

void LayupFormBase::CutButtonClick()
{
    qWarning("LayupFormBase::CutButtonClick(): Not implemented yet");
}

void LayupFormBase::ExportButtonClick()
{
    qWarning("LayupFormBase::ExportButtonClick(): Not implemented yet");
}

void LayupFormBase::HelpButtonClick()
{
    qWarning("LayupFormBase::HelpButtonClick(): Not implemented yet");
}

void LayupFormBase::ImportButtonClick()
{
    qWarning("LayupFormBase::ImportButtonClick(): Not implemented yet");
}

void LayupFormBase::IndentButtonClick()
{
    qWarning("LayupFormBase::IndentButtonClick(): Not implemented yet");
}

void LayupFormBase::LamTreeButtonClick()
{
    qWarning("LayupFormBase::LamTreeButtonClick(): Not implemented yet");
}

void LayupFormBase::LamTreeItemRenamed(int, int, const QString &)
{
    qWarning("LayupFormBase::LamTreeItemRenamed(int,int,const QString&): Not implemented yet");
}

void LayupFormBase::LamTreeRightButtonClicked(QTreeWidgetItem *, const QPoint &, int)
{
    qWarning("LayupFormBase::LamTreeRightButtonClicked(QTreeWidgetItem*,const QPoint&,int): Not implemented yet");
}

void LayupFormBase::LamTreeSelectionChanged()
{
    qWarning("LayupFormBase::LamTreeSelectionChanged(): Not implemented yet");
}

void LayupFormBase::LinkButtonClick()
{
    qWarning("LayupFormBase::LinkButtonClick(): Not implemented yet");
}

void LayupFormBase::MatlButtonClick()
{
    qWarning("LayupFormBase::MatlButtonClick(): Not implemented yet");
}

void LayupFormBase::ModifyButtonClick()
{
    qWarning("LayupFormBase::ModifyButtonClick(): Not implemented yet");
}

void LayupFormBase::MoreButtonClick()
{
    qWarning("LayupFormBase::MoreButtonClick(): Not implemented yet");
}

void LayupFormBase::NewButtonClick()
{
    qWarning("LayupFormBase::NewButtonClick(): Not implemented yet");
}

void LayupFormBase::OkButtonClick()
{
    qWarning("LayupFormBase::OkButtonClick(): Not implemented yet");
}

void LayupFormBase::OutdentButtonClick()
{
    qWarning("LayupFormBase::OutdentButtonClick(): Not implemented yet");
}

void LayupFormBase::PasteButtonClick()
{
    qWarning("LayupFormBase::PasteButtonClick(): Not implemented yet");
}

void LayupFormBase::PlySizeInPixelsValueChanged()
{
    qWarning("LayupFormBase::PlySizeInPixelsValueChanged(): Not implemented yet");
}

void LayupFormBase::PrintButtonClick()
{
    qWarning("LayupFormBase::PrintButtonClick(): Not implemented yet");
}

void LayupFormBase::ResetButtonClick()
{
    qWarning("LayupFormBase::ResetButtonClick(): Not implemented yet");
}

void LayupFormBase::RightPasteMenuActivated(int)
{
    qWarning("LayupFormBase::RightPasteMenuActivated(int): Not implemented yet");
}

void LayupFormBase::StackingSeqMenuActivated(int)
{
    qWarning("LayupFormBase::StackingSeqMenuActivated(int): Not implemented yet");
}

void LayupFormBase::SymmetricButtonClick()
{
    qWarning("LayupFormBase::SymmetricButtonClick(): Not implemented yet");
}

void LayupFormBase::UnlinkButtonClick()
{
    qWarning("LayupFormBase::UnlinkButtonClick(): Not implemented yet");
}

void LayupFormBase::ViewMenuActivated(int)
{
    qWarning("LayupFormBase::ViewMenuActivated(int): Not implemented yet");
}

void LayupFormBase::DeleteButtonClick()
{
    qWarning("LayupFormBase::DeleteButtonClick(): Not implemented yet");
}

void LayupFormBase::UndoButtonClick()
{
    qWarning("LayupFormBase::UndoButtonClick(): Not implemented yet");
}

void LayupFormBase::PartialViewActivated(int)
{
    qWarning("LayupFormBase::PartialViewActivated(int): Not implemented yet");
}
