#pragma once

#include "gui/engines/sketcherformview.h"
#include "gui/forms/sketcherformbase.h"
#include "gui/views/observer.h"

#include <memory>

class AppContext;
class LayupSketcher;

// The sketcher dialog: the current laminate drawn by a LayupSketcher in one
// of three styles, with its ply count and thickness, or the data of the one
// selected ply, in the sketch's information box; Print, Help and Dismiss.
class SketcherForm : public SketcherFormBase, public SketcherFormView, public Observer
{
    Q_OBJECT

public:
    // context is not owned; its laminate, colours and materials must outlive
    // the dialog.
    SketcherForm(QWidget *parent, AppContext *context);
    ~SketcherForm() override;

    int Exec() override;
    void ShowWarning(const char *title, const char *text) override;
    void UpdateSketch() override;

    // Hint 0 from this dialog's sketch refreshes the information box.
    void Update(Subject *subject, int hint) override;

    LayupSketcher *Sketch() const;

public slots:
    void DoneButtonClick() override;
    void HelpButtonClick() override;
    void PrintButtonClick() override;
    void ViewMenuActivated(int index) override;
    void PlySizeInPixelsValueChanged() override;

private:
    void DrawSketch();
    void UpdateInformation();

    struct Impl;
    std::unique_ptr<Impl> impl_;
};
