#include "tools/lamhost/materialpicker.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace LamHost {

namespace {

// The type texts of the store's materials, by picker kind.
const char *KindType(int kind)
{
    switch (kind) {
    case 1: return "Matrix";
    case 2: return "Fiber";
    case 3: return "Ply";
    default: return nullptr;
    }
}

bool DisplayPresent()
{
    // The module makes the application only with a display; an offscreen one
    // (tests) has no person in front of it.
    const char *x = std::getenv("DISPLAY");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    return ((x && *x) || (wayland && *wayland)) && QGuiApplication::platformName() != "offscreen";
}

} // namespace

std::vector<HostMaterial> MaterialsOfKind(const StoreData &data, int kind)
{
    std::vector<HostMaterial> offered;
    const char *type = KindType(kind);
    for (const HostMaterial &material : data.materials)
        if (type && material.type == type)
            offered.push_back(material);
    return offered;
}

bool PickMaterial(const StoreData &data, int kind, int *id)
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) && DisplayPresent() &&
           ShowMaterialPicker(data, kind, id);
}

bool ShowMaterialPicker(const StoreData &data, int kind, int *id)
{
    const std::vector<HostMaterial> offered = MaterialsOfKind(data, kind);

    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName("lamhostMaterialPicker");
    dialog.setWindowTitle("Select Material");
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QString("Materials of type %1 in the host's store:").arg(KindType(kind))));
    auto *list = new QListWidget(&dialog);
    list->setObjectName("materials");
    for (const HostMaterial &material : offered) {
        auto *row = new QListWidgetItem(QString("%1  %2").arg(material.id).arg(QString::fromLatin1(material.name)));
        row->setData(Qt::UserRole, material.id);
        list->addItem(row);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!offered.empty());
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    dialog.resize(360, 260);

    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return false;
    *id = list->currentItem()->data(Qt::UserRole).toInt();
    return true;
}

} // namespace LamHost
