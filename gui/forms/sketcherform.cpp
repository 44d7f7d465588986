#include "gui/forms/sketcherform.h"

#include "core/laminate.h"
#include "core/unitsystem.h"
#include "gui/displayhelp.h"
#include "gui/engines/sketcherformengine.h"
#include "gui/forms/keyboardkeeper.h"
#include "gui/forms/warningbox.h"
#include "gui/views/layupsketcher.h"
#include "host/appcontext.h"
#include "ui_sketcherformbase.h"

#include <QGraphicsScene>

namespace {

// What ShowWarning is given to translate, for the translators' catalogue.
[[maybe_unused]] const char *const kWarningTexts[] = {QT_TRANSLATE_NOOP("SketcherForm", "Printing Problem"),
                                                      QT_TRANSLATE_NOOP("SketcherForm", "Internal printing error")};

} // namespace

struct SketcherForm::Impl
{
    std::unique_ptr<SketcherFormEngine> engine;
    std::unique_ptr<QGraphicsScene> canvas;
    LayupSketcher *sketch = nullptr; // a child widget
    const Laminate *laminate = nullptr;
    const UnitSystem *units = nullptr;
};

SketcherForm::SketcherForm(QWidget *parent, AppContext *context)
    : SketcherFormBase(parent, "Sketcher", true), impl_(new Impl)
{
    impl_->engine = std::make_unique<SketcherFormEngine>(this, context);
    new KeyboardKeeper(this);
    impl_->canvas = std::make_unique<QGraphicsScene>(0, 0, 1000, 3000);
    impl_->laminate = &context->GetLaminate();
    impl_->units = &context->GetUnits();
    impl_->sketch = new LayupSketcher(impl_->canvas.get(), context->GetColorManager(), context->GetMaterialList(),
                                      this);
    ui->wCanvasLayout->addWidget(impl_->sketch, 0, 0);
    ui->wCanvasViewNotUsed->hide();

    impl_->sketch->Attach(this);
    impl_->sketch->SetViewMode(SketchFeatureView);
    ui->wPlySizeSlider->hide();
    ui->wPixelSizeText->hide();
    impl_->sketch->SetSketcherOnly(true);
}

SketcherForm::~SketcherForm()
{
    // The sketch's rows go before the canvas they are drawn on.
    delete impl_->sketch;
    impl_->canvas.reset();
}

LayupSketcher *SketcherForm::Sketch() const { return impl_->sketch; }

int SketcherForm::Exec()
{
    impl_->engine->Initialize();
    exec();
    return 0;
}

void SketcherForm::ShowWarning(const char *title, const char *text)
{
    ShowFormWarning(this, title, text);
}

void SketcherForm::UpdateSketch()
{
    impl_->sketch->Show(impl_->laminate->RootGroup().GetLayup());
    impl_->sketch->SetViewMode(ui->wViewMenu->currentIndex());
    DrawSketch();
    UpdateInformation();
}

void SketcherForm::DrawSketch()
{
    int plies = 0;
    float thickness = 0.0f;
    impl_->engine->GetLaminateGeometry(&plies, &thickness);
    impl_->sketch->SetReferencePlane(impl_->laminate->UserReferencePlaneLocation());
    impl_->sketch->Draw(ui->wPlySizeSlider->value() * plies, thickness);
}

void SketcherForm::UpdateInformation()
{
    LayupSketcher *sketch = impl_->sketch;
    const size_t selected = sketch->GetSelectedPlies().size();
    if (selected == 0 && impl_->laminate->RootGroup().CountPlies() > 0) {
        int plies = 0;
        float thickness = 0.0f;
        impl_->engine->GetLaminateGeometry(&plies, &thickness);
        const std::string unit = impl_->units->LengthName(false);
        sketch->ShowInfo(tr("Number of plies: ") + QString::number(plies) + "\n" +
                         tr("Total thickness: ") + QString::number(thickness, 'g', 6) + " " +
                         tr(unit.c_str(), "infoBox-lengthUnits"));
        sketch->SetInfoVisible(true);
    } else if (selected == 1) {
        sketch->ShowInfo(QString());
        sketch->SetInfoVisible(true);
    } else {
        sketch->SetInfoVisible(false);
    }
}

void SketcherForm::Update(Subject *subject, int hint)
{
    if (subject == static_cast<Subject *>(impl_->sketch) && hint == LayupShowSelectionChanged)
        UpdateInformation();
}

void SketcherForm::DoneButtonClick()
{
    if (impl_->engine->Done() == 0)
        done(QDialog::Accepted);
}

void SketcherForm::HelpButtonClick() { DisplayHelp(this, "Lam_Sketcher.htm"); }

void SketcherForm::PrintButtonClick()
{
    std::string error;
    if (!impl_->sketch->Print(error))
        ShowWarning("Printing Problem", error.c_str());
}

void SketcherForm::ViewMenuActivated(int index)
{
    const bool scaled = index == SketchScaleExplodeView || index == SketchScaleView;
    ui->wPlySizeSlider->setVisible(scaled);
    ui->wPixelSizeText->setVisible(scaled);
    impl_->sketch->SetViewMode(index);
    DrawSketch();
}

void SketcherForm::PlySizeInPixelsValueChanged()
{
    ui->wPixelSizeText->setText(QString::number(ui->wPlySizeSlider->value()));
    DrawSketch();
}
